#include "LineWindow.h"

#include "Catalogue.h"
#include "DateText.h"
#include "DayLabels.h"
#include "DialogFolder.h"
#include "FigureSections.h"
#include "LabelPreview.h"
#include "LimitBox.h"
#include "LineDaySheet.h"
#include "LineSchema.h"
#include "LineStore.h"
#include "LogNumbering.h"
#include "PortField.h"
#include "ProductionLine.h"
#include "ReferenceFile.h"
#include "SheetDialog.h"
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
#include <QPrinterInfo>
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
const QString PdfTarget = QStringLiteral("PDF в папку");
// The preview's unit: a numbered serial number of full length.
const QString SampleSerial = QStringLiteral("ОБРАЗЕЦ-0000000000-00114");

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

QWidget* LineWindow::MakeStore() {
    auto* inside = new QWidget(this);
    auto* rows = new QVBoxLayout(inside);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* first = new QHBoxLayout;
    storeKind_ = new QComboBox(inside);
    storeKind_->addItems({QStringLiteral("на этом ПК"), QStringLiteral("общая (PostgreSQL)")});
    storeKind_->setAccessibleName(QStringLiteral("База линии"));
    pcName_ = new QLineEdit(inside);
    pcName_->setPlaceholderText(LineSetup().PcName());
    pcName_->setAccessibleName(QStringLiteral("Имя этого ПК в базе"));
    auto* check = new QPushButton(QStringLiteral("Проверить связь"), inside);
    check->setAccessibleName(check->text());
    storeState_ = new QLabel(inside);
    storeState_->setObjectName(QStringLiteral("StoreState"));
    storeState_->setWordWrap(true);
    storeState_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    storeState_->hide(); // until the link to the store was checked
    first->addWidget(storeKind_);
    first->addWidget(new QLabel(QStringLiteral("ПК:"), inside));
    first->addWidget(pcName_, 1);
    first->addWidget(check);
    auto* second = new QHBoxLayout;
    host_ = new QLineEdit(inside);
    host_->setAccessibleName(QStringLiteral("Сервер базы"));
    port_ = new QSpinBox(inside);
    port_->setRange(1, 65535);
    port_->setAccessibleName(QStringLiteral("Порт сервера базы"));
    database_ = new QLineEdit(inside);
    database_->setAccessibleName(QStringLiteral("Имя базы"));
    user_ = new QLineEdit(inside);
    user_->setAccessibleName(QStringLiteral("Пользователь базы"));
    service_ = new QLineEdit(inside);
    service_->setAccessibleName(QStringLiteral("Служба libpq"));
    service_->setToolTip(QStringLiteral("Имя службы из pg_service.conf; пароль берётся из "
                                        "~/.pgpass или файла служб и здесь не хранится."));
    const std::pair<const char*, QWidget*> fields[] = {{"сервер", host_},
                                                       {"порт", port_},
                                                       {"база", database_},
                                                       {"пользователь", user_},
                                                       {"служба", service_}};
    for (const auto& [label, field] : fields) {
        second->addWidget(new QLabel(QString::fromUtf8(label) + u':', inside));
        second->addWidget(field, field == port_ ? 0 : 1);
    }
    rows->addLayout(first);
    rows->addLayout(second);
    rows->addWidget(storeState_);
    connect(storeKind_, &QComboBox::currentIndexChanged, this, [this] {
        ShowStoreKind();
        RefreshFigures();
    });
    connect(check, &QPushButton::clicked, this, &LineWindow::CheckStore);
    return inside;
}

void LineWindow::ShowStoreKind() {
    const bool shared = storeKind_->currentIndex() == 1;
    for (QWidget* field : std::initializer_list<QWidget*>{host_, port_, database_, user_, service_})
        field->setEnabled(shared);
}

QWidget* LineWindow::MakeFigures() {
    auto* inside = new QWidget(this);
    auto* row = new QHBoxLayout(inside);
    row->setContentsMargins(0, 0, 0, 0);
    span_ = new QComboBox(inside);
    span_->addItems({QStringLiteral("за день"), QStringLiteral("за смену")});
    span_->setAccessibleName(QStringLiteral("Итоги за"));
    shiftFrom_ = new QTimeEdit(inside);
    shiftTo_ = new QTimeEdit(inside);
    shiftFrom_->setDisplayFormat(QStringLiteral("HH:mm"));
    shiftTo_->setDisplayFormat(QStringLiteral("HH:mm"));
    shiftFrom_->setAccessibleName(QStringLiteral("Смена с"));
    shiftTo_->setAccessibleName(QStringLiteral("Смена по"));
    figuresText_ = new QLabel(inside);
    figuresText_->setObjectName(QStringLiteral("Figures"));
    figuresText_->setWordWrap(true);
    figuresText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(span_);
    row->addWidget(new QLabel(QStringLiteral("с"), inside));
    row->addWidget(shiftFrom_);
    row->addWidget(new QLabel(QStringLiteral("по"), inside));
    row->addWidget(shiftTo_);
    row->addWidget(figuresText_, 1);
    const auto changed = [this] {
        shiftFrom_->setEnabled(span_->currentIndex() == 1);
        shiftTo_->setEnabled(span_->currentIndex() == 1);
        LineSetup setup = LineSetup::Load(*place_.preferences());
        setup.byShift = span_->currentIndex() == 1;
        setup.shiftFrom = shiftFrom_->time();
        setup.shiftTo = shiftTo_->time();
        setup.Save(*place_.preferences());
        RefreshFigures();
    };
    connect(span_, &QComboBox::currentIndexChanged, this, changed);
    connect(shiftFrom_, &QTimeEdit::editingFinished, this, changed);
    connect(shiftTo_, &QTimeEdit::editingFinished, this, changed);
    return inside;
}

void LineWindow::RefreshFigures() {
    const LineSetup setup = SetupShown();
    const LineStoreUse use = setup.StoreUse(place_.dataFolder);
    const QDateTime now = QDateTime::currentDateTime();
    const LineSpan span = setup.byShift ? LineSpan::Shift(setup.shiftFrom, setup.shiftTo, now)
                                        : LineSpan::Day(now.date());
    QPointer<LineWindow> window(this);
    storeThread_->Post([window, use, span, now] {
        QString failure;
        std::optional<LineFigures> figures;
        try {
            StoreDatabase db(use.place, {&LineSchema()});
            figures = LineFigures::Of(LineStore(db).Attempts(span.from, span.to), span, now);
        } catch (const StoreError& e) {
            failure = e.text();
        }
        QMetaObject::invokeMethod(
            qApp,
            [window, figures, failure] {
                if (!window)
                    return;
                if (figures)
                    window->ShowFigures(*figures);
                else
                    window->figuresText_->setText(QStringLiteral("Итогов нет: ") + failure);
                window->figuresText_->setAccessibleName(window->figuresText_->text());
                emit window->figuresShown();
            },
            Qt::QueuedConnection);
    });
}

void LineWindow::ShowFigures(const LineFigures& figures) {
    figures_ = figures;
    figuresText_->setText(figures.Summary());
    QStringList stations;
    for (const LineFigures::Station& s : figures.stations)
        stations << QStringLiteral("%1, место %2: %3 в час")
                        .arg(s.pc)
                        .arg(s.station)
                        .arg(qRound(s.perHour));
    figuresText_->setToolTip(stations.join(u'\n'));
}

void LineWindow::CheckStore() {
    const LineStoreUse use = SetupShown().StoreUse(place_.dataFolder);
    storeState_->setText(QStringLiteral("Проверка связи с базой…"));
    storeState_->show();
    storeState_->setAccessibleName(storeState_->text());
    QPointer<LineWindow> window(this);
    storeThread_->Post([window, use] {
        QString text;
        try {
            StoreDatabase db(use.place, {&LineSchema()});
            text = db.ReadOnly()
                       ? db.ReadOnlyReason()
                       : QStringLiteral("Связь с базой есть, номера и отчёты идут в неё.");
        } catch (const StoreError& e) {
            text = e.text();
        }
        QMetaObject::invokeMethod(
            qApp,
            [window, text] {
                if (!window)
                    return;
                window->storeState_->setText(text);
                window->storeState_->setAccessibleName(text);
                emit window->storeChecked(text);
            },
            Qt::QueuedConnection);
    });
}


QLayout* LineWindow::MakeLabels(QWidget* labels) {
    printLabels_ = new QCheckBox(QStringLiteral("печатать этикетки"), labels);
    scanBack_ = new QCheckBox(QStringLiteral("проверять сканером"), labels);
    labelWidth_ = new QDoubleSpinBox(labels);
    labelHeight_ = new QDoubleSpinBox(labels);
    for (QDoubleSpinBox* side : {labelWidth_, labelHeight_}) {
        side->setRange(LabelLayout::MinimumMm, LabelLayout::MaximumMm);
        side->setDecimals(0);
        side->setSuffix(QStringLiteral(" мм"));
    }
    labelWidth_->setAccessibleName(QStringLiteral("Ширина этикетки"));
    labelHeight_->setAccessibleName(QStringLiteral("Высота этикетки"));
    labelTarget_ = new QComboBox(labels);
    labelTarget_->addItem(PdfTarget);
    labelTarget_->addItems(QPrinterInfo::availablePrinterNames());
    labelTarget_->setAccessibleName(QStringLiteral("Куда печатать этикетки"));
    labelFolder_ = new QLineEdit(labels);
    labelFolder_->setReadOnly(true);
    labelFolder_->setAccessibleName(QStringLiteral("Папка этикеток"));
    chooseLabelFolder_ = new QPushButton(QStringLiteral("Папка…"), labels);
    chooseLabelFolder_->setAccessibleName(QStringLiteral("Выбрать папку этикеток"));
    labelPreview_ = new LabelPreview(labels);
    for (QCheckBox* box : {printLabels_, scanBack_})
        box->setAccessibleName(box->text());

    // One row, the preview at its end: the window keeps its height on a laptop's screen.
    auto* row = new QHBoxLayout;
    row->addWidget(printLabels_);
    row->addWidget(scanBack_);
    row->addWidget(labelWidth_);
    row->addWidget(new QLabel(QStringLiteral("×"), labels));
    row->addWidget(labelHeight_);
    row->addWidget(labelTarget_);
    row->addWidget(labelFolder_, 1);
    row->addWidget(chooseLabelFolder_);
    row->addWidget(labelPreview_);

    const auto enable = [this] {
        const bool on = printLabels_->isChecked();
        const bool pdf = labelTarget_->currentIndex() == 0;
        for (QWidget* part :
             std::initializer_list<QWidget*>{scanBack_, labelWidth_, labelHeight_, labelTarget_})
            part->setEnabled(on);
        labelFolder_->setEnabled(on && pdf);
        chooseLabelFolder_->setEnabled(on && pdf);
    };
    connect(printLabels_, &QCheckBox::toggled, this, enable);
    connect(labelTarget_, &QComboBox::currentIndexChanged, this, enable);
    for (QDoubleSpinBox* side : {labelWidth_, labelHeight_})
        connect(side, &QDoubleSpinBox::valueChanged, this, [this] { ShowLabelPreview(); });
    connect(chooseLabelFolder_, &QPushButton::clicked, this, [this] { ChooseLabelFolder(); });
    enable();
    return row;
}

LabelOptions LineWindow::LabelsShown() const {
    LabelOptions options;
    options.print = printLabels_->isChecked();
    options.scanBack = scanBack_->isChecked();
    options.layout.sizeMm = {labelWidth_->value(), labelHeight_->value()};
    const bool pdf = labelTarget_->currentIndex() <= 0;
    options.target.kind = pdf ? LabelTarget::Kind::PdfFolder : LabelTarget::Kind::Printer;
    options.target.printer = pdf ? QString() : labelTarget_->currentText();
    options.target.folder = labelFolder_->text();
    return options;
}

void LineWindow::ShowLabels(const LabelOptions& options) {
    printLabels_->setChecked(options.print);
    scanBack_->setChecked(options.scanBack);
    labelWidth_->setValue(options.layout.sizeMm.width());
    labelHeight_->setValue(options.layout.sizeMm.height());
    if (options.target.kind == LabelTarget::Kind::Printer) {
        // A printer gone since stays chosen: its labels then say they were not printed.
        if (labelTarget_->findText(options.target.printer) < 0)
            labelTarget_->addItem(options.target.printer);
        labelTarget_->setCurrentText(options.target.printer);
    } else {
        labelTarget_->setCurrentIndex(0);
    }
    labelFolder_->setText(options.target.folder);
    ShowLabelPreview();
}

void LineWindow::ShowLabelPreview() {
    const QString sha256 =
        reference_->text().isEmpty() ? QString() : ReferenceFile::Sha256Of(reference_->text());
    labelPreview_->Show(LabelsShown().layout,
                        {SampleSerial, DateText::TodayForDevice(),
                         sha256.isEmpty() ? QStringLiteral("00000000") : sha256.left(8)});
}

void LineWindow::ChooseLabelFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Папка этикеток"),
                                                             labelFolder_->text());
    if (!folder.isEmpty())
        labelFolder_->setText(folder);
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
    if (!path.isEmpty() && AcceptReference(path)) {
        reference_->setText(path);
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

void LineWindow::Scanned(int station, const QString& text) {
    const LabelScan scan = line_->Scan(station, text);
    // A verdict comes back with the station's state; a refusal stays at the field.
    if (!scan.Decided())
        Tile(station)->ShowRefusal(scan.text);
}

void LineWindow::ReprintAt(int station) {
    const std::optional<UnitRecord>& unit = lastUnits_.at(static_cast<size_t>(station - 1));
    if (unit)
        line_->Reprint(*unit, LabelsShown());
}

void LineWindow::Reprinted(const UnitRecord& record, const QString& problem) {
    if (record.station < 1 || record.station > LineSetup::MaxStations)
        return;
    std::optional<UnitRecord>& unit = lastUnits_[static_cast<size_t>(record.station - 1)];
    // The tile still shows the unit only while it is the station's last.
    if (!unit || unit->time != record.time)
        return;
    unit = record;
    Tile(record.station)->ShowLabel(record.label);
    if (!problem.isEmpty())
        Tile(record.station)->ShowRefusal(QStringLiteral("этикетка не напечатана: ") + problem);
}

DayLabels* LineWindow::ShowDayLabels() {
    if (!dayLabelsWindow_)
        dayLabelsWindow_ = new DayLabels(
            *line_, [this] { return LabelsShown(); }, this);
    dayLabelsWindow_->Refresh();
    dayLabelsWindow_->show();
    dayLabelsWindow_->raise();
    return dayLabelsWindow_;
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

void LineWindow::ShowDaySheet() {
    const QDate day = QDate::currentDate();
    const QString path = line_->Report().PathFor(day);
    Sheets::Identity identity;
    identity.tool = ToolNameAndVersion();
    // The figures as last shown: the store is never waited for here.
    auto make = [day, path, figures = figures_](const Sheets::Identity& named) {
        Sheets::Sheet sheet = Sheets::LineDaySheet(
            day, LineReport::Read(path), named,
            QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        if (figures)
            for (Sheets::Section& section : FigureSections(*figures))
                sheet.sections.insert(sheet.sections.end() - 1, std::move(section));
        return sheet;
    };
    SheetDialog dialog(
        QStringLiteral("Итоги линии за %1 из отчёта %2.")
            .arg(day.toString(QStringLiteral("dd.MM.yyyy")), QDir::toNativeSeparators(path)),
        identity, make, QStringLiteral("Линия %1.pdf").arg(day.toString(Qt::ISODate)),
        place_.preferences(), place_.run, this,
        {{QStringLiteral("Предприятие"), QStringLiteral("line/factory"), {}},
         {QStringLiteral("Оператор"), QString(), operator_->text().trimmed()}});
    dialog.exec();
}

void LineWindow::ExportDay() {
    const QDate day = QDate::currentDate();
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Выгрузить день из базы линии"),
        QDir(place_.dataFolder)
            .filePath(QStringLiteral("Линия %1 (все ПК).csv").arg(day.toString(Qt::ISODate))),
        QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const LineStoreUse use = SetupShown().StoreUse(place_.dataFolder);
    QPointer<LineWindow> window(this);
    storeThread_->Post([window, use, day, path] {
        QString failure;
        int rows = 0;
        try {
            StoreDatabase db(use.place, {&LineSchema()});
            const LineSpan span = LineSpan::Day(day);
            QList<UnitRecord> records;
            for (const LineAttempt& attempt : LineStore(db).Attempts(span.from, span.to))
                records << RecordOf(attempt);
            rows = static_cast<int>(records.size());
            LineReport::Export(path, records);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        QMetaObject::invokeMethod(
            qApp,
            [window, failure, rows, path] {
                if (!window)
                    return;
                if (failure.isEmpty())
                    QMessageBox::information(window, Title,
                                             QStringLiteral("Выгружено строк: %1, файл %2.")
                                                 .arg(rows)
                                                 .arg(QDir::toNativeSeparators(path)));
                else
                    QMessageBox::warning(window, Title,
                                         QStringLiteral("День не выгружен: ") + failure);
            },
            Qt::QueuedConnection);
    });
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
