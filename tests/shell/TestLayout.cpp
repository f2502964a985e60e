// The main window's layout against its description: names, kinds, parents, captions,
// places, fonts, colours, start states, visibility and stacking, and the creation order that
// InitAll and PassAll follow.
#include "ExpectedLayout.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "FormTestCase.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace {

QColor ColourOf(char code) {
    switch (code) {
    case 'B':
        return QColor(0, 0, 255);
    case 'R':
        return QColor(255, 0, 0);
    default:
        return QColor(0, 0, 0);
    }
}

QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    if (auto* display = qobject_cast<TExtText*>(widget))
        return display->ValueCaption();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    return QString();
}

// The page control of a tab page, or null.
QTabWidget* PageControlOf(QWidget* page) {
    for (QWidget* up = page->parentWidget(); up; up = up->parentWidget()) {
        if (auto* pages = qobject_cast<QTabWidget*>(up))
            return pages->indexOf(page) >= 0 ? pages : nullptr;
    }
    return nullptr;
}

QStringList NamesOfClass(const ComponentList& components, const char* className) {
    QStringList names;
    for (const QPointer<QObject>& component : components.Items()) {
        if (component && qstrcmp(component->metaObject()->className(), className) == 0)
            names.append(component->objectName());
    }
    return names;
}

} // namespace

class TestLayout : public FormTestCase {
    Q_OBJECT

    QWidget* Find(const char* name) const {
        const auto found = form->findChildren<QWidget*>(QString::fromUtf8(name));
        return found.size() == 1 ? found.first() : nullptr;
    }

private slots:
    void control_data() {
        QTest::addColumn<int>("row");
        const ExpectedTable table = ExpectedMainWindow();
        for (int i = 0; i < table.count; ++i)
            QTest::newRow(table.rows[i].name) << i;
    }
    void control() {
        QFETCH(int, row);
        const ExpectedControl& expected = ExpectedMainWindow().rows[row];
        QWidget* widget = Find(expected.name);
        QVERIFY2(widget, "exactly one widget of this name");
        QCOMPARE(widget->metaObject()->className(), expected.className);

        const QString parentName = QString::fromUtf8(expected.parent);
        if (QTabWidget* pages = PageControlOf(widget)) {
            QCOMPARE(pages->objectName(), parentName);
            QCOMPARE(pages->tabText(pages->indexOf(widget)), ExpandBlanks(expected.caption));
        } else {
            QVERIFY(widget->parentWidget());
            QCOMPARE(widget->parentWidget()->objectName(), parentName);
            QCOMPARE(CaptionOf(widget), ExpandBlanks(expected.caption));
        }

        if (!expected.place.isNull())
            QCOMPARE(widget->geometry(), expected.place);

        const QFont font = widget->font();
        QCOMPARE(QFontInfo(font).family(), QString::fromUtf8(expected.font.family));
        QCOMPARE(font.pixelSize(), expected.font.pixelSize);
        QCOMPARE(font.bold(), expected.font.bold);
        // The colour of the live control; a disabled one shows the style's greyed colour.
        if (expected.colour != '-')
            QCOMPARE(widget->palette().color(QPalette::Active, QPalette::WindowText),
                     ColourOf(expected.colour));

        // Pages other than the current one are hidden by their page control.
        if (!PageControlOf(widget))
            QCOMPARE(widget->isHidden(), expected.start == 'H');
        if (expected.start != 'H')
            QCOMPARE(widget->isEnabled(), expected.start == 'E');
    }

    // Controls whose place the description leaves open lie inside their parent.
    void chosenPlacesInsideParent() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (const ExpectedControl& expected : ExpectedMainWindow()) {
            QWidget* widget = Find(expected.name);
            if (!expected.place.isNull() || PageControlOf(widget) ||
                qobject_cast<QTabWidget*>(widget))
                continue;
            QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), expected.name);
        }
    }

    // Fixed texts are not cut off by the size chosen for their control.
    void fixedTextsFit() {
        for (QWidget* widget : form->centralWidget()->findChildren<QWidget*>()) {
            const bool fixedText =
                (qobject_cast<QLabel*>(widget) && !qobject_cast<TExtText*>(widget) &&
                 !widget->objectName().startsWith(QLatin1String("Static"))) ||
                qobject_cast<QRadioButton*>(widget) || qobject_cast<QPushButton*>(widget);
            if (!fixedText || widget->objectName().isEmpty())
                continue;
            QVERIFY2(widget->sizeHint().width() <= widget->width(),
                     qPrintable(widget->objectName()));
        }
    }

    void membersMatchTheirNames() {
        for (const ControlRow& row : MainWindowLayout()) {
            std::visit(
                [&](auto member) {
                    QVERIFY((*form).*member);
                    QCOMPARE(((*form).*member)->objectName(), QString::fromUtf8(row.name));
                },
                row.member);
        }
    }

    void componentsInCreationOrder() {
        QStringList expected;
        for (const ExpectedControl& row : ExpectedMainWindow())
            expected.append(QString::fromUtf8(row.name));
        QStringList actual;
        for (const QPointer<QObject>& component : form->Components.Items())
            actual.append(component->objectName());
        QCOMPARE(actual.mid(0, expected.size()), expected);
        for (const char* nonVisual : {"MainMenu1", "N1", "N2", "N3", "N4", "N5", "N6", "N7",
                                      "Timer2", "OpenDialog1", "SaveDialog1"})
            QVERIFY2(actual.mid(expected.size()).contains(QLatin1String(nonVisual)), nonVisual);
    }

    void everyValueControlListedOnce() {
        const QStringList spins = NamesOfClass(form->Components, "TSpinExtEdit");
        QCOMPARE(spins.size(), 43);
        for (int n = 1; n <= 43; ++n)
            QCOMPARE(spins.count(QStringLiteral("SpinExtEdit%1").arg(n)), 1);
        const QStringList displays = NamesOfClass(form->Components, "TExtText");
        QCOMPARE(displays.size(), 10);
        for (int n = 1; n <= 10; ++n)
            QCOMPARE(displays.count(QStringLiteral("ExtText%1").arg(n)), 1);
        // The first reads when the connection opens: the monitor, then the engine page.
        QCOMPARE(spins.mid(0, 4),
                 (QStringList{"SpinExtEdit6", "SpinExtEdit2", "SpinExtEdit9", "SpinExtEdit19"}));
        QCOMPARE(displays.mid(0, 3), (QStringList{"ExtText2", "ExtText4", "ExtText3"}));
    }

    void smallSpinEditsAre21High() {
        QCOMPARE(form->SpinExtEdit2->height(), 21);
        QCOMPARE(form->SpinExtEdit9->height(), 21);
        QCOMPARE(form->SpinExtEdit19->height(), 25);
    }

    void pagesAtStart() {
        QCOMPARE(form->PageControl1->currentWidget(), form->TabSheet2);
        QCOMPARE(form->PageControl3->currentWidget(), form->TabSheet6);
        QCOMPARE(form->PageControl4->currentWidget(), form->TabSheet9);
        QCOMPARE(form->PageControl1->count(), 3);
        QCOMPARE(form->PageControl2->count(), 1);
        QCOMPARE(form->PageControl3->count(), 3);
        QCOMPARE(form->PageControl4->count(), 8);
    }

    void nestedPageControlsFillTheirPage() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->PageControl3->geometry(), form->TabSheet2->rect());
        form->PageControl1->setCurrentWidget(form->TabSheet3);
        QTRY_COMPARE(form->PageControl2->geometry(), form->TabSheet3->rect());
    }

    void listsArePickOnlyWithNoItemSelected_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("ComboBox1")
            << "ComboBox1" << QStringList{"Нормально закрытый", "Нормально открытый"};
        QTest::newRow("ComboBox2")
            << "ComboBox2" << QStringList{"Нормально открытый", "Нормально закрытый"};
        QTest::newRow("ComboBox3")
            << "ComboBox3"
            << QStringList{"На газе или бензине", "Только на бензине", "Автоопределение"};
        QTest::newRow("ComboBox4") << "ComboBox4"
                                   << QStringList{"Потенциометр прямой", "Потенциометр обратный",
                                                  "Конц. выкл. прямой", "Конц. выкл. обратный"};
    }
    void listsArePickOnlyWithNoItemSelected() {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        auto* list = form->findChild<QComboBox*>(name);
        QVERIFY(list);
        QVERIFY(!list->isEditable());
        QCOMPARE(list->currentIndex(), -1);
        QStringList actual;
        for (int i = 0; i < list->count(); ++i)
            actual.append(list->itemText(i));
        QCOMPARE(actual, items);
    }

    void radioPairsStartWithNothingSelected() {
        for (QRadioButton* button : {form->RadioButton1, form->RadioButton2, form->RadioButton3,
                                     form->RadioButton4, form->RadioButton5, form->RadioButton6})
            QVERIFY2(!button->isChecked(), qPrintable(button->objectName()));
        // Each pair is exclusive within its own box.
        form->RadioButton3->setChecked(true);
        form->RadioButton5->setChecked(true);
        form->RadioButton4->setChecked(true);
        QVERIFY(!form->RadioButton3->isChecked());
        QVERIFY(form->RadioButton5->isChecked());
    }

    void trackBars_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("position");
        QTest::newRow("quality") << "TrackBar1" << 4 << 0;
        QTest::newRow("damping") << "TrackBar2" << 5 << 3;
    }
    void trackBars() {
        QFETCH(QString, name);
        QFETCH(int, last);
        QFETCH(int, position);
        auto* slider = form->findChild<QSlider*>(name);
        QVERIFY(slider);
        QCOMPARE(slider->orientation(), Qt::Horizontal);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), last);
        QCOMPARE(slider->value(), position);
        QCOMPARE(slider->tickPosition(), QSlider::TicksBelow);
        QCOMPARE(slider->tickInterval(), 1);
    }

    void gauges_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("full");
        QTest::newRow("gas pressure") << "Gauge1" << 500;
        QTest::newRow("manifold pressure") << "Gauge2" << 100;
        QTest::newRow("acceleration response") << "Gauge3" << 60;
        QTest::newRow("idle time") << "Gauge4" << 80;
    }
    void gauges() {
        QFETCH(QString, name);
        QFETCH(int, full);
        auto* gauge = form->findChild<QProgressBar*>(name);
        QVERIFY(gauge);
        QCOMPARE(gauge->minimum(), 0);
        QCOMPARE(gauge->maximum(), full);
        QCOMPARE(gauge->value(), 0);
        QVERIFY(!gauge->isTextVisible());
        QCOMPARE(gauge->palette().color(QPalette::Highlight), QColor(0, 255, 0));
    }

    void framedTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("sunken");
        QTest::addColumn<int>("horizontal");
        QTest::newRow("ExtText1") << "ExtText1" << false << int(Qt::AlignLeft);
        QTest::newRow("ExtText2") << "ExtText2" << true << int(Qt::AlignHCenter);
        QTest::newRow("ExtText3") << "ExtText3" << true << int(Qt::AlignLeft);
        QTest::newRow("ExtText4") << "ExtText4" << true << int(Qt::AlignLeft);
        QTest::newRow("ExtText5") << "ExtText5" << false << int(Qt::AlignLeft);
        QTest::newRow("ExtText6") << "ExtText6" << true << int(Qt::AlignHCenter);
        QTest::newRow("ExtText7") << "ExtText7" << true << int(Qt::AlignHCenter);
        QTest::newRow("ExtText8") << "ExtText8" << false << int(Qt::AlignLeft);
        QTest::newRow("ExtText9") << "ExtText9" << true << int(Qt::AlignHCenter);
        QTest::newRow("ExtText10") << "ExtText10" << true << int(Qt::AlignHCenter);
        QTest::newRow("StaticText1") << "StaticText1" << true << int(Qt::AlignLeft);
        QTest::newRow("StaticText2") << "StaticText2" << true << int(Qt::AlignHCenter);
        QTest::newRow("StaticText3") << "StaticText3" << true << int(Qt::AlignLeft);
        QTest::newRow("StaticText4") << "StaticText4" << true << int(Qt::AlignHCenter);
    }
    void framedTexts() {
        QFETCH(QString, name);
        QFETCH(bool, sunken);
        QFETCH(int, horizontal);
        auto* text = form->findChild<QLabel*>(name);
        QVERIFY(text);
        QCOMPARE(text->frameShape() != QFrame::NoFrame, sunken);
        if (sunken)
            QCOMPARE(text->frameShadow(), QFrame::Sunken);
        QCOMPARE(int(text->alignment() & Qt::AlignHorizontal_Mask), horizontal);
    }

    void temperatureOnHighlightTextColour() {
        QVERIFY(form->ExtText9->autoFillBackground());
        QCOMPARE(form->ExtText9->palette().color(QPalette::Window),
                 form->palette().color(QPalette::HighlightedText));
    }

    void gaugeLabelsAreTransparentAndAboveTheirGauge() {
        const std::pair<QLabel*, QProgressBar*> pairs[] = {{form->Label18, form->Gauge1},
                                                           {form->Label12, form->Gauge2},
                                                           {form->Label17, form->Gauge3},
                                                           {form->Label6, form->Gauge4}};
        for (const auto& [label, gauge] : pairs) {
            QVERIFY(!label->autoFillBackground());
            QVERIFY(gauge->geometry().contains(label->geometry().center()));
            const QObjectList siblings = gauge->parentWidget()->children();
            QVERIFY(siblings.indexOf(label) > siblings.indexOf(gauge));
        }
    }

    void accelerationBoxesNeverSeen() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int page : {1, 2}) {
            form->PageControl3->setCurrentIndex(page);
            QApplication::processEvents();
        }
        for (QGroupBox* box : {form->GroupBox13, form->GroupBox24}) {
            QVERIFY(!box->isHidden());
            QVERIFY(!box->parentWidget()->rect().intersects(box->geometry()));
        }
        form->PageControl3->setCurrentWidget(form->TabSheet7);
        QTRY_VERIFY(form->SpinExtEdit20->isVisible());
        QVERIFY(form->SpinExtEdit12->visibleRegion().isEmpty());
        QVERIFY(form->SpinExtEdit13->visibleRegion().isEmpty());
        form->PageControl3->setCurrentWidget(form->TabSheet1);
        QTRY_VERIFY(form->SpinExtEdit3->isVisible());
        QVERIFY(form->SpinExtEdit4->visibleRegion().isEmpty());
        QVERIFY(form->SpinExtEdit5->visibleRegion().isEmpty());
    }

    void stacking() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->PageControl1->setCurrentWidget(form->TabSheet4);
        QTRY_VERIFY(form->TabSheet4->isVisible());

        // The hidden service set would cover the running-hours box if shown.
        const QPoint hoursCentre = form->GroupBox19->geometry().center();
        QWidget* top = form->TabSheet4->childAt(hoursCentre);
        QVERIFY(top == form->GroupBox19 || form->GroupBox19->isAncestorOf(top));
        form->PageControl4->show();
        top = form->TabSheet4->childAt(hoursCentre);
        QVERIFY(top == form->PageControl4 || form->PageControl4->isAncestorOf(top));

        // Both gas boxes are visible at start; the reducer box lies above the calibration box.
        form->PageControl4->setCurrentWidget(form->TabSheet10);
        QTRY_VERIFY(form->GroupBox35->isVisible() && form->GroupBox30->isVisible());
        const QPoint gasCentre = form->GroupBox35->geometry().center();
        top = form->TabSheet10->childAt(gasCentre);
        QVERIFY(top == form->GroupBox30 || form->GroupBox30->isAncestorOf(top));
        QVERIFY(form->GroupBox30->autoFillBackground());
        form->GroupBox30->hide();
        top = form->TabSheet10->childAt(gasCentre);
        QVERIFY(top == form->GroupBox35 || form->GroupBox35->isAncestorOf(top));
    }

    void resizingLeavesEveryControlInPlace_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("enlarged") << QSize(900, 700);
        QTest::newRow("shrunk") << QSize(300, 200);
    }
    void resizingLeavesEveryControlInPlace() {
        QFETCH(QSize, size);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QHash<QWidget*, QRect> before;
        const auto controls = form->centralWidget()->findChildren<QWidget*>();
        for (QWidget* widget : controls)
            before.insert(widget, QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size()));
        form->resize(size);
        QTRY_COMPARE(form->size(), size);
        for (QWidget* widget : controls) {
            QCOMPARE(QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size()),
                     before.value(widget));
        }
        // No scroll area comes between the window and its controls.
        QCOMPARE(form->centralWidget()->parentWidget(), form.get());
    }

    void masksSetAtCreation() {
        form->ExtText9->SetValue(87);
        QCOMPARE(form->ExtText9->text(), QStringLiteral("  87°С "));
        form->SpinExtEdit22->SetValueMax(100);
        form->SpinExtEdit22->SetValue(45);
        QCOMPARE(form->SpinExtEdit22->text(), QStringLiteral(" 45 °С"));
        // Degree sign followed by the Cyrillic capital Es, not the Latin C.
        QVERIFY(form->ExtText9->ValueFormat().endsWith(QStringLiteral("\u00B0\u0421")));
        QVERIFY(form->SpinExtEdit22->ValueFormat().endsWith(QStringLiteral(" \u00B0\u0421")));
    }

    void keyboardOrder() {
        QList<QWidget*> chain;
        QWidget* widget = form->Connect_to_COM1;
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                chain.append(widget);
            widget = widget->nextInFocusChain();
        } while (widget != form->Connect_to_COM1);
        QCOMPARE(chain.value(0), form->Connect_to_COM1);
        QCOMPARE(chain.value(1), form->Close_COM);
        const int monitor = chain.indexOf(form->SpinExtEdit6);
        QVERIFY(monitor > 1);
        for (int i = 2; i < monitor; ++i)
            QVERIFY(form->PageControl1->isAncestorOf(chain.at(i)));
    }
};

int RunLayoutTests(int argc, char** argv) {
    TestLayout test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestLayout.moc"
