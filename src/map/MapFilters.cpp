#include "MapFilters.h"

#include "MapLayout.h"
#include "MapNames.h"

#include <QSettings>

#include <algorithm>

namespace {

const char* Key(MapFilter filter) {
    switch (filter) {
    case MapFilter::Warm:
        return "warm";
    case MapFilter::TrimActive:
        return "trimActive";
    case MapFilter::Throttle:
        return "throttle";
    case MapFilter::Write:
        return "write";
    case MapFilter::Speed:
        return "speed";
    }
    return "";
}

} // namespace

bool MapFilters::Forced(MapFilter filter, const MapLayout& layout) {
    return filter == MapFilter::TrimActive && layout.value == MapValue::Trim;
}

MapFilters MapFilters::For(const MapLayout& layout) const {
    MapFilters applied = *this;
    for (MapFilter filter : AllMapFilters)
        if (Forced(filter, layout))
            applied.Set(filter, true);
    return applied;
}

MapFilters MapFilters::Load(QSettings& settings) {
    MapFilters filters;
    settings.beginGroup(QStringLiteral("map"));
    for (MapFilter filter : AllMapFilters)
        filters.Set(filter,
                    settings.value(QLatin1String(Key(filter)), filters.On(filter)).toBool());
    filters.warmFrom = settings.value(QStringLiteral("warmFrom"), filters.warmFrom).toDouble();
    filters.throttleRate =
        settings.value(QStringLiteral("throttleRate"), filters.throttleRate).toDouble();
    filters.throttleSettle =
        settings.value(QStringLiteral("throttleSettle"), filters.throttleSettle).toDouble();
    filters.writeSettle =
        settings.value(QStringLiteral("writeSettle"), filters.writeSettle).toDouble();
    filters.speedFrom = settings.value(QStringLiteral("speedFrom"), filters.speedFrom).toDouble();
    filters.speedTo = settings.value(QStringLiteral("speedTo"), filters.speedTo).toDouble();
    settings.endGroup();
    return filters;
}

void MapFilters::Save(QSettings& settings) const {
    settings.beginGroup(QStringLiteral("map"));
    for (MapFilter filter : AllMapFilters)
        settings.setValue(QLatin1String(Key(filter)), On(filter));
    settings.setValue(QStringLiteral("warmFrom"), warmFrom);
    settings.setValue(QStringLiteral("throttleRate"), throttleRate);
    settings.setValue(QStringLiteral("throttleSettle"), throttleSettle);
    settings.setValue(QStringLiteral("writeSettle"), writeSettle);
    settings.setValue(QStringLiteral("speedFrom"), speedFrom);
    settings.setValue(QStringLiteral("speedTo"), speedTo);
    settings.endGroup();
}

void DropCounts::Add(const DropCounts& other) {
    for (size_t i = 0; i < byFilter.size(); ++i)
        byFilter[i] += other.byFilter[i];
    gaps += other.gaps;
    outside += other.outside;
    kept += other.kept;
}

namespace MapFilterTexts {

QString Name(MapFilter filter) {
    switch (filter) {
    case MapFilter::Warm:
        return QStringLiteral("Прогретый двигатель");
    case MapFilter::TrimActive:
        return QStringLiteral("Коррекция включена, не режим установки");
    case MapFilter::Throttle:
        return QStringLiteral("Пауза после движения дросселя");
    case MapFilter::Write:
        return QStringLiteral("Пауза после записи в прибор");
    case MapFilter::Speed:
        return QStringLiteral("Диапазон оборотов");
    }
    return {};
}

QString EmptyNote(const DropCounts& dropped) {
    const auto most = std::max_element(dropped.byFilter.begin(), dropped.byFilter.end());
    if (*most > 0)
        return QStringLiteral("После фильтров не осталось ни одного замера: больше всего "
                              "отбросил фильтр «%1» (%2).")
            .arg(Name(AllMapFilters[size_t(most - dropped.byFilter.begin())]),
                 MapNames::SamplesText(*most));
    if (dropped.outside > 0)
        return QStringLiteral("Все замеры лежат вне полос таблицы (%1).")
            .arg(MapNames::SamplesText(dropped.outside));
    if (dropped.gaps > 0)
        return QStringLiteral("Ни в одном замере не прочитаны обороты, нагрузка и значение "
                              "(пропуски: %1).")
            .arg(MapNames::SamplesText(dropped.gaps));
    return QStringLiteral("Замеров пока нет.");
}

} // namespace MapFilterTexts
