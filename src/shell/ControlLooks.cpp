#include "ControlLooks.h"

#include "AppLook.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include <array>

namespace {

using namespace AppLook;

constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignCenter;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;

} // namespace

const LookStyle& StyleOf(Look look) {
    // In the order of the enumeration.
    static const std::array<LookStyle, LookCount> styles{{
        {},                                             // Window
        {SansFace, 11, false, Black},                   // ServiceGroup
        {SansFace, 11, false, Red},                     // AlertGroup
        {SansFace, 11, false, Black},                   // SmallSpin
        {SansFace, 21, false, Black},                   // LargeSpin
        {ArialFace, 21, false, Black},                  // ArialSpin
        {SansFace, 11, false, Black},                   // List
        {SansFace, 11, false, {}, false, Left},         // PlainDisplay
        {SansFace, 15, false, Black, false, Left},      // VoltageDisplay
        {CourierFace, 17, true, Black, true, Centre},   // SpeedDisplay
        {CourierFace, 15, true, Black, true, Left},     // InjectionDisplay
        {CourierFace, 19, true, Blue, true, Centre},    // SupplyDisplay
        {CourierFace, 19, true, Black, true, Centre},   // SensorDisplay
        {ArialFace, 21, true, Red, true, Centre, true}, // TemperatureDisplay
        {CourierFace, 13, false, Black, true, Left},    // FieldText
        {CourierFace, 15, true, Black, true, Centre},   // TrimText
        {CourierFace, 13, false, Black, true, Centre},  // HoursText
        {ArialFace, 13, false, Black},                  // ArialLabel
        {SansFace, 16, true, Black},                    // BoldLabel
        {SansFace, 19, false, Black, false, Centre},    // GaugeLabel
        {{}, 0, false, {}, false, Right},               // ScaleEndRight
        {SansFace, 11, false, Black},                   // BlackRadio
    }};
    return styles[static_cast<std::size_t>(look)];
}

void ApplyLook(QWidget& widget, Look look) {
    const LookStyle& style = StyleOf(look);
    if (!style.face.isEmpty())
        widget.setFont(Font(style.face, style.pixelSize, style.bold));
    if (style.colour || style.highlightTextBackground) {
        QPalette palette = widget.palette();
        if (style.colour) {
            for (QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                SetLiveColour(palette, role, *style.colour);
        }
        if (style.highlightTextBackground) {
            palette.setColor(QPalette::Window, palette.color(QPalette::HighlightedText));
            widget.setAutoFillBackground(true);
        }
        widget.setPalette(palette);
    }
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (style.sunken) {
            label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        }
        if (style.alignment)
            label->setAlignment(style.alignment);
    }
}
