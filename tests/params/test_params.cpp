// Parameter bindings, option selectors and the live monitor against an emulated controller.

#include "Form1.h"
#include "FrameLog.h"
#include "GoodReads.h"
#include "Monitor.h"
#include "ParamsFixture.h"
#include "Protocol.h"
#include "Scaling.h"
#include "Selectors.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "WindowSession.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

TSpinExtEdit* Spin(TForm1& form, const QString& name) {
    auto* edit = form.findChild<TSpinExtEdit*>(name);
    if (!edit)
        qFatal("no spin edit %s", qPrintable(name));
    return edit;
}

TExtText* DisplayNamed(TForm1& form, const QString& name) {
    auto* display = form.findChild<TExtText*>(name);
    if (!display)
        qFatal("no display %s", qPrintable(name));
    return display;
}

QStringList Writes(const q5emu::Q5Emulator& controller) {
    QStringList writes;
    for (const auto& frame : controller.frameLog())
        if (frame.command == CmdWriteParam || frame.command == CmdWriteLive)
            writes << Triple(frame.command, frame.address, frame.value);
    return writes;
}

} // namespace

class ParamsTest : public QObject {
    Q_OBJECT

private slots:
    void wordRounding_data();
    void wordRounding();
    void spinRead_data();
    void spinRead();
    void spinWrite_data();
    void spinWrite();
    void failedReadKeepsOrTakes_data();
    void failedReadKeepsOrTakes();
    void sharedEnrichmentBinding();
    void zeroPressureTwinNeverWrites();
    void accelerationResponseWritesBothSpacesOnlyWithFocus();
    void displayQuery_data();
    void displayQuery();
    void lists_data();
    void lists();
    void listChoiceWritesIndex();
    void coils_data();
    void coils();
    void cylinders_data();
    void cylinders();
    void damping_data();
    void damping();
    void slopeCorrection();
    void statusLine_data();
    void statusLine();
    void oxygenSensorFollowsController();
    void monitorTick_data();
    void monitorTick();
    void idleGauge_data();
    void idleGauge();
    void startMonitorWithoutGasSensor();
    void typingSurvivesTicks();
    void failedOptionReadsWriteNothing_data();
    void failedOptionReadsWriteNothing();
};

void ParamsTest::wordRounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("word");
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("-512") << -512.0 << 65024;
    QTest::newRow("65536 wraps") << 65536.0 << 0;
    QTest::newRow("-0.4") << -0.4 << 0;
}

void ParamsTest::wordRounding() {
    QFETCH(double, value);
    QFETCH(int, word);
    QCOMPARE(RoundToWord(value), word);
}

void ParamsTest::spinRead_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("shown");
    QTest::newRow("SpinExtEdit6 P88/1024") << "SpinExtEdit6" << 88 << 1536 << " 1.50";
    QTest::newRow("SpinExtEdit9 P39+1")
        << "SpinExtEdit9" << 39 << 0 << QString(19, ' ') + "1 катушка";
    QTest::newRow("SpinExtEdit9 P39=5 unclamped")
        << "SpinExtEdit9" << 39 << 5 << QString(19, ' ') + "6 катушки";
    QTest::newRow("SpinExtEdit2 P71")
        << "SpinExtEdit2" << 71 << 6 << QString(17, ' ') + "6 цилиндров";
    QTest::newRow("SpinExtEdit19 P56/1000") << "SpinExtEdit19" << 56 << 1250 << " 1.25 Volt";
    QTest::newRow("SpinExtEdit20 P61*0.1") << "SpinExtEdit20" << 61 << 250 << " 25 %";
    QTest::newRow("SpinExtEdit12 P61") << "SpinExtEdit12" << 61 << 250 << " 25 %";
    QTest::newRow("SpinExtEdit4 P61") << "SpinExtEdit4" << 61 << 250 << " 25 %";
    QTest::newRow("SpinExtEdit18 P57") << "SpinExtEdit18" << 57 << 1800 << " 1800 Об/мин";
    QTest::newRow("SpinExtEdit24 P64") << "SpinExtEdit24" << 64 << 105 << " 11 %";
    QTest::newRow("SpinExtEdit3 P92") << "SpinExtEdit3" << 92 << 5200 << " 5200 Об/мин";
    QTest::newRow("SpinExtEdit16 P59") << "SpinExtEdit16" << 59 << 4300 << " 4.3 V";
    QTest::newRow("SpinExtEdit17 P60") << "SpinExtEdit17" << 60 << 1150 << " 1.2 V";
    QTest::newRow("SpinExtEdit22 P40") << "SpinExtEdit22" << 40 << 2930 << " 20 °С";
    QTest::newRow("SpinExtEdit22 P40=0") << "SpinExtEdit22" << 40 << 0 << " -273 °С";
    QTest::newRow("SpinExtEdit27 P90") << "SpinExtEdit27" << 90 << 15 << " 1.5 %";
    QTest::newRow("SpinExtEdit29 P63") << "SpinExtEdit29" << 63 << 12 << " 12 Cек";
    QTest::newRow("SpinExtEdit28 P89") << "SpinExtEdit28" << 89 << 123 << " 12.3кП";
    QTest::newRow("SpinExtEdit43 P89") << "SpinExtEdit43" << 89 << 15 << " 1.50mS";
    QTest::newRow("SpinExtEdit39 P42")
        << "SpinExtEdit39" << 42 << 512 << " " + QString(12, ' ') + "50.0 %";
    QTest::newRow("SpinExtEdit39 P42=65024")
        << "SpinExtEdit39" << 42 << 65024 << " " + QString(12, ' ') + "6350.0 %";
    QTest::newRow("SpinExtEdit30 P76") << "SpinExtEdit30" << 76 << 500 << " 0.50 V";
    QTest::newRow("SpinExtEdit32 P77") << "SpinExtEdit32" << 77 << 1000 << " 100.0 кПa";
    QTest::newRow("SpinExtEdit31 P78") << "SpinExtEdit31" << 78 << 4500 << " 4.50 V";
    QTest::newRow("SpinExtEdit33 P79") << "SpinExtEdit33" << 79 << 4000 << " 400.0 кПa";
    QTest::newRow("SpinExtEdit8 P95") << "SpinExtEdit8" << 95 << 1500 << " 150.0 кПа";
    QTest::newRow("SpinExtEdit7 P94") << "SpinExtEdit7" << 94 << 1400 << " 140.0 кПа";
    QTest::newRow("SpinExtEdit14 P72") << "SpinExtEdit14" << 72 << 400 << " 0.40 V";
    QTest::newRow("SpinExtEdit21 P73") << "SpinExtEdit21" << 73 << 200 << " 20.0 кПa";
    QTest::newRow("SpinExtEdit15 P74") << "SpinExtEdit15" << 74 << 4650 << " 4.65 V";
    QTest::newRow("SpinExtEdit23 P75") << "SpinExtEdit23" << 75 << 1020 << " 102.0 кПa";
    QTest::newRow("SpinExtEdit10 P67") << "SpinExtEdit10" << 67 << 450 << " 0.45 V";
    QTest::newRow("SpinExtEdit11 P66") << "SpinExtEdit11" << 66 << 550 << " 0.55 V";
    QTest::newRow("SpinExtEdit35 P53*0.02") << "SpinExtEdit35" << 53 << 25 << " 0.50 Cек";
    QTest::newRow("SpinExtEdit36 P54") << "SpinExtEdit36" << 54 << 3 << " 0.3 %";
    QTest::newRow("SpinExtEdit37 P50") << "SpinExtEdit37" << 50 << 250 << " 25 %";
    QTest::newRow("SpinExtEdit38 P52") << "SpinExtEdit38" << 52 << 40 << " 40 Сек";
    QTest::newRow("SpinExtEdit1 P48") << "SpinExtEdit1" << 48 << 5000 << " Vref 5.00 Volt";
    QTest::newRow("SpinExtEdit25 P69") << "SpinExtEdit25" << 69 << 4500 << " 4500 Об/мин";
    QTest::newRow("SpinExtEdit26 P86") << "SpinExtEdit26" << 86 << 950 << " 95.0 кПа";
    QTest::newRow("SpinExtEdit34 P87=1024") << "SpinExtEdit34" << 87 << 1024 << "  0.0 %";
    QTest::newRow("SpinExtEdit34 P87=1536") << "SpinExtEdit34" << 87 << 1536 << "  50.0 %";
    QTest::newRow("SpinExtEdit40 P82") << "SpinExtEdit40" << 82 << 1500 << " 1.50";
    QTest::newRow("SpinExtEdit41 P80") << "SpinExtEdit41" << 80 << 2500 << " 250.0кП";
    QTest::newRow("SpinExtEdit42 P81") << "SpinExtEdit42" << 81 << 350 << " 35.0кП";
}

void ParamsTest::spinRead() {
    QFETCH(QString, control);
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(QString, shown);
    ParamsFixture fx;
    fx.controller().setParam(static_cast<uint8_t>(address), static_cast<uint16_t>(word));
    TSpinExtEdit* edit = Spin(fx.form(), control);
    edit->Init();
    QCOMPARE(edit->text(), shown);
    QVERIFY(edit->isEnabled());
    QCOMPARE(FrameTriples(fx.controller()).value(0), Triple(CmdReadParam, address, 0));
}

void ParamsTest::spinWrite_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("value");
    QTest::addColumn<QStringList>("writes");
    const auto w = [](int address, int word) { return Triple(CmdWriteParam, address, word); };
    QTest::newRow("SpinExtEdit19") << "SpinExtEdit19" << 1.25 << QStringList{w(56, 1250)};
    QTest::newRow("SpinExtEdit20 v/0.1") << "SpinExtEdit20" << 25.0 << QStringList{w(61, 250)};
    QTest::newRow("SpinExtEdit12") << "SpinExtEdit12" << 30.0 << QStringList{w(61, 300)};
    QTest::newRow("SpinExtEdit4") << "SpinExtEdit4" << 35.0 << QStringList{w(61, 350)};
    QTest::newRow("SpinExtEdit18") << "SpinExtEdit18" << 1850.0 << QStringList{w(57, 1850)};
    QTest::newRow("SpinExtEdit24") << "SpinExtEdit24" << 12.0 << QStringList{w(64, 120)};
    QTest::newRow("SpinExtEdit3") << "SpinExtEdit3" << 5100.0 << QStringList{w(92, 5100)};
    QTest::newRow("SpinExtEdit16") << "SpinExtEdit16" << 4.3 << QStringList{w(59, 4300)};
    QTest::newRow("SpinExtEdit17") << "SpinExtEdit17" << 0.1 << QStringList{w(60, 100)};
    QTest::newRow("SpinExtEdit22 20 °C") << "SpinExtEdit22" << 20.0 << QStringList{w(40, 2930)};
    QTest::newRow("SpinExtEdit27") << "SpinExtEdit27" << 1.5 << QStringList{w(90, 15)};
    QTest::newRow("SpinExtEdit29") << "SpinExtEdit29" << 12.0 << QStringList{w(63, 12)};
    QTest::newRow("SpinExtEdit28") << "SpinExtEdit28" << 12.3 << QStringList{w(89, 123)};
    QTest::newRow("SpinExtEdit39 -50 %") << "SpinExtEdit39" << -50.0 << QStringList{w(42, 65024)};
    QTest::newRow("SpinExtEdit39 50 %") << "SpinExtEdit39" << 50.0 << QStringList{w(42, 512)};
    QTest::newRow("SpinExtEdit30") << "SpinExtEdit30" << 0.5 << QStringList{w(76, 500)};
    QTest::newRow("SpinExtEdit32") << "SpinExtEdit32" << 100.0 << QStringList{w(77, 1000)};
    QTest::newRow("SpinExtEdit31") << "SpinExtEdit31" << 4.5 << QStringList{w(78, 4500)};
    QTest::newRow("SpinExtEdit33") << "SpinExtEdit33" << 400.0 << QStringList{w(79, 4000)};
    QTest::newRow("SpinExtEdit8") << "SpinExtEdit8" << 150.0 << QStringList{w(95, 1500)};
    QTest::newRow("SpinExtEdit7") << "SpinExtEdit7" << 140.0 << QStringList{w(94, 1400)};
    QTest::newRow("SpinExtEdit14") << "SpinExtEdit14" << 0.4 << QStringList{w(72, 400)};
    QTest::newRow("SpinExtEdit21") << "SpinExtEdit21" << 20.0 << QStringList{w(73, 200)};
    QTest::newRow("SpinExtEdit15") << "SpinExtEdit15" << 4.65 << QStringList{w(74, 4650)};
    QTest::newRow("SpinExtEdit23") << "SpinExtEdit23" << 102.0 << QStringList{w(75, 1020)};
    QTest::newRow("SpinExtEdit10") << "SpinExtEdit10" << 0.45 << QStringList{w(67, 450)};
    QTest::newRow("SpinExtEdit11") << "SpinExtEdit11" << 0.55 << QStringList{w(66, 550)};
    QTest::newRow("SpinExtEdit35 v/0.02") << "SpinExtEdit35" << 0.5 << QStringList{w(53, 25)};
    QTest::newRow("SpinExtEdit36") << "SpinExtEdit36" << 0.3 << QStringList{w(54, 3)};
    QTest::newRow("SpinExtEdit37") << "SpinExtEdit37" << 25.0 << QStringList{w(50, 250)};
    QTest::newRow("SpinExtEdit38") << "SpinExtEdit38" << 40.0 << QStringList{w(52, 40)};
    QTest::newRow("SpinExtEdit1") << "SpinExtEdit1" << 5.0 << QStringList{w(48, 5000)};
    QTest::newRow("SpinExtEdit25") << "SpinExtEdit25" << 4500.0 << QStringList{w(69, 4500)};
    QTest::newRow("SpinExtEdit26") << "SpinExtEdit26" << 95.0 << QStringList{w(86, 950)};
    QTest::newRow("SpinExtEdit34 minimum")
        << "SpinExtEdit34" << 0.0000001 << QStringList{w(87, 1024)};
    QTest::newRow("SpinExtEdit34 50 %") << "SpinExtEdit34" << 50.0 << QStringList{w(87, 1536)};
    QTest::newRow("SpinExtEdit40") << "SpinExtEdit40" << 1.5 << QStringList{w(82, 1500)};
    QTest::newRow("SpinExtEdit41 v*10") << "SpinExtEdit41" << 250.0 << QStringList{w(80, 2500)};
    QTest::newRow("SpinExtEdit42") << "SpinExtEdit42" << 35.0 << QStringList{w(81, 350)};
    QTest::newRow("SpinExtEdit9 one coil") << "SpinExtEdit9" << 1.0 << QStringList{w(39, 0)};
    QTest::newRow("SpinExtEdit2 seven")
        << "SpinExtEdit2" << 7.0 << QStringList{w(96, 4161), w(71, 7)};
}

void ParamsTest::spinWrite() {
    QFETCH(QString, control);
    QFETCH(double, value);
    QFETCH(QStringList, writes);
    ParamsFixture fx;
    TSpinExtEdit* edit = Spin(fx.form(), control);
    QVERIFY(edit->onChangeValue);
    edit->onChangeValue(edit, 0, static_cast<long double>(value));
    QCOMPARE(Writes(fx.controller()), writes);
}

void ParamsTest::failedReadKeepsOrTakes_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("address");
    QTest::newRow("SpinExtEdit20") << "SpinExtEdit20" << 61;
    QTest::newRow("SpinExtEdit39") << "SpinExtEdit39" << 42;
    QTest::newRow("SpinExtEdit40") << "SpinExtEdit40" << 82;
    QTest::newRow("SpinExtEdit9") << "SpinExtEdit9" << 39;
    QTest::newRow("SpinExtEdit2") << "SpinExtEdit2" << 71;
    QTest::newRow("SpinExtEdit19") << "SpinExtEdit19" << 56;
    QTest::newRow("SpinExtEdit18") << "SpinExtEdit18" << 57;
    QTest::newRow("SpinExtEdit1") << "SpinExtEdit1" << 48;
    QTest::newRow("SpinExtEdit29") << "SpinExtEdit29" << 63;
}

// A failed read never shows the word that the previous exchange left behind; a control that
// never had a good read stays as "Close COM" left it, so that no step is taken from nothing.
void ParamsTest::failedReadKeepsOrTakes() {
    QFETCH(QString, control);
    QFETCH(int, address);
    ParamsFixture fx;
    TSpinExtEdit* edit = Spin(fx.form(), control);
    edit->Init();
    const QString before = edit->text();
    // The last good reply carries 4000 (from P92); a failed read finds it in ReplyValue.
    fx.controller().setParam(92, 4000);
    QVERIFY(SendCommand(CmdReadParam, 92, 0));
    q5emu::FaultSpec silence;
    silence.mode = q5emu::FaultMode::Silence;
    silence.address = static_cast<uint8_t>(address);
    fx.controller().setFault(silence);
    edit->Init();
    QCOMPARE(edit->text(), before);
    QVERIFY(edit->isEnabled());

    GoodReadsOf(fx.form()).ForgetAll();
    edit->Pass();
    const QString passed = edit->text();
    edit->Init();
    QCOMPARE(edit->text(), passed);
    QVERIFY(!edit->isEnabled());
}

void ParamsTest::sharedEnrichmentBinding() {
    ParamsFixture fx;
    fx.controller().setParam(61, 100);
    TSpinExtEdit::InitAll(fx.form().Components);
    fx.form().SpinExtEdit20->onChangeValue(fx.form().SpinExtEdit20, 10, 40);
    QCOMPARE(fx.controller().param(61), 400);
    QCOMPARE(fx.form().SpinExtEdit12->text(), QStringLiteral(" 10 %"));
    TSpinExtEdit::InitAll(fx.form().Components);
    QCOMPARE(fx.form().SpinExtEdit12->text(), QStringLiteral(" 40 %"));
    QCOMPARE(fx.form().SpinExtEdit4->text(), QStringLiteral(" 40 %"));
}

void ParamsTest::zeroPressureTwinNeverWrites() {
    ParamsFixture fx;
    QVERIFY(!fx.form().SpinExtEdit43->onChangeValue);
    QVERIFY(!fx.form().SpinExtEdit13->onInit);
    QVERIFY(!fx.form().SpinExtEdit5->onInit);
    QVERIFY(!fx.form().SpinExtEdit13->onChangeValue);
}

void ParamsTest::accelerationResponseWritesBothSpacesOnlyWithFocus() {
    ParamsFixture fx;
    TForm1& form = fx.form();
    form.show();
    form.Panel3->show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.SpinExtEdit6->Init();
    fx.controller().clearLog();
    form.SpinExtEdit6->onChangeValue(form.SpinExtEdit6, 0, 0.05L);
    QCOMPARE(Writes(fx.controller()), QStringList());
    form.activateWindow();
    form.SpinExtEdit6->setFocus();
    QTRY_VERIFY(form.SpinExtEdit6->hasFocus());
    form.SpinExtEdit6->onChangeValue(form.SpinExtEdit6, 0, 0.05L);
    form.SpinExtEdit6->onChangeValue(form.SpinExtEdit6, 0, 1.5L);
    QCOMPARE(Writes(fx.controller()),
             QStringList({Triple(CmdWriteParam, 88, 51), Triple(CmdWriteLive, 208, 51),
                          Triple(CmdWriteParam, 88, 1536), Triple(CmdWriteLive, 208, 1536)}));
}

void ParamsTest::displayQuery_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("interval");
    QTest::newRow("ExtText2 live 162") << "ExtText2" << 162 << 850 << "  850 Об/мин " << 500;
    QTest::newRow("ExtText3 live 72") << "ExtText3" << 72 << 3250 << " Тек. 3.25 mS " << 400;
    QTest::newRow("ExtText1 live 166")
        << "ExtText1" << 166 << 450 << " Напряжение датчика 0.45 Вольт " << 500;
    QTest::newRow("ExtText5 live 192")
        << "ExtText5" << 192 << 600 << " Напряжение датчика 0.60 Вольт " << 500;
    QTest::newRow("ExtText8 live 196") << "ExtText8" << 196 << 2340 << "  2.3 V " << 500;
    QTest::newRow("ExtText9 live 198") << "ExtText9" << 198 << 3600 << "  87°С " << 1000;
    QTest::newRow("ExtText6 live 164") << "ExtText6" << 164 << 13800 << "  13.80 Volt " << 600;
    QTest::newRow("ExtText10 live 200") << "ExtText10" << 200 << 2100 << "  2.10 Volt " << 600;
    QTest::newRow("ExtText7 live 190") << "ExtText7" << 190 << 1200 << "  1.20 Volt " << 600;
}

void ParamsTest::displayQuery() {
    QFETCH(QString, control);
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(QString, shown);
    ParamsFixture fx;
    fx.controller().setLive(static_cast<uint8_t>(address), static_cast<uint16_t>(word));
    TExtText* display = DisplayNamed(fx.form(), control);
    display->Init();
    QCOMPARE(display->text(), shown);
    QFETCH(int, interval);
    QCOMPARE(display->QueryInterval(), interval);
    QVERIFY(display->AutoQuery());
}

void ParamsTest::lists_data() {
    QTest::addColumn<int>("p55");
    QTest::addColumn<int>("p38");
    QTest::addColumn<int>("p37");
    QTest::addColumn<int>("p34");
    QTest::addColumn<QList<int>>("items"); // ComboBox1, ComboBox4, ComboBox2, ComboBox3
    QTest::addColumn<QString>("caption");
    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << QList<int>{0, 0, 0, 0}
                              << "Переход с пара на жидкую фазу";
    QTest::newRow("P34=1") << 1 << 1 << 1 << 1 << QList<int>{1, 1, 1, 1}
                           << "Переход с бензина на газ";
    QTest::newRow("P34=2, P38=3") << 0 << 3 << 0 << 2 << QList<int>{0, 2, 0, 2}
                                  << "Переход с бензина на газ";
    QTest::newRow("P55=256 low byte zero")
        << 256 << 0 << 257 << 3 << QList<int>{0, 0, 1, -1} << "Переход с пара на жидк. фазу";
}

void ParamsTest::lists() {
    QFETCH(int, p55);
    QFETCH(int, p38);
    QFETCH(int, p37);
    QFETCH(int, p34);
    QFETCH(QList<int>, items);
    QFETCH(QString, caption);
    ParamsFixture fx;
    auto& c = fx.controller();
    c.setParam(55, p55);
    c.setParam(38, p38);
    c.setParam(37, p37);
    c.setParam(34, p34);
    fx.form().SpinExtEdit9->Init();
    QCOMPARE(fx.form().ComboBox1->currentIndex(), items[0]);
    QCOMPARE(fx.form().ComboBox4->currentIndex(), items[1]);
    QCOMPARE(fx.form().ComboBox2->currentIndex(), items[2]);
    QCOMPARE(fx.form().ComboBox3->currentIndex(), items[3]);
    QCOMPARE(fx.form().GroupBox15->title(), caption);
    QCOMPARE(Writes(c), QStringList());
    QCOMPARE(FrameTriples(c), QStringList({Triple(2, 39, 0), Triple(2, 55, 0), Triple(2, 38, 0),
                                           Triple(2, 37, 0), Triple(2, 34, 0)}));
}

void ParamsTest::listChoiceWritesIndex() {
    ParamsFixture fx;
    TForm1& form = fx.form();
    for (QComboBox* list : {form.ComboBox1, form.ComboBox2, form.ComboBox3, form.ComboBox4})
        list->setEnabled(true);
    form.ComboBox4->activated(3);
    form.ComboBox3->setCurrentIndex(1);
    form.ComboBox3->activated(1);
    form.ComboBox1->activated(1);
    form.ComboBox2->activated(0);
    QCOMPARE(Writes(fx.controller()),
             QStringList({Triple(3, 38, 3), Triple(3, 34, 1), Triple(3, 55, 1), Triple(3, 37, 0)}));
    QCOMPARE(form.GroupBox15->title(), QStringLiteral("Переход с бензина на газ"));
}

void ParamsTest::coils_data() {
    QTest::addColumn<double>("coils");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("unit");
    QTest::newRow("one") << 1.0 << 0 << "катушка";
    QTest::newRow("two") << 2.0 << 1 << "катушки";
}

void ParamsTest::coils() {
    QFETCH(double, coils);
    QFETCH(int, word);
    QFETCH(QString, unit);
    ParamsFixture fx;
    TSpinExtEdit* edit = fx.form().SpinExtEdit9;
    edit->onChangeValue(edit, 0, coils);
    QCOMPARE(fx.controller().param(39), word);
    QVERIFY(edit->ValueFormat().endsWith(unit));
    fx.controller().setParam(39, static_cast<uint16_t>(word));
    edit->Init();
    QVERIFY(edit->text().endsWith(QString::number(int(coils)) + " " + unit));
}

void ParamsTest::cylinders_data() {
    QTest::addColumn<double>("count");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QString>("unit");
    QTest::newRow("7") << 7.0 << QStringList{Triple(3, 96, 4161), Triple(3, 71, 7)} << "цилиндров";
    QTest::newRow("4") << 4.0 << QStringList{Triple(3, 96, 7324), Triple(3, 71, 4)} << "цилиндра";
    QTest::newRow("2") << 2.0 << QStringList{Triple(3, 96, 14648), Triple(3, 71, 2)} << "цилиндра";
    QTest::newRow("5") << 5.0 << QStringList{Triple(3, 96, 5859), Triple(3, 71, 5)} << "цилиндров";
    QTest::newRow("8") << 8.0 << QStringList{Triple(3, 96, 3662), Triple(3, 71, 8)} << "цилиндров";
}

void ParamsTest::cylinders() {
    QFETCH(double, count);
    QFETCH(QStringList, writes);
    QFETCH(QString, unit);
    ParamsFixture fx;
    TSpinExtEdit* edit = fx.form().SpinExtEdit2;
    edit->onChangeValue(edit, 0, count);
    QCOMPARE(Writes(fx.controller()), writes);
    QVERIFY(edit->ValueFormat().endsWith(unit));
    QCOMPARE(CylinderConstant(9), 7324);
}

void ParamsTest::damping_data() {
    QTest::addColumn<int>("p97");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("writes");
    QTest::newRow("P97=0 min") << 0 << 0 << QStringList{Triple(3, 97, 1)};
    QTest::newRow("P97=9 max") << 9 << 5 << QStringList{Triple(3, 97, 6)};
    QTest::newRow("P97=4 unchanged") << 4 << 3 << QStringList{};
}

void ParamsTest::damping() {
    QFETCH(int, p97);
    QFETCH(int, position);
    QFETCH(QStringList, writes);
    ParamsFixture fx;
    QCOMPARE(fx.form().TrackBar2->value(), 3);
    fx.controller().setParam(97, static_cast<uint16_t>(p97));
    fx.form().SpinExtEdit1->Init();
    QCOMPARE(fx.form().TrackBar2->value(), position);
    QCOMPARE(Writes(fx.controller()), writes);
}

void ParamsTest::slopeCorrection() {
    ParamsFixture fx;
    fx.controller().setParam(91, 0);
    fx.form().SpinExtEdit29->Init();
    QVERIFY(fx.form().RadioButton6->isChecked());
    fx.controller().setParam(91, 7);
    fx.form().SpinExtEdit29->Init();
    QVERIFY(fx.form().RadioButton5->isChecked());
    QCOMPARE(Writes(fx.controller()), QStringList({Triple(3, 91, 0), Triple(3, 91, 1)}));
}

void ParamsTest::statusLine_data() {
    QTest::addColumn<int>("live76");
    QTest::addColumn<int>("live77");
    QTest::addColumn<int>("trim");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("trimAddress"); // 0: neither trim word is read
    QTest::newRow("setup mode") << 128 << 2 << 1000 << "=== РЕЖИМ УСТАНОВКИ ===" << 0;
    QTest::newRow("oxygen trim") << 0 << 2 << 1000 << "Датчик кислорода -2.40 %" << 186;
    QTest::newRow("manual trim") << 127 << 0 << 1124 << "Ручная подстройка  10.00 %" << 182;
    QTest::newRow("manual zero") << 0 << 0x0100 << 1024 << "Ручная подстройка  0.00 %" << 182;
    QTest::newRow("manual -102.4") << 0x0100 << 0 << 0 << "Ручная подстройка  -102.40 %" << 182;
}

void ParamsTest::statusLine() {
    QFETCH(int, live76);
    QFETCH(int, live77);
    QFETCH(int, trim);
    QFETCH(QString, status);
    QFETCH(int, trimAddress);
    ParamsFixture fx;
    auto& c = fx.controller();
    c.setParam(51, 1);
    c.setLive(76, live76);
    c.setLive(77, live77);
    c.setLive(186, trim);
    c.setLive(182, trim);
    c.setLive(178, 3210);
    fx.form().ExtText4->Init();
    QCOMPARE(fx.form().StaticText2->text(), status);
    QCOMPARE(fx.form().ExtText4->text(), QStringLiteral(" Исх. 3.21 mS "));
    QStringList reads{Triple(2, 51, 0), Triple(0, 76, 0), Triple(0, 77, 0)};
    if (trimAddress)
        reads << Triple(0, trimAddress, 0);
    reads << Triple(0, 178, 0);
    QStringList seen = FrameTriples(c);
    seen.removeAll(Triple(3, 51, 1)); // the first selection writes the option back
    QCOMPARE(seen, reads);
}

void ParamsTest::oxygenSensorFollowsController() {
    ParamsFixture fx;
    TForm1& form = fx.form();
    fx.controller().setParam(51, 1);
    form.ExtText4->Init();
    QVERIFY(form.RadioButton1->isChecked());
    QVERIFY(form.ExtText1->isEnabled());
    fx.controller().clearLog();
    fx.controller().setParam(51, 0);
    form.ExtText4->Init();
    QVERIFY(form.RadioButton2->isChecked());
    QVERIFY(!form.ExtText1->isEnabled());
    form.ExtText4->Init();
    QCOMPARE(Writes(fx.controller()), QStringList({Triple(3, 51, 0)}));
}

void ParamsTest::monitorTick_data() {
    QTest::addColumn<int>("live204");
    QTest::addColumn<int>("live202");
    QTest::addColumn<int>("live208");
    QTest::addColumn<int>("live212");
    QTest::addColumn<QList<int>>("gauges");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("12.5 to even") << 125 << 1500 << 1536 << 1250 << QList<int>{12, 100, 15}
                                  << QStringList{"12.5 КПа", "150.0 КПа", "C = 1.50", "T = 1.25"};
    QTest::newRow("500.5 limited") << 5005 << 0 << 0 << 0 << QList<int>{500, 0, 0}
                                   << QStringList{"500.5 КПа", "0.0 КПа", "C = 0.00", "T = 0.00"};
    QTest::newRow("13.5 to even") << 135 << 995 << 6144 << 8000 << QList<int>{14, 100, 60}
                                  << QStringList{"13.5 КПа", "99.5 КПа", "C = 6.00", "T = 8.00"};
}

void ParamsTest::monitorTick() {
    QFETCH(int, live204);
    QFETCH(int, live202);
    QFETCH(int, live208);
    QFETCH(int, live212);
    QFETCH(QList<int>, gauges);
    QFETCH(QStringList, labels);
    ParamsFixture fx;
    auto& c = fx.controller();
    c.setLive(204, live204);
    c.setLive(202, live202);
    c.setLive(208, live208);
    c.setLive(212, live212);
    Timer2Timer();
    TForm1& form = fx.form();
    QCOMPARE(form.Gauge1->value(), gauges[0]);
    QCOMPARE(form.Gauge2->value(), gauges[1]);
    QCOMPARE(form.Gauge3->value(), gauges[2]);
    QCOMPARE(form.Label18->text(), labels[0]);
    QCOMPARE(form.Label12->text(), labels[1]);
    QCOMPARE(form.Label17->text(), labels[2]);
    QCOMPARE(form.Label6->text(), labels[3]);
    QCOMPARE(FrameTriples(c), QStringList({Triple(0, 204, 0), Triple(0, 202, 0), Triple(0, 208, 0),
                                           Triple(2, 88, 0), Triple(0, 212, 0), Triple(2, 82, 0)}));
    QCOMPARE(Writes(c), QStringList());
}

void ParamsTest::idleGauge_data() {
    QTest::addColumn<int>("p82");
    QTest::addColumn<int>("gauge");
    QTest::newRow("0.25") << 250 << 2;
    QTest::newRow("8") << 8000 << 80;
    QTest::newRow("0.35") << 350 << 4;
}

void ParamsTest::idleGauge() {
    QFETCH(int, p82);
    QFETCH(int, gauge);
    ParamsFixture fx;
    fx.controller().setParam(82, static_cast<uint16_t>(p82));
    fx.form().SpinExtEdit40->Init();
    Timer2Timer();
    QCOMPARE(fx.form().Gauge4->value(), gauge);
}

void ParamsTest::startMonitorWithoutGasSensor() {
    ParamsFixture fx;
    TForm1& form = fx.form();
    form.show();
    fx.controller().setParam(93, 0);
    StartMonitor();
    QVERIFY(form.Panel3->isVisible());
    QVERIFY(form.Timer2->isActive());
    QVERIFY(form.RadioButton4->isChecked());
    QVERIFY(!form.GroupBox35->isVisibleTo(form.GroupBox35->parentWidget()));
    QVERIFY(form.GroupBox30->isVisibleTo(form.GroupBox30->parentWidget()));
    QCOMPARE(form.GroupBox25->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(Writes(fx.controller()), QStringList({Triple(3, 93, 0)}));
    fx.controller().clearLog();
    StartMonitor();
    QCOMPARE(Writes(fx.controller()), QStringList());
    fx.controller().setParam(93, 1);
    StartMonitor();
    QVERIFY(form.RadioButton3->isChecked());
    QCOMPARE(form.GroupBox25->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(form.GroupBox35->isVisibleTo(form.GroupBox35->parentWidget()));
}

void ParamsTest::typingSurvivesTicks() {
    ParamsFixture fx;
    TForm1& form = fx.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    StartMonitor();
    form.Timer2->stop();
    form.SpinExtEdit6->Init();
    form.activateWindow();
    form.SpinExtEdit6->setFocus();
    QTRY_VERIFY(form.SpinExtEdit6->hasFocus());
    form.SpinExtEdit6->selectAll();
    QTest::keyClicks(form.SpinExtEdit6, "3.7");
    Timer2Timer();
    Timer2Timer();
    QCOMPARE(form.SpinExtEdit6->text(), QStringLiteral("3.7"));
}

void ParamsTest::failedOptionReadsWriteNothing_data() {
    QTest::addColumn<int>("address");
    QTest::newRow("P93 at monitor start") << 93;
    QTest::newRow("P91 with the self-learning period") << 91;
    QTest::newRow("P97 with the reference voltage") << 97;
}

void ParamsTest::failedOptionReadsWriteNothing() {
    QFETCH(int, address);
    ParamsFixture fx;
    auto& c = fx.controller();
    // The previous good reply leaves a word that would pick another option.
    c.setParam(92, 0);
    QVERIFY(SendCommand(CmdReadParam, 92, 0));
    c.setParam(93, 1);
    c.setParam(91, 1);
    c.setParam(97, 5);
    q5emu::FaultSpec fault;
    fault.mode = q5emu::FaultMode::Silence;
    fault.command = CmdReadParam;
    fault.address = static_cast<uint8_t>(address);
    c.setFault(fault);
    c.clearLog();
    StartMonitor();
    fx.form().SpinExtEdit29->Init();
    fx.form().SpinExtEdit1->Init();
    QStringList expected;
    if (address != 93)
        expected << Triple(3, 93, 1);
    if (address != 91)
        expected << Triple(3, 91, 1);
    if (address != 97)
        expected << Triple(3, 97, 5);
    QCOMPARE(Writes(c), expected);
    if (address == 93)
        QVERIFY(!fx.form().RadioButton3->isChecked() && !fx.form().RadioButton4->isChecked());
}

QTEST_MAIN(ParamsTest)
#include "test_params.moc"
