#include "MapLive.h"

#include "Addresses.h"
#include "MapNames.h"

namespace {

double At(const LiveSample& sample, uint8_t address) {
    const std::optional<long double> value = sample.ValueAt(address);
    return value ? double(*value) : MapSample::Unread;
}

double ValueOf(const LiveSample& sample, const MapLayout& layout) {
    switch (layout.value) {
    case MapValue::Trim:
        return sample.trim && sample.trim->percent ? double(*sample.trim->percent)
                                                   : MapSample::Unread;
    case MapValue::Ratio: {
        const double base = At(sample, Live::BaseInjection);
        return base > 0 ? At(sample, Live::CurrentInjection) / base : MapSample::Unread;
    }
    case MapValue::OxygenVoltage:
        return At(sample, Live::OxygenVoltage);
    case MapValue::GasPressure:
        return At(sample, Live::GasPressure);
    case MapValue::Column:
        for (const LiveValue& value : sample.values)
            if (value.entry && value.entry->Name() == layout.column)
                return value.value ? double(*value.value) : MapSample::Unread;
        return MapSample::Unread;
    }
    return MapSample::Unread;
}

} // namespace

MapSample MapSampleOf(const LiveSample& sample, const MapLayout& layout, double seconds) {
    MapSample s;
    s.seconds = seconds;
    s.speed = At(sample, Live::EngineSpeed);
    s.load = At(sample,
                layout.axis == LoadAxis::Injection ? Live::BaseInjection : Live::ManifoldPressure);
    s.value = ValueOf(sample, layout);
    s.temperature = At(sample, Live::EngineTemperature);
    s.throttle = At(sample, Live::ThrottleVoltage);
    if (sample.trim)
        s.trimSource = double(sample.trim->source);
    return s;
}
