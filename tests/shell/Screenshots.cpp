// Renders the main window on every page, the monitor panel, each page of the service set, the
// restore-point and compare dialogs, the window in a session without a controller, the ports
// dialog, the chart window replaying a log, the recording dialog, the sheets for paper, the
// history window and the About box to PNG files, so that the layout can be looked at without
// a display.
// Usage: q5_screenshots <output directory>

#include "AppLook.h"
#include "ChartView.h"
#include "ChartWindow.h"
#include "CompareDialog.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControlHold.h"
#include "ControllerState.h"
#include "ErrorHandler.h"
#include "FolderOpener.h"
#include "Form1.h"
#include "Form3.h"
#include "HistoryScreen.h"
#include "IdlingDrive.h"
#include "JournalFeed.h"
#include "LineScreen.h"
#include "LinkIndicator.h"
#include "LivePoller.h"
#include "LogFormat.h"
#include "LogWriter.h"
#include "MapScreen.h"
#include "Messages.h"
#include "Offline.h"
#include "PortChoice.h"
#include "PortsDialog.h"
#include "QtTranslations.h"
#include "RecordingDialog.h"
#include "RestorePointsDialog.h"
#include "ScriptedDrive.h"
#include "Ser_num.h"
#include "ServiceMenuScreen.h"
#include "SettingsRecords.h"
#include "SheetScreens.h"
#include "Startup.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "TrimReading.h"
#include "WindowLink.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Typical masks and readings, so that the pictures show filled fields as in use.
struct SpinSample {
    TSpinExtEdit* TForm1::*control;
    const char* mask;
    long double value;
};

const SpinSample SpinSamples[] = {
    {&TForm1::SpinExtEdit6, "#####0.00", 1.5L},
    {&TForm1::SpinExtEdit9, "                  0 катушки", 2},
    {&TForm1::SpinExtEdit2, "                #####0 цилиндра", 4},
    {&TForm1::SpinExtEdit19, "#####0.00 Volt", 0.45L},
    {&TForm1::SpinExtEdit20, "###0 %", 120},
    {&TForm1::SpinExtEdit18, "#####0 Об/мин", 1500},
    {&TForm1::SpinExtEdit24, "###0 %", 30},
    {&TForm1::SpinExtEdit3, "#####0 Об/мин", 5500},
    {&TForm1::SpinExtEdit16, "#0.0 V", 3.8L},
    {&TForm1::SpinExtEdit17, "#0.0 V", 12.5L},
    {&TForm1::SpinExtEdit22, "##0 °С", 45},
    {&TForm1::SpinExtEdit27, "##0.0 %", 1.5L},
    {&TForm1::SpinExtEdit29, "##0. Cек", 10},
    {&TForm1::SpinExtEdit28, "#0.0кП", 100},
    {&TForm1::SpinExtEdit43, "#0.00mS", 2},
    {&TForm1::SpinExtEdit39, "            #0.0 %", 500},
    {&TForm1::SpinExtEdit30, "#0.00 V", 0.5L},
    {&TForm1::SpinExtEdit31, "#0.00 V", 4.5L},
    {&TForm1::SpinExtEdit32, "#0.0 кПa", 100},
    {&TForm1::SpinExtEdit33, "#0.0 кПa", 600},
    {&TForm1::SpinExtEdit8, "#####0.0 кПа", 180.5L},
    {&TForm1::SpinExtEdit7, "#####0.0 кПа", 160},
    {&TForm1::SpinExtEdit14, "#0.00 V", 0.4L},
    {&TForm1::SpinExtEdit15, "#0.00 V", 4.65L},
    {&TForm1::SpinExtEdit21, "#0.0 кПa", 20},
    {&TForm1::SpinExtEdit23, "#0.0 кПa", 105},
    {&TForm1::SpinExtEdit10, "##0.00 V", 0.45L},
    {&TForm1::SpinExtEdit11, "##0.00 V", 1},
    {&TForm1::SpinExtEdit35, "##0.00 Cек", 0.2L},
    {&TForm1::SpinExtEdit36, "##0.0 %", 0.5L},
    {&TForm1::SpinExtEdit37, "##0 %", 25},
    {&TForm1::SpinExtEdit38, "##0 Сек", 100},
    {&TForm1::SpinExtEdit1, "Vref ##0.00 Volt", 5},
    {&TForm1::SpinExtEdit25, "#####0 Об/мин", 4500},
    {&TForm1::SpinExtEdit26, "#####0.0 кПа", 95},
    {&TForm1::SpinExtEdit34, " ##0.0 %", 20},
    {&TForm1::SpinExtEdit40, "#####0.00", 1.25L},
    {&TForm1::SpinExtEdit41, "#####0.0кП", 250},
    {&TForm1::SpinExtEdit42, "#####0.0кП", 35},
};

struct DisplaySample {
    TExtText* TForm1::*control;
    const char* mask;
    long double value;
};

const DisplaySample DisplaySamples[] = {
    {&TForm1::ExtText2, "###0 Об/мин", 850},
    {&TForm1::ExtText4, "#0.00 mS", 3.25L},
    {&TForm1::ExtText3, "#0.00 mS", 2.9L},
    {&TForm1::ExtText1, "#####0.00 Вольт", 0.45L},
    {&TForm1::ExtText5, "#####0.00 Вольт", 0.6L},
    {&TForm1::ExtText8, "#0.0 V", 2.4L},
    {&TForm1::ExtText9, "##0°С", 87},
    {&TForm1::ExtText6, "#####0.00 Volt", 13.8L},
    {&TForm1::ExtText10, "#####0.00 Volt", 1.2L},
    {&TForm1::ExtText7, "#####0.00 Volt", 1.9L},
};

// The window as it is while a controller is connected: the controls live, the connection
// buttons the other way round.
void ShowConnected(TForm1& form) {
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (qobject_cast<TSpinExtEdit*>(control) || qobject_cast<TExtText*>(control) ||
            qobject_cast<QComboBox*>(control) || qobject_cast<QRadioButton*>(control))
            control->setEnabled(true);
    }
    form.StaticText1->setEnabled(true);
    form.StaticText4->setEnabled(true);
    form.Connect_to_COM1->setEnabled(false);
    form.Close_COM->setEnabled(true);
}

void FillSamples(TForm1& form) {
    ShowConnected(form);
    for (const SpinSample& s : SpinSamples) {
        TSpinExtEdit* spin = form.*s.control;
        spin->SetValueFormat(QString::fromUtf8(s.mask));
        spin->SetValueMin(-1e6L);
        spin->SetValueMax(1e6L);
        spin->SetValue(s.value);
        spin->setCursorPosition(0);
    }
    for (const DisplaySample& s : DisplaySamples) {
        TExtText* display = form.*s.control;
        display->SetValueFormat(QString::fromUtf8(s.mask));
        display->SetValue(s.value);
    }
    form.StaticText1->setText(QStringLiteral("Q5-0012345"));
    form.StaticText3->setText(QStringLiteral("07.12.26"));
    form.StaticText2->setText(QStringLiteral("Ручная подстройка   -3.50 %"));
    form.StaticText4->setText(QStringLiteral("1230"));
    form.Gauge1->setValue(181);
    form.Label18->setText(QStringLiteral("180.5 КПа"));
    form.Gauge2->setValue(35);
    form.Label12->setText(QStringLiteral("35.0 КПа"));
    form.Gauge3->setValue(15);
    form.Label17->setText(QStringLiteral("C = 1.50"));
    form.Gauge4->setValue(12);
    form.Label6->setText(QStringLiteral("T = 1.20"));
}

// Two USB adapters and a built-in port: one adapter taken by another program, the built-in
// port closed to this user.
std::vector<PortFacts> SamplePorts() {
    PortFacts ftdi{QStringLiteral("/dev/ttyUSB0"),
                   QStringLiteral("FT232R USB UART"),
                   QStringLiteral("FTDI"),
                   QStringLiteral("A10KXY3Q"),
                   0x0403,
                   0x6001,
                   PortUse::Free,
                   {},
                   0};
    PortFacts prolific{QStringLiteral("/dev/ttyUSB1"),
                       QStringLiteral("USB-Serial Controller"),
                       QStringLiteral("Prolific Technology Inc."),
                       QString(),
                       0x067b,
                       0x2303,
                       PortUse::Busy,
                       QStringLiteral("minicom"),
                       4242};
    PortFacts builtIn{QStringLiteral("/dev/ttyS0"), {}, {}, {}, {}, {}, PortUse::NoAccess, {}, 0};
    return {ftdi, prolific, builtIn};
}

bool Save(QWidget& widget, const QDir& dir, const QString& name) {
    QCoreApplication::processEvents(); // the charts draw on the next pass of the event loop
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

// A settings file with the emulator's sample block, opened without a controller: the window
// as the stand-in controller leaves it, after the monitor's first tick.
bool SaveOfflineSession(const QDir& dir) {
    const QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("car1.q5t"));
    const q5emu::ControllerState sample;
    SettingsRecords::Entries entries{};
    for (int i = 0; i < SettingsRecords::Count; ++i)
        entries[static_cast<size_t>(i)].word = sample.read(
            q5emu::Space::Param, static_cast<uint8_t>(SettingsRecords::FirstAddress + i), 0);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(SettingsRecords::Build(entries)) < 0)
        return false;
    file.close();

    TForm1 form;
    Form1 = &form;
    InstallBehaviour(form);
    bool ok = true;
    SetInformationPresenter([&ok](const QString&) { ok = false; });
    SetErrorPresenter([&ok](const QString&) { ok = false; });
    form.show();
    RunHandler([&path] { OpenFileOffline(path); });
    QEventLoop tick;
    QTimer::singleShot(500, &tick, &QEventLoop::quit);
    tick.exec();
    ok &= OfflineSession() && Save(form, dir, QStringLiteral("offline_session"));
    Close_COMClick();
    SetInformationPresenter({});
    SetErrorPresenter({});
    Form1 = nullptr;
    return ok;
}

// A controller's block as it might stand after a season: a few words of every kind set.
SettingsRecords::Words SampleBlock() {
    SettingsRecords::Words words{};
    const std::pair<int, uint16_t> set[] = {
        {33, 5},    {34, 0}, {40, 3180}, {47, 503},  {51, 1},    {56, 450}, {57, 1500},
        {61, 1200}, {71, 4}, {88, 1536}, {92, 5500}, {96, 7324}, {97, 3}};
    for (const auto& [address, word] : set)
        words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)] = word;
    return words;
}

SettingsRecords::Words Changed(SettingsRecords::Words words,
                               std::initializer_list<std::pair<int, uint16_t>> changes) {
    for (const auto& [address, word] : changes)
        words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)] = word;
    return words;
}

bool SaveSafetyDialogs(const QDir& dir) {
    const SettingsRecords::Words now = SampleBlock();
    const QDate today(2026, 12, 8);
    RestorePointsView view{QStringLiteral("Q5-0012345"), {}, now, dir.path(), {}};
    view.points = {
        {"a", QDateTime(today, QTime(10, 31, 5)), true, now},
        {"b", QDateTime(today.addDays(-1), QTime(17, 2, 44)), true,
         Changed(now, {{57, 1800}, {71, 6}, {92, 6000}})},
        {"c", QDateTime(today.addDays(-7), QTime(9, 15, 0)), false, {}},
        {"d", QDateTime(today.addDays(-10), QTime(16, 48, 30)), true,
         Changed(now, {{33, 7}, {34, 2}, {40, 3330}, {51, 0}, {56, 600}, {61, 800}, {88, 2048}})},
    };
    RestorePointsDialog points(view, {});
    points.show();
    bool ok = Save(points, dir, QStringLiteral("restore_points"));

    const SettingsRecords::Words file = Changed(now, {{33, 7},
                                                      {34, 2},
                                                      {40, 3330},
                                                      {51, 0},
                                                      {56, 600},
                                                      {61, 800},
                                                      {71, 6},
                                                      {96, 4883},
                                                      {92, 6000}});
    CompareDialog withFile({QStringLiteral("Прибор"), now}, {QStringLiteral("car1.q5t"), file},
                           [](const std::vector<Comparison::Row>&) { return std::nullopt; });
    withFile.SetChecked(1, true);
    withFile.SetChecked(6, true);
    withFile.show();
    ok &= Save(withFile, dir, QStringLiteral("compare_file"));

    CompareDialog twoFiles({QStringLiteral("car1.q5t"), file}, {QStringLiteral("car2.q5t"), now});
    twoFiles.show();
    ok &= Save(twoFiles, dir, QStringLiteral("compare_two_files"));
    return ok;
}

// 100 s of the emulator's scripted drive at 10 samples a second, as a recording writes it, with
// two markers the technician set.
bool WriteScriptedDrive(const QString& path) {
    q5emu::ControllerState controller;
    controller.setEngine(q5emu::drive::DriveWord);
    const auto word = [&](uint8_t address, double t) {
        return controller.read(q5emu::Space::Live, address, t);
    };
    const QDateTime start(QDate(2026, 12, 8), QTime(10, 15));
    LogWriter writer(path, Catalogue::LiveValues());
    for (int row = 0; row < 1000; ++row) {
        const double t = row / 10.0;
        LiveSample sample{{}, start.addMSecs(qint64(t * 1000)), {}, {}};
        for (const Catalogue::Entry* entry : Catalogue::LiveValues())
            sample.values.push_back(LiveValueFrom(*entry, word(*entry->address, t)));
        TrimReader trim;
        while (const auto address = trim.Next())
            trim.Take(word(*address, t));
        sample.trim = trim.Result();
        writer.AddSample(t, sample);
        if (row == 372)
            writer.AddEvent(t, sample.wallClock,
                            LogFormat::MarkerEventText(QStringLiteral("рывок на 3-й передаче")));
        if (row == 741)
            writer.AddEvent(t, sample.wallClock, LogFormat::MarkerEventText(QString()));
    }
    writer.Flush();
    return true;
}

// The chart window replaying an hour of the emulated engine warming up, with the link lost
// for a minute and writes marked; stacked and overlaid. Then the recording dialog asked for a
// rate the line cannot carry.
bool SaveDataLogWindows(const QDir& dir) {
    QTemporaryDir logs;
    const QString path = logs.filePath(QStringLiteral("Q5-0012345 2026-12-08 09-30-00.csv"));
    IdlingDrive drive;
    drive.rows = 7200;
    drive.lostFrom = 1500;
    drive.lostUntil = 1560;
    if (!WriteIdlingDrive(path, drive))
        return false;
    LivePoller poller(WindowLink());
    ConnectionEvents events;
    JournalFeed writes;
    LiveFeed feed(poller, events);
    ChartWindow charts(feed, writes, events);
    charts.OpenLog(path);
    charts.ShowSeries({QStringLiteral("Давление газа"),
                       QStringLiteral("Давление во впускном коллекторе"),
                       QStringLiteral("Обороты коленвала"), QStringLiteral("Время впрыска тек."),
                       QStringLiteral("Температура двигателя")});
    charts.show();
    charts.View().SetTimeRange(0, 3600);
    charts.View().SetCursor(1200);
    bool ok = Save(charts, dir, QStringLiteral("charts_replay"));
    charts.View().SetStacked(false);
    charts.View().SetTimeRange(1400, 1700);
    charts.View().SetCursor(1450);
    ok &= Save(charts, dir, QStringLiteral("charts_overlaid"));

    const QString drivePath = logs.filePath(QStringLiteral("Q5-0012345 2026-12-08 10-15-00.csv"));
    ok &= WriteScriptedDrive(drivePath);
    charts.OpenLog(drivePath);
    charts.ShowSeries({QStringLiteral("Обороты коленвала"), QStringLiteral("Время впрыска исх."),
                       QStringLiteral("Коррекция"), QStringLiteral("Режим коррекции"),
                       QStringLiteral("Температура двигателя")});
    charts.View().SetStacked(true);
    charts.View().ShowAll();
    charts.View().SetCursor(60);
    ok &= Save(charts, dir, QStringLiteral("charts_marker"));

    RecordingDialog::Choices choices;
    choices.rate = 10;
    RecordingDialog dialog(QStringLiteral("/home/master/.local/share/tarvik-q5/logs/"
                                          "Q5-0012345 2026-12-08 09-30-00.csv"),
                           choices);
    dialog.show();
    ok &= Save(dialog, dir, QStringLiteral("recording_dialog"));
    dialog.SetRequestedRate(5);
    dialog.SetWaitForEngine(true);
    ok &= Save(dialog, dir, QStringLiteral("recording_dialog_trigger"));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();
    InstallQtTranslations(application);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screens"));
    QDir().mkpath(dir.path());

    for (bool filled : {false, true}) {
        TForm1 form;
        Form1 = &form;
        const QString prefix = filled ? QStringLiteral("filled_") : QString();
        if (filled)
            FillSamples(form);
        form.show();
        bool ok = true;
        for (int engine = 0; engine < form.PageControl3->count(); ++engine) {
            form.PageControl1->setCurrentIndex(0);
            form.PageControl3->setCurrentIndex(engine);
            ok &= Save(form, dir, prefix + QStringLiteral("main_1_%1").arg(engine + 1));
        }
        form.PageControl1->setCurrentIndex(1);
        ok &= Save(form, dir, prefix + QStringLiteral("main_2_1"));
        form.PageControl1->setCurrentIndex(2);
        ok &= Save(form, dir, prefix + QStringLiteral("main_3"));

        form.Panel3->show();
        form.PageControl1->setCurrentIndex(0);
        form.PageControl3->setCurrentIndex(0);
        ok &= Save(form, dir, prefix + QStringLiteral("main_panel"));

        form.PageControl1->setCurrentIndex(2);
        form.PageControl4->show();
        for (int page = 0; page < form.PageControl4->count(); ++page) {
            form.PageControl4->setCurrentIndex(page);
            ok &= Save(form, dir, prefix + QStringLiteral("service_%1").arg(page + 1));
        }
        // The gas page with the sensor fitted: the calibration box instead of the reducer box.
        form.PageControl4->setCurrentWidget(form.TabSheet10);
        form.GroupBox30->hide();
        ok &= Save(form, dir, prefix + QStringLiteral("service_3_sensor"));
        if (filled) {
            // The link indicator at the right end of the menu bar, in both of its states.
            auto* indicator = new LinkIndicator(form.MainMenu1);
            form.PageControl1->setCurrentIndex(0);
            indicator->Show(LinkIndicator::State::Good);
            ok &= Save(form, dir, QStringLiteral("link_good"));
            // Lost: the value controls are held, with the values they showed.
            indicator->Show(LinkIndicator::State::Lost);
            ControlHold::Hold(form);
            ok &= Save(form, dir, QStringLiteral("link_lost"));
            ControlHold::Release();
        }
        if (!ok)
            return 1;
        Form1 = nullptr;
    }

    if (!SaveDataLogWindows(dir))
        return 1;

    if (!SaveOfflineSession(dir))
        return 1;

    if (!SaveSafetyDialogs(dir) || !SaveServiceMenu(dir) || !SaveSheets(dir) ||
        !SaveLineWindow(dir) || !SaveMapWindows(dir) || !SaveHistoryWindow(dir))
        return 1;

    // The ports dialog with a remembered choice, in the test's own preferences.
    QStandardPaths::setTestModeEnabled(true);
    qunsetenv("TARVIK_Q5_PORTS");
    PortChoice::Save(
        {QStringLiteral("/dev/ttyUSB0"), QString(), QStringLiteral("/dev/ttyS0"), QString()});
    PortChoice::Install();
    PortsDialog ports(&SamplePorts);
    ports.show();
    const bool portsSaved = Save(ports, dir, QStringLiteral("ports"));
    PortChoice::Forget();

    TForm2 serial;
    serial.Label1->setText(QDate(2026, 12, 8).toString(QStringLiteral("dd.MM.yy")));
    serial.show();
    bool ok = Save(serial, dir, QStringLiteral("serial_number"));
    // Qt's own file dialog, in Russian.
    QFileDialog save(nullptr, QStringLiteral("Сохранить"), dir.path(),
                     QStringLiteral("Установки Tarvik-Q5  (*.q5t)"));
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.show();
    ok &= Save(save, dir, QStringLiteral("file_dialog"));
    FolderOpener::ShowPath(nullptr, QStringLiteral("/root/.local/share/tarvik-q5/Q5-0012345"));
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("FolderPathBox"))
            ok &= Save(*window, dir, QStringLiteral("folder_path"));

    TForm3 about;
    about.show();
    return Save(about, dir, QStringLiteral("about")) && portsSaved && ok ? 0 : 1;
}
