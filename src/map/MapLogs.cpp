#include "MapLogs.h"

#include "Addresses.h"
#include "Catalogue.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "MapNames.h"

#include <QFileInfo>

namespace MapLogs {

namespace {

const double* Column(const DataLog& log, const QString& name) {
    const int index = log.IndexOf(name);
    return index < 0 ? nullptr : log.series[size_t(index)].values.data();
}

QString LiveName(uint8_t address) {
    return MapNames::Live(address).Name();
}

// The column of a value the cells need; its name goes into `missing` when the log lacks it.
const double* Needed(const DataLog& log, const QString& name, QStringList& missing) {
    const double* column = Column(log, name);
    if (!column)
        missing << name;
    return column;
}

QString Quoted(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names)
        quoted << QStringLiteral("«%1»").arg(name);
    return quoted.join(QStringLiteral(", "));
}

QString Duration(double seconds) {
    const qint64 whole = qint64(seconds + 0.5);
    if (whole < 60)
        return QStringLiteral("%1 с").arg(whole);
    if (whole < 3600)
        return QStringLiteral("%1 мин %2 с").arg(whole / 60).arg(whole % 60);
    return QStringLiteral("%1 ч %2 мин").arg(whole / 3600).arg(whole % 3600 / 60);
}

} // namespace

MapLogColumns ColumnsOf(const DataLog& log, const MapLayout& layout) {
    MapLogColumns found;
    MapColumns& c = found.columns;
    c.rows = log.Rows();
    c.seconds = log.seconds.data();
    c.speed = Needed(log, LiveName(Live::EngineSpeed), found.missing);
    c.load = Needed(log, MapNames::LoadName(layout.axis), found.missing);
    switch (layout.value) {
    case MapValue::Ratio:
        c.value = Needed(log, LiveName(Live::CurrentInjection), found.missing);
        c.divisor = Needed(log, LiveName(Live::BaseInjection), found.missing);
        break;
    default:
        c.value = Needed(log, MapNames::ValueName(layout), found.missing);
    }
    c.temperature = Column(log, LiveName(Live::EngineTemperature));
    c.throttle = Column(log, LiveName(Live::ThrottleVoltage));
    c.trimSource = Column(log, LogFormat::TrimSourceName);
    if (layout.value == MapValue::Trim && !c.trimSource)
        found.missing << LogFormat::TrimSourceName;
    found.missing.removeDuplicates();
    found.applicable = MapBuilder::AllApply();
    auto cannot = [&](MapFilter filter, const double* column) {
        if (column)
            return;
        found.applicable[size_t(filter)] = false;
        found.inapplicable << MapFilterTexts::Name(filter);
    };
    cannot(MapFilter::Warm, c.temperature);
    cannot(MapFilter::TrimActive, c.trimSource);
    cannot(MapFilter::Throttle, c.throttle);
    for (const LogEvent& event : log.events)
        if (event.kind == LogEventKind::Write)
            c.writes.push_back(event.seconds);
    return found;
}

MapLog Open(const QString& path) {
    return {QFileInfo(path).fileName(), LogReader::Read(path)};
}

QString SpanText(const MapLog& log) {
    const double last = log.log.seconds.empty() ? 0 : log.log.seconds.back();
    QString text = QStringLiteral("«%1»: ").arg(log.name);
    if (log.log.start.isValid())
        text += log.log.start.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) +
                QStringLiteral(" – ") +
                log.log.start.addMSecs(qint64(last * 1000)).toString(QStringLiteral("HH:mm:ss")) +
                QStringLiteral(", ");
    return text + Duration(last);
}

QString Note(const MapLog& log, const MapLayout& layout) {
    const MapLogColumns found = ColumnsOf(log.log, layout);
    if (!found.missing.isEmpty())
        return QStringLiteral("В записи «%1» нет столбцов %2: её замеры не вошли в таблицу.")
            .arg(log.name, Quoted(found.missing));
    if (!found.inapplicable.isEmpty())
        return QStringLiteral("К записи «%1» не применимы фильтры %2: в ней нет их столбцов.")
            .arg(log.name, Quoted(found.inapplicable));
    return {};
}

void Fold(MapBuilder& builder, const DataLog& log) {
    const MapLogColumns found = ColumnsOf(log, builder.Table().Layout());
    if (!found.missing.isEmpty())
        return;
    builder.BeginSource(found.applicable);
    builder.AddColumns(found.columns);
}

void Fold(MapBuilder& builder, const std::vector<MapLog>& logs) {
    for (const MapLog& log : logs)
        Fold(builder, log.log);
}

} // namespace MapLogs
