// Disabled controls of the main window look disabled: their text is drawn in the style's
// greyed colour, not in the window's blue or in a look's own colour.
#include "Form1.h"
#include "FormTestCase.h"

#include <QImage>
#include <QTest>

#include <memory>

namespace {

// Pixels of the picture within the rectangle that are close to the colour.
int PixelsNear(const QImage& picture, const QRect& area, const QColor& colour) {
    constexpr int Tolerance = 48;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) <= Tolerance &&
                qAbs(pixel.green() - colour.green()) <= Tolerance &&
                qAbs(pixel.blue() - colour.blue()) <= Tolerance)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestDisabledLook : public FormTestCase {
    Q_OBJECT

private slots:
    void textColourFollowsState_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("enabled");
        const QColor blue(0, 0, 255);
        const QColor black(0, 0, 0);
        QTest::newRow("Connect to COM, live") << "Connect_to_COM1" << blue << true;
        QTest::newRow("Connect to COM, connected") << "Connect_to_COM1" << blue << false;
        QTest::newRow("Close COM, connected") << "Close_COM" << blue << true;
        QTest::newRow("Close COM, at start") << "Close_COM" << blue << false;
        QTest::newRow("oxygen sensor radio, live") << "RadioButton1" << blue << true;
        QTest::newRow("oxygen sensor radio, at start") << "RadioButton1" << blue << false;
        QTest::newRow("cylinder count, live") << "SpinExtEdit2" << black << true;
        QTest::newRow("cylinder count, at start") << "SpinExtEdit2" << black << false;
    }
    void textColourFollowsState() {
        QFETCH(QString, control);
        QFETCH(QColor, colour);
        QFETCH(bool, enabled);
        auto* widget = form->findChild<QWidget*>(control);
        QVERIFY(widget);
        widget->setEnabled(enabled);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        const QImage picture = form->grab().toImage();
        const QRect area(widget->mapTo(form.get(), QPoint(0, 0)), widget->size());
        const int pixels = PixelsNear(picture, area, colour);
        if (enabled)
            QVERIFY2(pixels > 0, "live text in its colour");
        else
            QCOMPARE(pixels, 0);
    }
};

int RunDisabledLookTests(int argc, char** argv) {
    TestDisabledLook test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestDisabledLook.moc"
