#include "Connection.h"

#include "BusyCursor.h"
#include "Captions.h"
#include "Comm_Fun.h"
#include "ConnectionEvents.h"
#include "ControlHold.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "DeviceIdentity.h"
#include "ErrorHandler.h"
#include "ExactClassVisit.h"
#include "Form1.h"
#include "GoodReads.h"
#include "IdentityWords.h"
#include "LinkIndicator.h"
#include "LinkWatch.h"
#include "Messages.h"
#include "Monitor.h"
#include "Offline.h"
#include "PortNames.h"
#include "PortTrouble.h"
#include "PortsMenu.h"
#include "Protocol.h"
#include "ReadFailures.h"
#include "SafetyNetMenu.h"
#include "SettingsRecords.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "WindowLink.h"
#include "WindowSession.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <utility>

namespace {

QPointer<LinkIndicator> linkIndicator;

constexpr int32_t LineBaudRate = 19200;
constexpr uint8_t AddrOperatingCounter = 0;
constexpr uint8_t AddrBlockStart = 33;

ControllerSession& Session() {
    return SessionOf(*Form1);
}

QString OperatingCounterText(uint16_t word) {
    return word == 0 ? QStringLiteral("0 ") : QString::number(10u * word);
}

void SetListsEnabled(bool enabled) {
    for (QComboBox* list : {Form1->ComboBox1, Form1->ComboBox2, Form1->ComboBox3, Form1->ComboBox4})
        list->setEnabled(enabled);
}

// A stand-in controller always answers; the indicator says that no controller is there.
void ShowLinkState(LinkIndicator::State state) {
    if (!linkIndicator)
        return;
    const bool standIn = OfflineSession() && state == LinkIndicator::State::Good;
    linkIndicator->Show(standIn ? LinkIndicator::State::Offline : state);
}

// While the link is lost the polled displays and the monitor stop asking; the watch's probe
// alone talks to the port, so the window stays as responsive as when idle. Otherwise they run
// as the window's description and the monitor's start left them.
void SetPolling(bool on) {
    if (on)
        Form1->Timer2->start();
    else
        Form1->Timer2->stop();
    for (const QPointer<QObject>& component : Form1->Components.Items()) {
        auto* display = qobject_cast<TExtText*>(component.data());
        if (!display || !display->AutoQuery())
            continue;
        if (on && display->Timer()->interval() > 0)
            display->Timer()->start();
        else if (!on)
            display->Timer()->stop();
    }
}

void OnLinkState(bool good) {
    if (!Session().Connected())
        return;
    if (!good) {
        HoldWhileLinkLost();
        return;
    }
    ShowLinkState(LinkIndicator::State::Good);
    ControlHold::Release();
    Form1->N2->setEnabled(true);
    SetPolling(true);
    emit Session().Events().linkChanged(true);
}

// The watch stops; what the loss held or stopped runs again, for "Close COM" to take down.
void EndLinkWatch() {
    const bool wasLost = ControlHold::Holding();
    Session().Watch().Disarm();
    ControlHold::Release();
    if (wasLost) {
        Form1->N2->setEnabled(Session().Connected());
        SetPolling(true);
    }
}

// The parameter words that tell one controller from another: the identity word, the serial
// number and date of manufacture, and the settings block.
std::vector<uint8_t> TellingAddresses() {
    std::vector<uint8_t> addresses{IdentityWords::Address};
    const int identityEnd = IdentityWords::FirstDateAddress + IdentityWords::DateLength;
    for (int address = IdentityWords::FirstSerialAddress; address < identityEnd; ++address)
        addresses.push_back(static_cast<uint8_t>(address));
    for (int i = 0; i < SettingsRecords::Count; ++i)
        addresses.push_back(static_cast<uint8_t>(SettingsRecords::FirstAddress + i));
    return addresses;
}

// The identity read; a port that gives not a byte back is noted for the advice.
bool IdentityAnswered(int16_t port) {
    const PortTrouble::SilenceWatch silence(WindowLink());
    if (SendCommand(CmdReadParam, IdentityWords::Address, 0))
        return true;
    if (silence.LastWasSilent())
        PortTrouble::NoteSilent(port);
    return false;
}

QString UnreadWordsText(const std::vector<uint8_t>& words) {
    QStringList names;
    for (const uint8_t address : words)
        names << QStringLiteral("P%1").arg(address);
    return QStringLiteral("Не удалось прочитать из прибора: %1.\nЭти поля не показывают значений "
                          "прибора. Проверьте связь и подключитесь заново.")
        .arg(names.join(QStringLiteral(", ")));
}

void OnOtherController() {
    Close_COMClick();
    ShowInformation(QStringLiteral("Подключен другой прибор. Подключитесь заново."));
}

} // namespace

ConnectedDevice& CurrentDevice() {
    return Session().Identity();
}

void ArmLinkWatch() {
    if (!Session().Connected())
        return;
    Session().Watch().Arm(TellingAddresses(), &KnownParameterWord);
    ShowLinkState(LinkIndicator::State::Good);
}

bool LinkLost() {
    return Session().Watch().IsLost();
}

void HoldWhileLinkLost() {
    if (!Session().Connected() || !LinkLost())
        return;
    ShowLinkState(LinkIndicator::State::Lost);
    ControlHold::Hold(*Form1);
    Form1->N2->setEnabled(false);
    SetPolling(false);
    emit Session().Events().linkChanged(false);
}

bool DeviceConnected() {
    return Session().Connected();
}

bool ConnectOnPort(int16_t port) {
    ControllerSession& session = Session();
    EndLinkWatch();
    if (session.Connected()) {
        session.SetConnected(false);
        emit session.Events().closed();
    }
    emit session.Events().connecting();
    GoodReadsOf(*Form1).ForgetAll();
    if (!Comm_Fun::OpenPort(port, LineBaudRate))
        return false;
    Comm_Fun::SetDtrLine();
    Comm_Fun::ClearRtsLine();
    if (!IdentityAnswered(port) || ReplyValue() != IdentityWords::Value) {
        Comm_Fun::ClosePort();
        return false;
    }
    session.SetConnected(true);
    ConnectedDevice& device = session.Identity();
    device = ConnectedDevice{};
    device.port = port;
    device.device = PortNames::DeviceFor(port);
    device.identityWord = ReplyValue();
    // Watched from the end of the sequence on, whether the identity step finished or not.
    const struct ArmAtEnd {
        ~ArmAtEnd() { ArmLinkWatch(); }
    } armAtEnd;

    SendCommand(CmdReadParam, AddrBlockStart, 0);
    Form1->N2->setEnabled(true);
    Form1->N3->setEnabled(true);
    Form1->StaticText1->setEnabled(true);
    Form1->StaticText4->setEnabled(true);
    Form1->RadioButton1->setEnabled(true);
    Form1->RadioButton2->setEnabled(true);
    Form1->Connect_to_COM1->setEnabled(false);
    Form1->Close_COM->setEnabled(true);
    StartMonitor();
    device.unreadWords = InitValueControls();
    if (Form1->RadioButton2->isChecked())
        Form1->ExtText1->setEnabled(false);
    SetListsEnabled(true);
    // A failure of the production log ends the sequence here, with the program connected.
    {
        const ControllerLink::ReadRun reads(WindowLink());
        ReadDeviceIdentity();
    }
    if (SendCommand(CmdReadParam, AddrOperatingCounter, 0))
        Form1->StaticText4->setText(OperatingCounterText(ReplyValue()));
    return true;
}

std::vector<uint8_t> InitValueControls() {
    ControllerLink& link = WindowLink();
    struct ShowRestAtEnd {
        ControllerLink& link;
        ~ShowRestAtEnd() { link.RunAwaitingWork(); }
    } showRest{link};
    const ReadFailures failures(link);
    const auto later = [&link](std::function<void()> show) {
        link.WhileAwaitingReply(std::move(show));
    };
    // TSpinExtEdit::InitAll, noting the edits whose reads failed.
    std::vector<QPointer<TSpinExtEdit>> again;
    {
        const ControllerLink::ReadRun reads(link);
        VisitExactClass<TSpinExtEdit>(Form1->Components, [&](TSpinExtEdit& edit) {
            const std::size_t before = failures.Count();
            edit.Init(later);
            if (failures.Count() != before)
                again.emplace_back(&edit);
        });
        TExtText::InitAll(Form1->Components);
    }
    // The polled displays ask again on their own. A re-read that fails as well means the
    // controller does not answer now: the rest are not asked.
    for (const QPointer<TSpinExtEdit>& edit : again) {
        const std::size_t before = failures.Count();
        if (edit)
            edit->Init(later);
        if (failures.Count() != before)
            break;
    }
    return failures.UnreadWords();
}

void Connect_to_COM1Click() {
    const BusyCursor busy;
    PortTrouble::Forget();
    try {
        for (int16_t port = 1; port <= 4; ++port) {
            if (ConnectOnPort(port))
                break;
        }
    } catch (...) {
        // A failure after the identity check (the production log) leaves the controller
        // connected: every part hears of the connection before the error is shown.
        if (DeviceConnected())
            emit Session().Events().connected();
        throw;
    }
    if (!DeviceConnected()) {
        ShowInformation(QStringLiteral("Прибор не обнаружен !"));
        ShowPortAdvice();
        return;
    }
    emit Session().Events().connected();
    const ConnectedDevice& device = Session().Identity();
    if (DeviceConnected() && !device.unreadWords.empty())
        ShowInformation(UnreadWordsText(device.unreadWords));
}

void Close_COMClick() {
    Form1->Panel3->hide();
    Form1->setWindowTitle(BaseCaption());
    ControllerSession& session = Session();
    const bool wasConnected = session.Connected();
    session.SetConnected(false);
    if (wasConnected)
        emit session.Events().closed();
    GoodReadsOf(*Form1).ForgetAll();
    EndLinkWatch();
    ShowLinkState(LinkIndicator::State::Off);
    Form1->N2->setEnabled(false);
    Form1->N3->setEnabled(false);
    Form1->RadioButton1->setEnabled(false);
    Form1->RadioButton2->setEnabled(false);
    Form1->StaticText1->setText(QStringLiteral(" "));
    Form1->StaticText2->setText(QString());
    Form1->StaticText4->setText(QString());
    Form1->StaticText1->setEnabled(false);
    Form1->StaticText4->setEnabled(false);
    Comm_Fun::ClosePort();
    Form1->Connect_to_COM1->setEnabled(true);
    Form1->Close_COM->setEnabled(false);
    SetListsEnabled(false);
    TSpinExtEdit::PassAll(Form1->Components);
    TExtText::PassAll(Form1->Components);
}

void InstallConnection(TForm1& form) {
    QObject::connect(form.Connect_to_COM1, &QPushButton::clicked, &form,
                     Guarded(&Connect_to_COM1Click));
    QObject::connect(form.Close_COM, &QPushButton::clicked, &form, Guarded(&Close_COMClick));
    linkIndicator = new LinkIndicator(form.MainMenu1);
    LinkWatch& watch = SessionOf(form).Watch();
    QObject::connect(&watch, &LinkWatch::linkStateChanged, &form,
                     [](bool good) { RunHandler([good] { OnLinkState(good); }); });
    QObject::connect(&watch, &LinkWatch::otherController, &form, Guarded(&OnOtherController));
}
