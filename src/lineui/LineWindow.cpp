#include "LineWindow.h"

#include "Catalogue.h"
#include "DateText.h"
#include "DayLabels.h"
#include "DialogFolder.h"
#include "LabelPreview.h"
#include "LimitBox.h"
#include "LogNumbering.h"
#include "PortField.h"
#include "ProductionLine.h"
#include "ReferenceFile.h"
#include "StationTile.h"
#include "StoreThread.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <QDir>

#include <algorithm>
#include <stdexcept>

namespace {
const QString Title = QStringLiteral("Производственная линия");
const QString NoPort = QStringLiteral("(нет)");

QString Bound(double value) {
    return QString::number(value, 'f', 2).replace(u'.', u',');
}
} // namespace

LineWindow::LineWindow(Place place, QWidget* parent)
    : QWidget(parent, Qt::Window), place_(std::move(place)),
      storeThread_(std::make_unique<StoreThread>()) {
    MakeLine();
    setObjectName(QStringLiteral("LineWindow"));
    setWindowTitle(Title);
    setAccessibleName(Title);

    auto* layout = new QVBoxLayout(this);
    setup_ = MakeSetup();
    layout->addWidget(setup_);

    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("Пуск"), this);
    stop_ = new QPushButton(QStringLiteral("Стоп после прибора"), this);
    abort_ = new QPushButton(QStringLiteral("Прервать"), this);
    daySheet_ = new QPushButton(QStringLiteral("Лист дня…"), this);
    exportDay_ = new QPushButton(QStringLiteral("Выгрузить день…"), this);
    dayLabels_ = new QPushButton(QStringLiteral("Этикетки за день…"), this);
    for (QPushButton* button : {start_, stop_, abort_, daySheet_, exportDay_, dayLabels_}) {
        button->setAccessibleName(button->text());
        buttons->addWidget(button);
    }
    buttons->insertStretch(3);
    layout->addLayout(buttons);

    // The stations side by side: a laptop's screen is wide, not tall.
    auto* stations = new QHBoxLayout;
    for (int i = 0; i < LineSetup::MaxStations; ++i) {
        auto* tile = new StationTile(i + 1, this);
        tiles_[static_cast<size_t>(i)] = tile;
        stations->addWidget(tile);
        connect(tile, &StationTile::scanned, this, &LineWindow::Scanned);
        connect(tile, &StationTile::reprintRequested, this, &LineWindow::ReprintAt);
    }
    layout->addLayout(stations, 1);
    totals_ = new QLabel(this);
    report_ = new QLabel(this);
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totals_);
    layout->addWidget(MakeFigures());
    layout->addWidget(report_);

    connect(start_, &QPushButton::clicked, this, [this] { place_.run([this] { StartLine(); }); });
    connect(stop_, &QPushButton::clicked, this, [this] { line_->Stop(); });
    connect(abort_, &QPushButton::clicked, this, [this] { line_->Abort(); });
    connect(daySheet_, &QPushButton::clicked, this, [this] { ShowDaySheet(); });
    connect(exportDay_, &QPushButton::clicked, this, [this] { ExportDay(); });
    connect(dayLabels_, &QPushButton::clicked, this, [this] { ShowDayLabels(); });

    ShowSetup(LineSetup::Load(*place_.preferences(),
                              QDir(place_.dataFolder).filePath(QStringLiteral("labels"))));
    ShowLineCounts();
    ShowRunning(false);
    RefreshFigures();
}

LineWindow::~LineWindow() = default;

void LineWindow::MakeLine() {
    line_ = std::make_unique<ProductionLine>(place_.dataFolder);
    connect(line_.get(), &ProductionLine::stationChanged, this, &LineWindow::ShowStation);
    connect(line_.get(), &ProductionLine::unitFinished, this, [this](const UnitRecord& record) {
        if (record.station >= 1 && record.station <= LineSetup::MaxStations)
            lastUnits_[static_cast<size_t>(record.station - 1)] = record;
        ShowLineCounts();
        RefreshFigures();
    });
    connect(line_.get(), &ProductionLine::labelChecked, this, [this](const UnitRecord& record) {
        if (record.station >= 1 && record.station <= LineSetup::MaxStations)
            lastUnits_[static_cast<size_t>(record.station - 1)] = record;
    });
    connect(line_.get(), &ProductionLine::reprinted, this, &LineWindow::Reprinted);
    connect(line_.get(), &ProductionLine::halted, this,
            [this](const QString& message) { QMessageBox::warning(this, Title, message); });
    connect(line_.get(), &ProductionLine::finished, this, [this] { ShowRunning(false); });
}

QWidget* LineWindow::MakeSetup() {
    auto* box = new QGroupBox(QStringLiteral("Настройка"), this);
    auto* form = new QFormLayout(box);

    auto* referenceRow = new QHBoxLayout;
    reference_ = new QLineEdit(box);
    reference_->setReadOnly(true);
    reference_->setAccessibleName(QStringLiteral("Файл установок"));
    auto* choose = new QPushButton(QStringLiteral("Выбрать…"), box);
    choose->setAccessibleName(QStringLiteral("Выбрать файл установок"));
    connect(choose, &QPushButton::clicked, this,
            [this] { place_.run([this] { ChooseReference(); }); });
    referenceRow->addWidget(reference_, 1);
    referenceRow->addWidget(choose);
    form->addRow(QStringLiteral("Файл установок:"), referenceRow);

    auto* portsRow = new QHBoxLayout;
    QStringList devices{NoPort};
    for (const PortFacts& port : place_.ports())
        devices << port.device;
    for (const QString& device : place_.defaultDevices)
        if (!device.isEmpty() && !devices.contains(device))
            devices << device;
    for (int i = 0; i < LineSetup::MaxStations; ++i) {
        auto* combo = new PortField(box);
        for (const QString& device : devices)
            combo->AddDevice(device);
        combo->setAccessibleName(QStringLiteral("Порт места %1").arg(i + 1));
        ports_[static_cast<size_t>(i)] = combo;
        portsRow->addWidget(new QLabel(QString::number(i + 1) + QLatin1Char(':'), box));
        portsRow->addWidget(combo, 1);
    }
    form->addRow(QStringLiteral("Порты мест:"), portsRow);

    operator_ = new QLineEdit(box);
    operator_->setAccessibleName(QStringLiteral("Оператор"));
    form->addRow(QStringLiteral("Оператор:"), operator_);
    numberNew_ = new QCheckBox(QStringLiteral("нумеровать новые приборы"), box);
    numberNew_->setAccessibleName(numberNew_->text());
    // The log the numbers come from, on the same row: its path shortened in the middle.
    const QString log =
        QStringLiteral("по протоколу %1").arg(QDir::toNativeSeparators(place_.logPath));
    auto* logLabel = new QLabel(box);
    logLabel->setObjectName(QStringLiteral("LogPath"));
    logLabel->setText(logLabel->fontMetrics().elidedText(log, Qt::ElideMiddle, 320));
    // The path never widens the window.
    logLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    logLabel->setToolTip(log);
    logLabel->setAccessibleName(QStringLiteral("Протокол нумерации: ") +
                                QDir::toNativeSeparators(place_.logPath));
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(numberNew_);
    numberRow->addWidget(logLabel, 1);
    form->addRow(QString(), numberRow);
    form->addRow(QStringLiteral("Пределы значений:"), MakeLimits());
    form->addRow(QStringLiteral("База линии:"), MakeStore());
    form->addRow(QStringLiteral("Этикетки:"), MakeLabels(box));
    return box;
}

QWidget* LineWindow::MakeLimits() {
    auto* area = new QScrollArea(this);
    auto* inside = new QWidget(area);
    auto* grid = new QGridLayout(inside);
    grid->setContentsMargins(2, 2, 2, 2);
    int row = 0;
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        if (entry->kind != Catalogue::Kind::Value || !entry->address)
            continue;
        LimitRow limit{*entry->address, new QCheckBox(entry->Name(), inside), new LimitBox(inside),
                       new LimitBox(inside)};
        limit.on->setAccessibleName(QStringLiteral("Проверять: ") + entry->Name());
        for (LimitBox* bound : {limit.low, limit.high}) {
            bound->setRange(-1000, 100000);
            bound->setDecimals(2);
            bound->setSuffix(entry->Unit().isEmpty() ? QString()
                                                     : QLatin1Char(' ') + entry->Unit());
        }
        limit.low->setAccessibleName(entry->Name() + QStringLiteral(", не менее"));
        limit.high->setAccessibleName(entry->Name() + QStringLiteral(", не более"));
        grid->addWidget(limit.on, row, 0);
        grid->addWidget(new QLabel(QStringLiteral("от"), inside), row, 1);
        grid->addWidget(limit.low, row, 2);
        grid->addWidget(new QLabel(QStringLiteral("до"), inside), row, 3);
        grid->addWidget(limit.high, row, 4);
        ++row;
        limits_.push_back(limit);
    }
    grid->setColumnStretch(5, 1); // the rows close together at the left, whatever the width
    area->setWidget(inside);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFixedHeight(92); // three rows in view, the rest scrolled to
    // Wide enough for every row beside the scroll bar, both bounds' arrows in view.
    area->setMinimumWidth(inside->minimumSizeHint().width() +
                          area->verticalScrollBar()->sizeHint().width() + 2 * area->frameWidth());
    area->setAccessibleName(QStringLiteral("Пределы значений"));
    return area;
}

void LineWindow::ChooseReference() {
    const std::unique_ptr<QSettings> preferences = place_.preferences();
    const QString start = reference_->text().isEmpty()
                              ? DialogFolder::Start(*preferences, DialogFolder::Kind::Settings)
                              : QFileInfo(reference_->text()).absolutePath();
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Файл установок для линии"), start,
                                     QStringLiteral("Файлы установок (*.q5t);;Все файлы (*)"));
    DialogFolder::Remember(*preferences, DialogFolder::Kind::Settings, path);
    if (path.isEmpty())
        return;
    if (const std::optional<ReferenceFile> reference = AcceptReference(path)) {
        reference_->setText(path);
        referenceSha256_ = reference->sha256;
        ShowLabelPreview();
    }
}

std::optional<ReferenceFile> LineWindow::AcceptReference(const QString& path) {
    ReferenceFile reference = ReferenceFile::Load(path);
    if (!reference.findings.Doubtful() || reference.sha256 == acceptedSha256_)
        return reference;
    // Nothing is written into a controller here: the file becomes the line's reference.
    if (QMessageBox::question(
            this, Title,
            SettingsCheck::DoubtfulQuestion(reference.findings, SettingsCheck::Use::Reference),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return std::nullopt;
    acceptedSha256_ = reference.sha256;
    return reference;
}

LineSetup LineWindow::SetupShown() const {
    LineSetup setup;
    setup.referencePath = reference_->text();
    for (const PortField* combo : ports_) {
        const QString device = combo->Device();
        setup.devices << (device == NoPort ? QString() : device);
    }
    setup.operatorName = operator_->text().trimmed();
    setup.numberNew = numberNew_->isChecked();
    for (const LimitRow& row : limits_)
        if (row.on->isChecked())
            setup.limits.push_back({row.address, row.low->value(), row.high->value()});
    setup.sharedStore = storeKind_->currentIndex() == 1;
    setup.shared.host = host_->text().trimmed();
    setup.shared.port = port_->value();
    setup.shared.database = database_->text().trimmed();
    setup.shared.user = user_->text().trimmed();
    setup.shared.service = service_->text().trimmed();
    setup.pcName = pcName_->text().trimmed();
    setup.byShift = span_->currentIndex() == 1;
    setup.shiftFrom = shiftFrom_->time();
    setup.shiftTo = shiftTo_->time();
    setup.labels = LabelsShown();
    return setup;
}

void LineWindow::ShowSetup(const LineSetup& setup) {
    reference_->setText(setup.referencePath);
    referenceSha256_ =
        setup.referencePath.isEmpty() ? QString() : ReferenceFile::Sha256Of(setup.referencePath);
    for (int i = 0; i < LineSetup::MaxStations; ++i) {
        const QString device =
            (setup.devices.isEmpty() ? place_.defaultDevices : setup.devices).value(i);
        ports_[static_cast<size_t>(i)]->SetDevice(device.isEmpty() ? NoPort : device);
    }
    operator_->setText(setup.operatorName);
    numberNew_->setChecked(setup.numberNew);
    for (const LimitRow& row : limits_)
        for (const LiveLimit& limit : setup.limits)
            if (limit.address == row.address) {
                row.on->setChecked(true);
                row.low->setValue(static_cast<double>(limit.low));
                row.high->setValue(static_cast<double>(limit.high));
            }
    storeKind_->setCurrentIndex(setup.sharedStore ? 1 : 0);
    host_->setText(setup.shared.host);
    port_->setValue(setup.shared.port);
    database_->setText(setup.shared.database);
    user_->setText(setup.shared.user);
    service_->setText(setup.shared.service);
    pcName_->setText(setup.pcName);
    ShowStoreKind();
    const QSignalBlocker quiet(span_);
    span_->setCurrentIndex(setup.byShift ? 1 : 0);
    shiftFrom_->setTime(setup.shiftFrom);
    shiftTo_->setTime(setup.shiftTo);
    shiftFrom_->setEnabled(setup.byShift);
    shiftTo_->setEnabled(setup.byShift);
    ShowLabels(setup.labels);
}

bool LineWindow::StartLine() {
    const LineSetup setup = SetupShown();
    if (setup.referencePath.isEmpty())
        throw std::runtime_error("Выберите файл установок.");
    if (std::all_of(setup.devices.begin(), setup.devices.end(),
                    [](const QString& device) { return device.isEmpty(); }))
        throw std::runtime_error("Выберите порт хотя бы для одного места.");
    CheckLimits(setup);
    if (setup.labels.print && setup.labels.target.kind == LabelTarget::Kind::PdfFolder &&
        setup.labels.target.folder.isEmpty())
        throw std::runtime_error("Выберите папку этикеток.");
    // The file asked about is the one the units get: a change after this stops the line.
    std::optional<ReferenceFile> reference = AcceptReference(setup.referencePath);
    if (!reference)
        return false;
    if (setup.numberNew && !LogReady())
        return false;
    setup.Save(*place_.preferences());
    LineJob job;
    job.reference = std::move(*reference);
    job.operatorName = setup.operatorName;
    job.numberNew = setup.numberNew;
    job.logPath = place_.logPath;
    job.limits = setup.limits;
    job.store = setup.StoreUse(place_.dataFolder);
    job.labels = setup.labels;
    line_->Start(job, setup.devices);
    report_->setText(QStringLiteral("Отчёт: ") +
                     QDir::toNativeSeparators(line_->Report().PathFor(QDate::currentDate())));
    report_->setAccessibleName(report_->text());
    ShowLineCounts();
    ShowRunning(true);
    return true;
}

void LineWindow::CheckLimits(const LineSetup& setup) const {
    for (const LiveLimit& limit : setup.limits)
        if (limit.low > limit.high)
            throw std::runtime_error(
                QStringLiteral("Предел «%1» задан от %2 до %3: нижняя граница выше верхней. "
                               "Исправьте пределы.")
                    .arg(limit.Name(), Bound(static_cast<double>(limit.low)),
                         Bound(static_cast<double>(limit.high)))
                    .toStdString());
}

bool LineWindow::LogReady() {
    const QString& path = place_.logPath;
    if (ProductionLog::Exists(path))
        return true;
    if (QMessageBox::question(this, Title, ProductionLog::NewLogQuestion(path),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        QMessageBox::information(
            this, Title,
            QStringLiteral("Линия не запущена: протокола нумерации %1 нет, новый не начат. "
                           "Чтобы работать без нумерации, снимите «нумеровать новые приборы».")
                .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    // Begun now, dated today: the stations never begin one, so a log that goes missing
    // during the batch stops the numbering instead of starting over.
    ProductionLog::BeginUnderLock(path, DateText::TodayForDevice());
    return true;
}

void LineWindow::ShowStation(const StationView& view) {
    if (view.station >= 1 && view.station <= LineSetup::MaxStations)
        Tile(view.station)->Show(view);
}

void LineWindow::ShowLineCounts() {
    ShowCounts(line_->Counts(), line_->Counts().UnitsPerHour());
}

void LineWindow::ShowCounts(const BatchCounts& counts, std::optional<double> unitsPerHour) {
    for (int i = 1; i <= LineSetup::MaxStations; ++i)
        Tile(i)->ShowCounts(counts.Good(i), counts.Bad(i));
    QString text =
        QStringLiteral("Всего: годен %1, брак %2").arg(counts.GoodInAll()).arg(counts.BadInAll());
    if (unitsPerHour)
        text += QStringLiteral(", приборов в час: %1").arg(qRound(*unitsPerHour));
    totals_->setText(text);
    totals_->setAccessibleName(totals_->text());
}

void LineWindow::ShowRunning(bool running) {
    setup_->setEnabled(!running);
    start_->setEnabled(!running);
    stop_->setEnabled(running);
    abort_->setEnabled(running);
}

void LineWindow::closeEvent(QCloseEvent* event) {
    if (line_->Running()) {
        // The line goes on without the window until its units under way are done; with the
        // window's parent it goes at the latest, so no station outlives the program.
        // The day's labels belong to the line that goes on alone.
        delete dayLabelsWindow_;
        dayLabelsWindow_ = nullptr;
        lastUnits_ = {};
        ProductionLine* running = line_.release();
        running->disconnect(this);
        running->setParent(parent());
        running->EndInBackground();
        MakeLine();
        ShowLineCounts();
        ShowRunning(false);
    }
    event->accept();
}
