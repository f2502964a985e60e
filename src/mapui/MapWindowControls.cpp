// The correction map window's controls: the boxes of the source, the table, the filters, the
// comparison and the export, shown from the window's layout and filters and read back into them.
#include "MapWindow.h"

#include "Catalogue.h"
#include "MapHelp.h"
#include "MapNames.h"
#include "MapView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

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

} // namespace

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

QString MapWindow::Caption(const QString& side) const {
    QString caption = ChoiceText({layout_.value, layout_.column});
    if (!side.isEmpty())
        caption = QStringLiteral("«%1»: ").arg(side) + caption;
    return caption;
}
