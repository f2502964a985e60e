#include "MapWindow.h"

#include "Catalogue.h"
#include "ChangeJournal.h"
#include "ConnectionEvents.h"
#include "DialogFolder.h"
#include "InOutError.h"
#include "JournalFeed.h"
#include "LogError.h"
#include "LogFormat.h"
#include "MapCsv.h"
#include "MapHelp.h"
#include "MapLive.h"
#include "MapNames.h"
#include "MapSheet.h"
#include "MapView.h"
#include "SheetPages.h"
#include "ToolData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString Title = QStringLiteral("Карта коррекции");

struct ValueChoice {
    MapValue value;
    QString column;
};

std::vector<ValueChoice> ValueChoices() {
    std::vector<ValueChoice> choices{{MapValue::Trim, {}},
                                     {MapValue::Ratio, {}},
                                     {MapValue::OxygenVoltage, {}},
                                     {MapValue::GasPressure, {}}};
    MapLayout probe;
    QStringList named;
    for (const ValueChoice& choice : choices) {
        probe.value = choice.value;
        named << MapNames::ValueName(probe);
    }
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        if (!named.contains(entry->Name()))
            choices.push_back({MapValue::Column, entry->Name()});
    return choices;
}

QString ChoiceText(const ValueChoice& choice) {
    MapLayout layout;
    layout.value = choice.value;
    layout.column = choice.column;
    const QString unit = MapNames::ValueUnit(layout);
    return MapNames::ValueName(layout) + (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit);
}

QString LogsFolder() {
    return DialogFolder::Start(*ToolData::Preferences(), DialogFolder::Kind::Logs);
}

QDoubleSpinBox* Spin(double min, double max, double step, int decimals, const QString& name) {
    auto* spin = new QDoubleSpinBox;
    spin->setRange(min, max);
    spin->setSingleStep(step);
    spin->setDecimals(decimals);
    spin->setAccessibleName(name);
    return spin;
}

QPushButton* Button(const QString& text, const QString& objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    return button;
}

void LoadLayout(QSettings& settings, MapLayout& layout, int& minimum) {
    settings.beginGroup(QStringLiteral("map"));
    layout.value = MapValue(settings.value(QStringLiteral("value"), int(layout.value)).toInt());
    if (layout.value < MapValue::Trim || layout.value > MapValue::Column)
        layout.value = MapValue::Trim;
    layout.column = settings.value(QStringLiteral("column")).toString();
    layout.axis = settings.value(QStringLiteral("axis")).toInt() == 1 ? LoadAxis::Manifold
                                                                      : LoadAxis::Injection;
    layout.load = MapLayout::DefaultLoad(layout.axis);
    auto bands = [&](const QString& key, Bands& b) {
        const Bands read{settings.value(key + QStringLiteral("First"), b.first).toDouble(),
                         settings.value(key + QStringLiteral("Last"), b.last).toDouble(),
                         settings.value(key + QStringLiteral("Width"), b.width).toDouble()};
        if (read.Valid())
            b = read;
    };
    bands(QStringLiteral("speed"), layout.speed);
    bands(QStringLiteral("load"), layout.load);
    minimum = std::max(1, settings.value(QStringLiteral("minimum"), minimum).toInt());
    settings.endGroup();
}

void SaveLayout(QSettings& settings, const MapLayout& layout, int minimum) {
    settings.beginGroup(QStringLiteral("map"));
    settings.setValue(QStringLiteral("value"), int(layout.value));
    settings.setValue(QStringLiteral("column"), layout.column);
    settings.setValue(QStringLiteral("axis"), layout.axis == LoadAxis::Manifold ? 1 : 0);
    auto bands = [&](const QString& key, const Bands& b) {
        settings.setValue(key + QStringLiteral("First"), b.first);
        settings.setValue(key + QStringLiteral("Last"), b.last);
        settings.setValue(key + QStringLiteral("Width"), b.width);
    };
    bands(QStringLiteral("speed"), layout.speed);
    bands(QStringLiteral("load"), layout.load);
    settings.setValue(QStringLiteral("minimum"), minimum);
    settings.endGroup();
}

// A label named for what it tells: its text, which changes, reaches a screen reader as its
// description.
void Show(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
}

} // namespace

MapWindow::MapWindow(LiveFeed& feed, JournalFeed& writes, ConnectionEvents& events, QWidget* parent)
    : QWidget(parent, Qt::Window), feed_(feed), liveStart_(std::chrono::steady_clock::now()) {
    setWindowTitle(Title);
    setAccessibleName(Title);
    {
        const auto settings = ToolData::Preferences();
        LoadLayout(*settings, layout_, minimumCount_);
        filters_ = MapFilters::Load(*settings);
    }
    BuildControls();
    connect(&feed_, &LiveFeed::sampled, this, &MapWindow::AddSample);
    connect(&writes, &JournalFeed::recorded, this, &MapWindow::AddWrite);
    connect(&events, &ConnectionEvents::connected, this, [this] { SetConnected(true); });
    connect(&events, &ConnectionEvents::closed, this, [this] { SetConnected(false); });
    ShowLive();
}

MapWindow::~MapWindow() = default;

void MapWindow::BuildControls() {
    showing_ = true; // the controls fill before there is a map to build
    auto* panel = new QWidget;
    auto* side = new QVBoxLayout(panel);
    side->addWidget(SourceBox());
    side->addWidget(TableBox());
    side->addWidget(FilterBox());
    side->addWidget(CompareBox());
    side->addWidget(ExportBox());
    auto* help = new QLabel(MapHelp::Text());
    help->setWordWrap(true);
    help->setObjectName(QStringLiteral("MapHelp"));
    help->setAccessibleName(QStringLiteral("Справка"));
    side->addWidget(help);
    side->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(panel->sizeHint().width() + 24);

    views_ = new QWidget;
    auto* grid = new QGridLayout(views_);
    grid->setContentsMargins(0, 0, 0, 0);
    beforeView_ = new MapView;
    beforeView_->setObjectName(QStringLiteral("BeforeView"));
    view_ = new MapView;
    view_->setObjectName(QStringLiteral("MapView"));
    differenceView_ = new MapView;
    differenceView_->setObjectName(QStringLiteral("DifferenceView"));
    grid->addWidget(beforeView_, 0, 0);
    grid->addWidget(view_, 0, 1);
    grid->addWidget(differenceView_, 1, 0, 1, 2);

    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("MapNote"));
    note_->setWordWrap(true);
    note_->setAccessibleName(QStringLiteral("Состояние карты"));
    auto* right = new QVBoxLayout;
    right->addWidget(note_);
    right->addWidget(views_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll);
    layout->addLayout(right, 1);
    ShowControls();
}

QWidget* MapWindow::SourceBox() {
    auto* box = new QGroupBox(QStringLiteral("Источник"));
    auto* layout = new QVBoxLayout(box);
    sourceLabel_ = new QLabel;
    sourceLabel_->setWordWrap(true);
    sourceLabel_->setAccessibleName(QStringLiteral("Источник карты"));
    layout->addWidget(sourceLabel_);
    files_ = new QListWidget;
    files_->setAccessibleName(QStringLiteral("Открытые записи"));
    files_->setMaximumHeight(80);
    layout->addWidget(files_);
    auto* buttons = new QHBoxLayout;
    live_button_ = Button(QStringLiteral("Живая карта"), QStringLiteral("MapLive"));
    auto* open = Button(QStringLiteral("Открыть запись…"), QStringLiteral("MapOpen"));
    auto* reset = Button(QStringLiteral("Сбросить"), QStringLiteral("MapReset"));
    reset->setAccessibleDescription(QStringLiteral("Очистить карту"));
    buttons->addWidget(live_button_);
    buttons->addWidget(open);
    buttons->addWidget(reset);
    layout->addLayout(buttons);
    connect(live_button_, &QPushButton::clicked, this, [this] { ShowLive(); });
    connect(open, &QPushButton::clicked, this, [this] { OpenChosen(false); });
    connect(reset, &QPushButton::clicked, this, [this] { Reset(); });
    return box;
}

QWidget* MapWindow::TableBox() {
    auto* box = new QGroupBox(QStringLiteral("Таблица"));
    auto* form = new QFormLayout(box);
    value_ = new QComboBox;
    value_->setAccessibleName(QStringLiteral("Значение в клетках"));
    for (const ValueChoice& choice : ValueChoices())
        value_->addItem(ChoiceText(choice));
    form->addRow(QStringLiteral("Значение:"), value_);
    axis_ = new QComboBox;
    axis_->setAccessibleName(QStringLiteral("Нагрузка по столбцам"));
    for (LoadAxis axis : {LoadAxis::Injection, LoadAxis::Manifold})
        axis_->addItem(MapNames::LoadName(axis) + QStringLiteral(", ") + MapNames::LoadUnit(axis));
    form->addRow(QStringLiteral("Столбцы:"), axis_);
    auto bandRow = [&](std::array<QDoubleSpinBox*, 3>& spins, const QString& what, double max,
                       int decimals) {
        auto* row = new QHBoxLayout;
        const QStringList parts{QStringLiteral("от"), QStringLiteral("до"), QStringLiteral("шаг")};
        for (int i = 0; i < 3; ++i) {
            spins[size_t(i)] = Spin(i == 2 ? std::pow(10.0, -decimals) : 0, max,
                                    std::pow(10.0, -decimals) * (decimals ? 1 : 100), decimals,
                                    what + QLatin1Char(' ') + parts[i]);
            row->addWidget(new QLabel(parts[i]));
            row->addWidget(spins[size_t(i)]);
        }
        form->addRow(what + QLatin1Char(':'), row);
    };
    bandRow(rows_, QStringLiteral("Обороты"), 12000, 0);
    bandRow(columns_, QStringLiteral("Нагрузка"), 400, 1);
    minimum_ = new QSpinBox;
    minimum_->setRange(1, 10000);
    minimum_->setAccessibleName(QStringLiteral("Минимум замеров в клетке"));
    form->addRow(QStringLiteral("Минимум замеров:"), minimum_);

    connect(value_, &QComboBox::currentIndexChanged, this, [this] { ReadControls(); });
    connect(axis_, &QComboBox::currentIndexChanged, this, [this] {
        if (showing_)
            return;
        // Another load takes its own bands.
        layout_.axis = axis_->currentIndex() == 1 ? LoadAxis::Manifold : LoadAxis::Injection;
        layout_.load = MapLayout::DefaultLoad(layout_.axis);
        ShowControls();
        ReadControls();
    });
    for (auto* spin : rows_)
        connect(spin, &QDoubleSpinBox::editingFinished, this, [this] { ReadControls(); });
    for (auto* spin : columns_)
        connect(spin, &QDoubleSpinBox::editingFinished, this, [this] { ReadControls(); });
    connect(minimum_, &QSpinBox::editingFinished, this, [this] { ReadControls(); });
    return box;
}

QWidget* MapWindow::FilterBox() {
    auto* box = new QGroupBox(QStringLiteral("Фильтры"));
    auto* grid = new QGridLayout(box);
    warmFrom_ = Spin(-40, 150, 1, 0, QStringLiteral("Температура от, °С"));
    warmFrom_->setSuffix(QStringLiteral(" °С"));
    throttleRate_ = Spin(0.1, 50, 0.1, 1, QStringLiteral("Скорость дросселя выше, В/с"));
    throttleRate_->setSuffix(QStringLiteral(" В/с"));
    throttleSettle_ = Spin(0, 60, 0.5, 1, QStringLiteral("Пауза после дросселя, с"));
    throttleSettle_->setSuffix(QStringLiteral(" с"));
    writeSettle_ = Spin(0, 600, 1, 1, QStringLiteral("Пауза после записи, с"));
    writeSettle_->setSuffix(QStringLiteral(" с"));
    speedFrom_ = Spin(0, 12000, 100, 0, QStringLiteral("Обороты от"));
    speedTo_ = Spin(0, 12000, 100, 0, QStringLiteral("Обороты до"));
    const std::array<std::vector<QWidget*>, MapFilterCount> bounds{
        std::vector<QWidget*>{warmFrom_}, std::vector<QWidget*>{},
        std::vector<QWidget*>{throttleRate_, throttleSettle_}, std::vector<QWidget*>{writeSettle_},
        std::vector<QWidget*>{speedFrom_, speedTo_}};
    int row = 0;
    for (MapFilter filter : AllMapFilters) {
        const size_t i = size_t(filter);
        filterOn_[i] = new QCheckBox(MapFilterTexts::Name(filter));
        filterOn_[i]->setAccessibleName(MapFilterTexts::Name(filter));
        grid->addWidget(filterOn_[i], row, 0, 1, 2);
        filterDropped_[i] = new QLabel;
        filterDropped_[i]->setAccessibleName(MapFilterTexts::Name(filter) +
                                             QStringLiteral(": отброшено"));
        grid->addWidget(filterDropped_[i], row++, 2);
        if (!bounds[i].empty()) {
            auto* line = new QHBoxLayout;
            for (QWidget* bound : bounds[i])
                line->addWidget(bound);
            grid->addLayout(line, row++, 0, 1, 3);
        }
        connect(filterOn_[i], &QCheckBox::toggled, this, [this] { ReadControls(); });
        for (QWidget* bound : bounds[i])
            connect(static_cast<QDoubleSpinBox*>(bound), &QDoubleSpinBox::editingFinished, this,
                    [this] { ReadControls(); });
    }
    return box;
}

QWidget* MapWindow::CompareBox() {
    auto* box = new QGroupBox(QStringLiteral("До и после"));
    auto* layout = new QVBoxLayout(box);
    auto* buttons = new QHBoxLayout;
    auto* keep = Button(QStringLiteral("Эту карту — в «до»"), QStringLiteral("MapKeepBefore"));
    auto* open = Button(QStringLiteral("Открыть «до»…"), QStringLiteral("MapOpenBefore"));
    clearBefore_ = Button(QStringLiteral("Убрать «до»"), QStringLiteral("MapClearBefore"));
    buttons->addWidget(keep);
    buttons->addWidget(open);
    buttons->addWidget(clearBefore_);
    layout->addLayout(buttons);
    compare_ = new QLabel;
    compare_->setWordWrap(true);
    compare_->setAccessibleName(QStringLiteral("Сравнение"));
    layout->addWidget(compare_);
    connect(keep, &QPushButton::clicked, this, [this] { KeepAsBefore(); });
    connect(open, &QPushButton::clicked, this, [this] { OpenChosen(true); });
    connect(clearBefore_, &QPushButton::clicked, this, [this] { ClearBefore(); });
    return box;
}

QWidget* MapWindow::ExportBox() {
    auto* box = new QGroupBox(QStringLiteral("Сохранить"));
    auto* layout = new QHBoxLayout(box);
    auto* csv = Button(QStringLiteral("CSV…"), QStringLiteral("MapCsv"));
    csv->setAccessibleDescription(QStringLiteral("Таблица для электронной таблицы"));
    auto* png = Button(QStringLiteral("Картинка…"), QStringLiteral("MapPng"));
    auto* pdf = Button(QStringLiteral("PDF…"), QStringLiteral("MapPdf"));
    pdf->setAccessibleDescription(QStringLiteral("Лист для печати"));
    layout->addWidget(csv);
    layout->addWidget(png);
    layout->addWidget(pdf);
    connect(csv, &QPushButton::clicked, this, [this] { SaveCsv(); });
    connect(png, &QPushButton::clicked, this, [this] { SavePng(); });
    connect(pdf, &QPushButton::clicked, this, [this] { SavePdf(); });
    return box;
}

void MapWindow::ShowControls() {
    showing_ = true;
    const std::vector<ValueChoice> choices = ValueChoices();
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].value == layout_.value &&
            (layout_.value != MapValue::Column || choices[i].column == layout_.column))
            value_->setCurrentIndex(int(i));
    axis_->setCurrentIndex(layout_.axis == LoadAxis::Manifold ? 1 : 0);
    auto bands = [](std::array<QDoubleSpinBox*, 3>& spins, const Bands& b) {
        spins[0]->setValue(b.first);
        spins[1]->setValue(b.last);
        spins[2]->setValue(b.width);
    };
    bands(rows_, layout_.speed);
    bands(columns_, layout_.load);
    for (QDoubleSpinBox* spin : columns_)
        spin->setSuffix(QLatin1Char(' ') + MapNames::LoadUnit(layout_.axis));
    minimum_->setValue(minimumCount_);
    const MapFilters applied = filters_.For(layout_);
    for (MapFilter filter : AllMapFilters) {
        QCheckBox* box = filterOn_[size_t(filter)];
        box->setChecked(applied.On(filter));
        const bool forced = MapFilters::Forced(filter, layout_);
        box->setEnabled(!forced);
        box->setToolTip(forced ? QStringLiteral("Коррекция показывается, только пока датчик "
                                                "кислорода корректирует")
                               : QString());
    }
    warmFrom_->setValue(filters_.warmFrom);
    throttleRate_->setValue(filters_.throttleRate);
    throttleSettle_->setValue(filters_.throttleSettle);
    writeSettle_->setValue(filters_.writeSettle);
    speedFrom_->setValue(filters_.speedFrom);
    speedTo_->setValue(filters_.speedTo);
    showing_ = false;
}

void MapWindow::ReadControls() {
    if (showing_)
        return;
    MapLayout layout = layout_;
    const std::vector<ValueChoice> choices = ValueChoices();
    const int index = value_->currentIndex();
    if (index >= 0 && size_t(index) < choices.size()) {
        layout.value = choices[size_t(index)].value;
        layout.column = choices[size_t(index)].column;
    }
    const Bands speed{rows_[0]->value(), rows_[1]->value(), rows_[2]->value()};
    const Bands load{columns_[0]->value(), columns_[1]->value(), columns_[2]->value()};
    if (speed.Valid())
        layout.speed = speed;
    if (load.Valid())
        layout.load = load;
    MapFilters filters = filters_;
    for (MapFilter filter : AllMapFilters)
        if (!MapFilters::Forced(filter, layout))
            filters.Set(filter, filterOn_[size_t(filter)]->isChecked());
    filters.warmFrom = warmFrom_->value();
    filters.throttleRate = throttleRate_->value();
    filters.throttleSettle = throttleSettle_->value();
    filters.writeSettle = writeSettle_->value();
    filters.speedFrom = speedFrom_->value();
    filters.speedTo = speedTo_->value();
    layout_ = layout;
    filters_ = filters;
    minimumCount_ = minimum_->value();
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::Remember() const {
    const auto settings = ToolData::Preferences();
    SaveLayout(*settings, layout_, minimumCount_);
    filters_.Save(*settings);
}

void MapWindow::SetLayout(const MapLayout& layout) {
    layout_ = layout;
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::SetFilters(const MapFilters& filters) {
    filters_ = filters;
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::SetMinimumCount(int count) {
    minimumCount_ = std::max(1, count);
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::Rebuild() {
    builder_ = std::make_unique<MapBuilder>(layout_, filters_);
    if (IsLive())
        MapLogs::Fold(*builder_, live_);
    else
        MapLogs::Fold(*builder_, logs_);
    before_.reset();
    if (!beforeLogs_.empty()) {
        before_ = std::make_unique<MapBuilder>(layout_, filters_);
        MapLogs::Fold(*before_, beforeLogs_);
        difference_ = MapDifference(before_->Table(), builder_->Table(), minimumCount_);
    }
    view_->ShowTable(&builder_->Table(), minimumCount_);
    view_->SetCaption(Caption(HasBefore() ? QStringLiteral("после") : QString()));
    beforeView_->setVisible(HasBefore());
    differenceView_->setVisible(HasBefore());
    clearBefore_->setEnabled(HasBefore());
    if (HasBefore()) {
        beforeView_->ShowTable(&before_->Table(), minimumCount_);
        beforeView_->SetCaption(Caption(QStringLiteral("до")));
        differenceView_->ShowDifference(&difference_, layout_);
        differenceView_->SetCaption(QStringLiteral("Разница «после» − «до»"));
    }
    std::vector<MapCell> trail;
    for (const auto& [seconds, cell] : trail_)
        if (trail.empty() || !(trail.back() == cell))
            trail.push_back(cell);
    if (IsLive())
        view_->SetTrail(trail);
    ShowSources();
    ShowCounts();
}

QString MapWindow::Caption(const QString& side) const {
    QString caption = ChoiceText({layout_.value, layout_.column});
    if (!side.isEmpty())
        caption = QStringLiteral("«%1»: ").arg(side) + caption;
    return caption;
}

void MapWindow::ShowSources() {
    files_->clear();
    for (const MapLog& log : logs_)
        files_->addItem(MapLogs::SpanText(log));
    for (const MapLog& log : beforeLogs_)
        files_->addItem(QStringLiteral("«до» ") + MapLogs::SpanText(log));
    files_->setVisible(files_->count() > 0);
    if (IsLive())
        Show(sourceLabel_, QStringLiteral("Живая карта: клетки заполняются по ходу поездки."));
    else
        Show(sourceLabel_, QStringLiteral("Записи, сложенные в одну карту: %1.").arg(logs_.size()));
    live_button_->setEnabled(!IsLive());
}

QString MapWindow::Note() const {
    QStringList lines;
    if (IsLive() && !connected_)
        lines << QStringLiteral("Прибор не подключён: живая карта заполнится после "
                                "подключения. Или откройте запись.");
    for (const std::vector<MapLog>* logs : {&logs_, &beforeLogs_})
        for (const MapLog& log : *logs) {
            const QString note = MapLogs::Note(log, layout_);
            if (!note.isEmpty())
                lines << note;
        }
    const DropCounts& dropped = Dropped();
    if (Table().Samples() == 0 && (!IsLive() || live_.Rows() > 0))
        lines << MapFilterTexts::EmptyNote(dropped);
    else if (Table().Samples() > 0)
        lines << QStringLiteral("В таблице %1; пропусков связи %2, вне таблицы %3.")
                     .arg(MapNames::SamplesText(dropped.kept), QString::number(dropped.gaps),
                          QString::number(dropped.outside));
    return lines.join(QLatin1Char('\n'));
}

void MapWindow::ShowCounts() {
    const DropCounts& dropped = Dropped();
    for (MapFilter filter : AllMapFilters) {
        QLabel* label = filterDropped_[size_t(filter)];
        label->setText(filters_.For(layout_).On(filter) ? QStringLiteral("−%1").arg(dropped[filter])
                                                        : QString());
        label->setAccessibleDescription(
            QStringLiteral("отброшено %1").arg(MapNames::SamplesText(dropped[filter])));
    }
    Show(note_, Note());
    if (HasBefore())
        Show(compare_, QStringLiteral("Ближе к нулю: %1, дальше от нуля: %2 (клеток, где "
                                      "в обеих картах не меньше %3).")
                           .arg(difference_.Count(Movement::Towards))
                           .arg(difference_.Count(Movement::Away))
                           .arg(MapNames::SamplesText(minimumCount_)));
    else
        Show(compare_, QStringLiteral("Карты «до» нет: её можно открыть из записи или "
                                      "сделать из этой."));
}

void MapWindow::SetConnected(bool connected) {
    connected_ = connected;
    if (!connected) {
        trail_.clear();
        view_->SetTrail({});
    }
    UpdateDemand();
    ShowCounts();
}

double MapWindow::LiveSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - liveStart_).count();
}

void MapWindow::AppendLive(double seconds, const LiveSample& sample) {
    // Every live value a column, then the trim and its state, as a recording lays them out.
    const std::vector<const Catalogue::Entry*>& entries = Catalogue::LiveValues();
    if (live_.series.empty()) {
        for (const Catalogue::Entry* entry : entries)
            live_.series.push_back({entry->Name(), entry->Unit(), {}});
        live_.series.push_back({LogFormat::TrimName, LogFormat::TrimUnit, {}});
        live_.series.push_back({LogFormat::TrimSourceName, {}, {}});
    }
    live_.seconds.push_back(seconds);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::optional<long double> value = sample.ValueAt(*entries[i]->address);
        live_.series[i].values.push_back(value ? double(*value) : DataLog::Empty);
    }
    const bool trim = sample.trim && sample.trim->percent;
    live_.series[entries.size()].values.push_back(trim ? double(*sample.trim->percent)
                                                       : DataLog::Empty);
    live_.series[entries.size() + 1].values.push_back(sample.trim ? double(sample.trim->source)
                                                                  : DataLog::Empty);
}

void MapWindow::AddSample(const LiveSample& sample) {
    // On the sample's own clock, when it has one: the moment it was taken.
    const double seconds =
        sample.monotonic.time_since_epoch().count() != 0
            ? std::chrono::duration<double>(sample.monotonic - liveStart_).count()
            : LiveSeconds();
    AppendLive(seconds, sample);
    if (!IsLive())
        return;
    const std::optional<MapCell> cell = builder_->Add(MapSampleOf(sample, layout_, seconds));
    if (cell) {
        trail_.emplace_back(seconds, *cell);
        view_->CellChanged(*cell);
    }
    while (!trail_.empty() && trail_.front().first < seconds - TrailSeconds)
        trail_.pop_front();
    std::vector<MapCell> trail;
    for (const auto& [at, c] : trail_)
        if (trail.empty() || !(trail.back() == c))
            trail.push_back(c);
    if (trail != view_->Trail())
        view_->SetTrail(trail);
    if (HasBefore() && cell) {
        difference_ = MapDifference(before_->Table(), builder_->Table(), minimumCount_);
        differenceView_->CellChanged(*cell);
    }
    ShowCounts();
}

void MapWindow::AddWrite(const JournalRecord& record) {
    const double seconds = LiveSeconds();
    live_.events.push_back({seconds, LogFormat::EventText(record), LogEventKind::Write});
    if (IsLive())
        builder_->AddWrite(seconds);
}

void MapWindow::ShowLive() {
    logs_.clear();
    Rebuild();
    UpdateDemand();
}

void MapWindow::Reset() {
    if (IsLive()) {
        live_ = DataLog();
        liveStart_ = std::chrono::steady_clock::now();
        trail_.clear();
    } else {
        logs_.clear();
    }
    Rebuild();
    UpdateDemand();
}

void MapWindow::OpenLogs(const QStringList& paths) {
    const bool wasLive = IsLive();
    std::vector<MapLog> opened;
    QString refused;
    for (const QString& path : paths) {
        try {
            opened.push_back(MapLogs::Open(path));
        } catch (const LogError& error) {
            refused = error.text();
            break;
        }
    }
    for (MapLog& log : opened)
        logs_.push_back(std::move(log));
    if (wasLive && !IsLive()) {
        trail_.clear();
        view_->SetTrail({});
    }
    Rebuild();
    UpdateDemand();
    if (!refused.isEmpty())
        throw LogError(refused);
}

void MapWindow::OpenBefore(const QStringList& paths) {
    QString refused;
    for (const QString& path : paths) {
        try {
            beforeLogs_.push_back(MapLogs::Open(path));
        } catch (const LogError& error) {
            refused = error.text();
            break;
        }
    }
    Rebuild();
    if (!refused.isEmpty())
        throw LogError(refused);
}

void MapWindow::KeepAsBefore() {
    if (IsLive()) {
        beforeLogs_ = {MapLog{QStringLiteral("живая карта до %1")
                                  .arg(QTime::currentTime().toString(QStringLiteral("HH:mm"))),
                              std::move(live_)}};
        live_ = DataLog();
        liveStart_ = std::chrono::steady_clock::now();
        trail_.clear();
    } else {
        beforeLogs_ = std::move(logs_);
        logs_.clear();
    }
    Rebuild();
    UpdateDemand();
}

void MapWindow::ClearBefore() {
    beforeLogs_.clear();
    Rebuild();
}

void MapWindow::UpdateDemand() {
    if (isVisible() && connected_)
        demand_ = feed_.Want(LiveRate);
    else
        demand_.reset();
}

void MapWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateDemand();
}

void MapWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    UpdateDemand();
}

void MapWindow::OpenChosen(bool before) {
    QDir().mkpath(LogsFolder());
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, before ? QStringLiteral("Открыть записи «до»") : QStringLiteral("Открыть запись"),
        LogsFolder(), QStringLiteral("Записи данных (*.csv);;Все файлы (*)"));
    if (paths.isEmpty())
        return;
    DialogFolder::Remember(*ToolData::Preferences(), DialogFolder::Kind::Logs, paths.front());
    try {
        before ? OpenBefore(paths) : OpenLogs(paths);
    } catch (const LogError& error) {
        emit failed(error.text());
    }
}

Sheets::Section MapWindow::PaperSection() const {
    QStringList sources;
    if (IsLive())
        sources << QStringLiteral("живая карта");
    for (const MapLog& log : logs_)
        sources << MapLogs::SpanText(log);
    QStringList filters;
    const MapFilters applied = filters_.For(layout_);
    for (MapFilter filter : AllMapFilters)
        if (applied.On(filter))
            filters << QStringLiteral("%1 (−%2)")
                           .arg(MapFilterTexts::Name(filter))
                           .arg(Dropped()[filter]);
    return Sheets::MapSection(
        Table(), minimumCount_,
        {QStringLiteral("Источник: ") + sources.join(QStringLiteral("; ")),
         QStringLiteral("Фильтры: ") +
             (filters.isEmpty() ? QStringLiteral("нет") : filters.join(QStringLiteral(", ")))});
}

void MapWindow::SaveCsv() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить таблицу"),
        QDir(LogsFolder()).filePath(QStringLiteral("Карта коррекции.csv")),
        QStringLiteral("Таблица CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    try {
        MapCsv::Write(Table(), path);
    } catch (const EInOutError& error) {
        emit failed(QStringLiteral("Таблица не сохранена в «%1»: %2.")
                        .arg(path, QString::fromLocal8Bit(error.what())));
    }
}

void MapWindow::SavePng() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить картинку"),
        QDir(LogsFolder()).filePath(QStringLiteral("Карта коррекции.png")),
        QStringLiteral("Картинка PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!views_->grab().save(path, "PNG"))
        emit failed(QStringLiteral("Картинка не сохранена в «%1».").arg(path));
}

void MapWindow::SavePdf() {
    const auto settings = ToolData::Preferences();
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить лист"),
                                     QDir(DialogFolder::Start(*settings, DialogFolder::Kind::Pdfs))
                                         .filePath(QStringLiteral("Карта коррекции.pdf")),
                                     QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    DialogFolder::Remember(*settings, DialogFolder::Kind::Pdfs, path);
    try {
        Sheets::WritePdf(Sheets::MapSheet(PaperSection(), QDateTime::currentDateTime().toString(
                                                              QStringLiteral("dd.MM.yyyy HH:mm"))),
                         path);
    } catch (const EInOutError& error) {
        emit failed(QStringLiteral("Лист не сохранён в «%1»: %2.")
                        .arg(path, QString::fromLocal8Bit(error.what())));
    }
}
