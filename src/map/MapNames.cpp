#include "MapNames.h"

#include "Addresses.h"
#include "Catalogue.h"
#include "CellStats.h"
#include "CountText.h"
#include "LogFormat.h"

#include <QLocale>

#include <cmath>
#include <stdexcept>

namespace MapNames {

namespace {

uint8_t LoadAddress(LoadAxis axis) {
    return axis == LoadAxis::Injection ? Live::BaseInjection : Live::ManifoldPressure;
}

// The decimals a band's edges need: none for whole widths, else as many as the width has.
int EdgeDecimals(const Bands& bands) {
    for (int decimals = 0; decimals < 3; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        if (std::abs(bands.width * scale - std::round(bands.width * scale)) < 1e-6 &&
            std::abs(bands.first * scale - std::round(bands.first * scale)) < 1e-6)
            return decimals;
    }
    return 3;
}

QString Decimal(double value, int decimals) {
    QLocale russian(QLocale::Russian);
    russian.setNumberOptions(QLocale::OmitGroupSeparator);
    return russian.toString(value, 'f', decimals);
}

} // namespace

const Catalogue::Entry& Live(uint8_t address) {
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        if (entry->address == address)
            return *entry;
    throw std::logic_error("no live entry at this address");
}

QString SpeedName() {
    return Live(Live::EngineSpeed).Name();
}

QString SpeedUnit() {
    return Live(Live::EngineSpeed).Unit();
}

QString LoadName(LoadAxis axis) {
    return Live(LoadAddress(axis)).Name();
}

QString LoadUnit(LoadAxis axis) {
    return Live(LoadAddress(axis)).Unit();
}

QString ValueName(const MapLayout& layout) {
    switch (layout.value) {
    case MapValue::Trim:
        return LogFormat::TrimName;
    case MapValue::Ratio:
        return QStringLiteral("Тек. / Исх.");
    case MapValue::OxygenVoltage:
        return Live(Live::OxygenVoltage).Name();
    case MapValue::GasPressure:
        return Live(Live::GasPressure).Name();
    case MapValue::Column:
        return layout.column;
    }
    return {};
}

QString ValueUnit(const MapLayout& layout) {
    switch (layout.value) {
    case MapValue::Trim:
        return LogFormat::TrimUnit;
    case MapValue::Ratio:
        return {};
    case MapValue::OxygenVoltage:
        return Live(Live::OxygenVoltage).Unit();
    case MapValue::GasPressure:
        return Live(Live::GasPressure).Unit();
    case MapValue::Column:
        for (const Catalogue::Entry* entry : Catalogue::LiveValues())
            if (entry->Name() == layout.column)
                return entry->Unit();
        return {};
    }
    return {};
}

int ValueDecimals(const MapLayout& layout) {
    switch (layout.value) {
    case MapValue::Trim:
    case MapValue::GasPressure:
        return 1;
    case MapValue::Ratio:
    case MapValue::OxygenVoltage:
        return 2;
    case MapValue::Column:
        for (const Catalogue::Entry* entry : Catalogue::LiveValues())
            if (entry->Name() == layout.column)
                return std::max(1, LogFormat::DecimalsOf(entry->Mask()));
        return 2;
    }
    return 2;
}

QString BandText(const Bands& bands, int band) {
    const int decimals = EdgeDecimals(bands);
    return Decimal(bands.From(band), decimals) + QChar(0x2013) + Decimal(bands.To(band), decimals);
}

QString ValueText(const MapLayout& layout, double value) {
    const int decimals = ValueDecimals(layout);
    // What rounds to zero is zero, never "-0,0".
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0;
    QString text = Decimal(value, decimals);
    if (layout.AroundZero() && value >= 0 && !text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char('+'));
    return text;
}

QString SamplesText(int64_t count) {
    static const CountText::Forms forms{QStringLiteral("замер"), QStringLiteral("замера"),
                                        QStringLiteral("замеров")};
    return CountText::Of(count, forms);
}

QString CellText(const MapLayout& layout, int row, int column, const CellStats& cell) {
    QString text = BandText(layout.speed, row) + QLatin1Char(' ') + SpeedUnit() +
                   QStringLiteral(", ") + BandText(layout.load, column) + QLatin1Char(' ') +
                   LoadUnit(layout.axis) + QStringLiteral(": ");
    if (cell.Empty())
        return text + QStringLiteral("нет замеров");
    const QString unit = ValueUnit(layout);
    text += ValueText(layout, cell.Mean());
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    return text + QStringLiteral(", ") + SamplesText(cell.count);
}

} // namespace MapNames
