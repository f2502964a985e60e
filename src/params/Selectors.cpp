#include "Selectors.h"

#include "Addresses.h"
#include "Form1.h"
#include "Protocol.h"
#include "Scaling.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <iterator>

namespace {

struct CylinderConstantRow {
    long long cylinders;
    uint16_t word;
};
constexpr CylinderConstantRow CylinderConstants[] = {{2, 14648}, {3, 9766}, {4, 7324}, {5, 5859},
                                                     {6, 4883},  {7, 4161}, {8, 3662}};
constexpr uint16_t CylinderConstantOther = 7324;

const QString CoilSingular = QStringLiteral("                  0 катушка");
const QString CoilPlural = QStringLiteral("                  0 катушки");
const QString CylindersMany = QStringLiteral("                #####0 цилиндров");
const QString CylindersFew = QStringLiteral("                #####0 цилиндра");

const QColor GasPresentColour(0, 0, 255);
const QColor GasAbsentColour(255, 0, 0);

void ChooseCoilMaskFor(long double count) {
    Form1->SpinExtEdit9->SetValueFormat(RoundHalfEven(count) == 1 ? CoilSingular : CoilPlural);
}

void ChooseCylinderMaskFor(long double count) {
    Form1->SpinExtEdit2->SetValueFormat(count >= 5 ? CylindersMany : CylindersFew);
}

// Reads one list word and selects its item; the list's own handler does not run.
void ReadListWord(uint8_t address, QComboBox* list, int (*itemFor)(uint16_t word)) {
    SendCommand(CmdReadParam, address, 0);
    list->setCurrentIndex(itemFor(ReplyValue()));
}

int ValveItem(uint16_t word) {
    return (word & 0xFF) != 0 ? 1 : 0;
}
int ThrottleSensorItem(uint16_t word) {
    return std::min<int>(word, 2);
}
int StartModeItem(uint16_t word) {
    return word <= 2 ? word : -1;
}

void WriteOption(uint8_t address, uint16_t word) {
    SendCommand(CmdWriteParam, address, word);
}

void SetOxygenSensor(bool fitted) {
    if (fitted)
        Form1->RadioButton1->setChecked(true);
    else
        Form1->RadioButton2->setChecked(true);
    Form1->ExtText1->setEnabled(fitted);
}

} // namespace

uint16_t CylinderConstant(long long cylinders) {
    const auto row = std::find_if(
        std::begin(CylinderConstants), std::end(CylinderConstants),
        [cylinders](const CylinderConstantRow& r) { return r.cylinders == cylinders; });
    return row != std::end(CylinderConstants) ? row->word : CylinderConstantOther;
}

void ChooseCoilMask() {
    ChooseCoilMaskFor(Form1->SpinExtEdit9->Value());
}
void ChooseCylinderMask() {
    ChooseCylinderMaskFor(Form1->SpinExtEdit2->Value());
}

void SpinExtEdit9Init(long double& value) {
    if (SendCommand(CmdReadParam, Param::Coils, 0)) {
        value = ReplyAsNumber() + 1;
        ChooseCoilMaskFor(value);
    }
    ReadListWord(Param::PetrolValve, Form1->ComboBox1, &ValveItem);
    ReadListWord(Param::ThrottleSensor, Form1->ComboBox4, &ThrottleSensorItem);
    ReadListWord(Param::VapourValve, Form1->ComboBox2, &ValveItem);
    ReadListWord(Param::StartMode, Form1->ComboBox3, &StartModeItem);
    ApplySwitchOverCaption();
}

void SpinExtEdit9ChangeValue(long double newValue) {
    const long long coils = RoundHalfEven(newValue);
    SendCommand(CmdWriteParam, Param::Coils, static_cast<uint16_t>((coils - 1) & 0xFFFF));
    ChooseCoilMaskFor(static_cast<long double>(coils));
}

void SpinExtEdit2Init(long double& value) {
    if (SendCommand(CmdReadParam, Param::Cylinders, 0))
        value = ReplyAsNumber();
    ChooseCylinderMaskFor(value);
}

void SpinExtEdit2ChangeValue(long double newValue) {
    const long long cylinders = RoundHalfEven(newValue);
    SendCommand(CmdWriteParam, Param::CylinderConstant, CylinderConstant(cylinders));
    SendCommand(CmdWriteParam, Param::Cylinders, static_cast<uint16_t>(cylinders & 0xFFFF));
    ChooseCylinderMaskFor(newValue);
}

void SpinExtEdit29Init(long double& value) {
    SendCommand(CmdReadParam, Param::SelfLearning, 0);
    value = ReplyAsNumber();
    // A failed read must not choose an option: the button's handler would write it back.
    if (SendCommand(CmdReadParam, Param::SlopeCorrection, 0)) {
        if (ReplyValue() != 0)
            Form1->RadioButton5->setChecked(true);
        else
            Form1->RadioButton6->setChecked(true);
    }
}

void SpinExtEdit1Init(long double& value) {
    SendCommand(CmdReadParam, Param::ReferenceVoltage, 0);
    value = ReplyThousandths();
    // As above: the slider's handler writes every position change back to the controller.
    if (SendCommand(CmdReadParam, Param::Damping, 0))
        Form1->TrackBar2->setValue(static_cast<int>(ReplyValue()) - 1);
}

void SpinExtEdit6ChangeValue(long double newValue) {
    if (!Form1->SpinExtEdit6->hasFocus())
        return;
    const uint16_t word = EncodeValue(Encode::Mul1024, newValue);
    SendCommand(CmdWriteParam, Param::AccelResponse, word);
    SendCommand(CmdWriteLive, Live::AccelResponse, word);
}

QString TrimNumberText(long double percent) {
    return QString::asprintf("%4.2f", static_cast<double>(percent));
}

void ExtText4Query(QObject*, int, int, long double& value) {
    if (SendCommand(CmdReadParam, Param::OxygenSensor, 0))
        SetOxygenSensor((ReplyValue() & 1) != 0);
    SendCommand(CmdReadLive, Live::SetupStatus, 0);
    const bool setupMode = (ReplyValue() & 0xFF) > 127;
    SendCommand(CmdReadLive, Live::TrimStatus, 0);
    const bool oxygenTrimActive = (ReplyValue() & 0x02) != 0;
    QString status;
    if (setupMode) {
        status = QStringLiteral("=== РЕЖИМ УСТАНОВКИ ===");
    } else if (oxygenTrimActive) {
        SendCommand(CmdReadLive, Live::OxygenTrim, 0);
        status = QStringLiteral("Датчик кислорода ") + TrimNumberText(ReplyCorrectionPercent()) +
                 QStringLiteral(" %");
    } else {
        SendCommand(CmdReadLive, Live::ManualTrim, 0);
        status = QStringLiteral("Ручная подстройка  ") + TrimNumberText(ReplyCorrectionPercent()) +
                 QStringLiteral(" %");
    }
    Form1->StaticText2->setText(status);
    SendCommand(CmdReadLive, Live::BaseInjection, 0);
    value = ReplyThousandths();
}

void ApplySwitchOverCaption() {
    switch (Form1->ComboBox3->currentIndex()) {
    case 0:
        Form1->GroupBox15->setTitle(QStringLiteral("Переход с пара на жидкую фазу"));
        break;
    case 1:
    case 2:
        Form1->GroupBox15->setTitle(QStringLiteral("Переход с бензина на газ"));
        break;
    default:
        break;
    }
}

void SetGasCaptionColour(bool present) {
    QPalette palette = Form1->GroupBox25->palette();
    palette.setColor(QPalette::WindowText, present ? GasPresentColour : GasAbsentColour);
    Form1->GroupBox25->setPalette(palette);
}

void SelectGasSensor(bool present) {
    SetGasCaptionColour(present);
    if (present)
        Form1->RadioButton3->setChecked(true);
    else
        Form1->RadioButton4->setChecked(true);
}

void InstallSelectors(TForm1& form) {
    const auto onPick = [](QComboBox* list, uint8_t address, void (*after)() = nullptr) {
        QObject::connect(list, &QComboBox::activated, list, [address, after](int index) {
            if (index < 0)
                return;
            WriteOption(address, static_cast<uint16_t>(index));
            if (after)
                after();
        });
    };
    onPick(form.ComboBox1, Param::PetrolValve);
    onPick(form.ComboBox2, Param::VapourValve);
    onPick(form.ComboBox3, Param::StartMode, &ApplySwitchOverCaption);
    onPick(form.ComboBox4, Param::ThrottleSensor);

    // Selecting a button, by the user or by the program, runs its handler once.
    const auto onSelect = [](QRadioButton* button, void (*handler)()) {
        QObject::connect(button, &QRadioButton::toggled, button, [handler](bool checked) {
            if (checked)
                handler();
        });
    };
    onSelect(form.RadioButton1, [] {
        WriteOption(Param::OxygenSensor, 1);
        Form1->ExtText1->setEnabled(true);
    });
    onSelect(form.RadioButton2, [] {
        WriteOption(Param::OxygenSensor, 0);
        Form1->ExtText1->setEnabled(false);
    });
    onSelect(form.RadioButton3, [] {
        WriteOption(Param::GasSensor, 1);
        Form1->GroupBox35->show();
        Form1->GroupBox30->hide();
        SetGasCaptionColour(true);
    });
    onSelect(form.RadioButton4, [] {
        WriteOption(Param::GasSensor, 0);
        Form1->GroupBox30->show();
        Form1->GroupBox35->hide();
        SetGasCaptionColour(false);
    });
    onSelect(form.RadioButton5, [] { WriteOption(Param::SlopeCorrection, 1); });
    onSelect(form.RadioButton6, [] { WriteOption(Param::SlopeCorrection, 0); });

    QObject::connect(form.TrackBar2, &QSlider::valueChanged, form.TrackBar2, [](int position) {
        WriteOption(Param::Damping, static_cast<uint16_t>(position + 1));
    });
}
