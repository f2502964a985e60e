#pragma once
// The look the whole program relies on: pixel layout at 96 dpi without scaling, the Fusion
// style, and the Windows font names of the window description mapped to metric-compatible
// Linux fonts.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

namespace AppLook {

// Must run before the application object exists. Leaves variables the user set alone.
void PrepareEnvironment();

// Style and font substitutions; run once the application object exists.
void Install();

inline const QString SansFace = QStringLiteral("MS Sans Serif");
inline const QString ArialFace = QStringLiteral("Arial");
inline const QString CourierFace = QStringLiteral("Courier New");

// A font of the given face, pixel height and weight.
QFont Font(const QString& face, int pixelSize, bool bold = false);

// The main window's font: "MS Sans Serif" 11 pixels.
QFont WindowFont();

// Gives a role its colour while the control is enabled, in an active or an inactive window;
// a disabled control keeps the style's greyed colour and so looks disabled.
void SetLiveColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour);

inline const QColor Blue{0, 0, 255};
inline const QColor Red{255, 0, 0};
inline const QColor Black{0, 0, 0};
inline const QColor Lime{0, 255, 0};

} // namespace AppLook
