#include "Connection.h"

#include "Captions.h"
#include "Comm_Fun.h"
#include "DeviceIdentity.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "GoodReads.h"
#include "Messages.h"
#include "Monitor.h"
#include "Protocol.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

bool deviceConnected = false;

constexpr int32_t LineBaudRate = 19200;
constexpr uint8_t AddrOperatingCounter = 0;
constexpr uint8_t AddrBlockStart = 33;
constexpr uint8_t AddrIdentity = 47;

QString OperatingCounterText(uint16_t word) {
    return word == 0 ? QStringLiteral("0 ") : QString::number(10u * word);
}

void SetListsEnabled(bool enabled) {
    for (QComboBox* list : {Form1->ComboBox1, Form1->ComboBox2, Form1->ComboBox3, Form1->ComboBox4})
        list->setEnabled(enabled);
}

} // namespace

bool DeviceConnected() {
    return deviceConnected;
}

bool ConnectOnPort(int16_t port) {
    deviceConnected = false;
    GoodReads::ForgetAll();
    if (!Comm_Fun::OpenPort(port, LineBaudRate))
        return false;
    Comm_Fun::SetDtrLine();
    Comm_Fun::ClearRtsLine();
    if (!SendCommand(CmdReadParam, AddrIdentity, 0) || ReplyValue() != ControllerIdentity) {
        Comm_Fun::ClosePort();
        return false;
    }
    deviceConnected = true;

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
    TSpinExtEdit::InitAll(Form1->Components);
    TExtText::InitAll(Form1->Components);
    if (Form1->RadioButton2->isChecked())
        Form1->ExtText1->setEnabled(false);
    SetListsEnabled(true);
    // A failure of the production log ends the sequence here, with the program connected.
    ReadDeviceIdentity();
    if (SendCommand(CmdReadParam, AddrOperatingCounter, 0))
        Form1->StaticText4->setText(OperatingCounterText(ReplyValue()));
    return true;
}

void Connect_to_COM1Click() {
    for (int16_t port = 1; port <= 4; ++port) {
        if (ConnectOnPort(port))
            break;
    }
    if (!deviceConnected)
        ShowInformation(QStringLiteral("Прибор не обнаружен !"));
}

void Close_COMClick() {
    Form1->Panel3->hide();
    Form1->setWindowTitle(BaseCaption());
    deviceConnected = false;
    GoodReads::ForgetAll();
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
}
