#include "AppLook.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

namespace AppLook {

namespace {

// Fusion with the compact page tabs and the 15-pixel slider thumb of the window description,
// so that the three page captions fit the 216-pixel page control.
class CompactStyle : public QProxyStyle {
public:
    CompactStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_TabBarTabHSpace:
            return 12;
        case PM_TabBarTabVSpace:
            return 6;
        case PM_SliderLength:
            return 15;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

void SetIfUnset(const char* name, const QByteArray& value) {
    if (!qEnvironmentVariableIsSet(name))
        qputenv(name, value);
}

} // namespace

void PrepareEnvironment() {
    SetIfUnset("QT_ENABLE_HIGHDPI_SCALING", "0");
    SetIfUnset("QT_FONT_DPI", "96");
}

void Install() {
    QApplication::setStyle(new CompactStyle); // the application owns its style
    const QString sans = QStringLiteral("Liberation Sans");
    QFont::insertSubstitution(SansFace, sans);
    QFont::insertSubstitution(ArialFace, sans);
    QFont::insertSubstitution(CourierFace, QStringLiteral("Liberation Mono"));
}

QFont Font(const QString& face, int pixelSize, bool bold) {
    QFont font(face);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont WindowFont() {
    return Font(SansFace, 11);
}

void SetLiveColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, role, colour);
}

} // namespace AppLook
