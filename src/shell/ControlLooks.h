#pragma once
// The fonts, colours, frames and alignments that controls of the main window use where they
// differ from the window's own blue 11-pixel font.

#include <QColor>
#include <QString>
#include <Qt>

#include <cstddef>
#include <optional>

class QWidget;

enum class Look {
    Window,             // the window's font and colour, nothing of its own
    ServiceGroup,       // group boxes on the service pages: black caption
    AlertGroup,         // red caption
    SmallSpin,          // "MS Sans Serif" 11, window text
    LargeSpin,          // "MS Sans Serif" 21, window text
    ArialSpin,          // "Arial" 21, window text
    List,               // drop-down lists: "MS Sans Serif" 11, black
    PlainDisplay,       // window font (set again after placement), no frame
    VoltageDisplay,     // "MS Sans Serif" 15, window text, no frame
    SpeedDisplay,       // "Courier New" 17 bold, sunken, centred
    InjectionDisplay,   // "Courier New" 15 bold, sunken, left
    SupplyDisplay,      // "Courier New" 19 bold blue, sunken, centred
    SensorDisplay,      // "Courier New" 19 bold, sunken, centred
    TemperatureDisplay, // "Arial" 21 bold red on the highlight-text colour, sunken, centred
    FieldText,          // "Courier New" 13, sunken
    TrimText,           // "Courier New" 15 bold, sunken, centred
    HoursText,          // "Courier New" 13, sunken, centred
    ArialLabel,         // "Arial" 13, window text
    BoldLabel,          // "MS Sans Serif" 16 bold, window text
    GaugeLabel,         // "MS Sans Serif" 19, black, transparent, centred over a gauge
    ScaleEndRight,      // window font, transparent, at the right end of a scale
    BlackRadio,         // "MS Sans Serif" 11, black
};
inline constexpr std::size_t LookCount = static_cast<std::size_t>(Look::BlackRadio) + 1;

struct LookStyle {
    QString face; // empty: keep the inherited font
    int pixelSize = 0;
    bool bold = false;
    std::optional<QColor> colour;
    bool sunken = false;
    Qt::Alignment alignment = {};
    bool highlightTextBackground = false;
};

const LookStyle& StyleOf(Look look);

// Applies font, colour, frame and alignment; leaves everything the look does not name.
void ApplyLook(QWidget& widget, Look look);
