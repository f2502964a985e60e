#include "Selectors.h"

#include "Addresses.h"
#include "LivePoller.h"
#include "Protocol.h"
#include "Scaling.h"
#include "ShownWords.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "TrimReading.h"
#include "WindowControls.h"
#include "WriteBackRead.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

struct CylinderConstantRow {
    long long cylinders;
    uint16_t word;
};
constexpr CylinderConstantRow CylinderConstants[] = {{2, 14648}, {3, 9766}, {4, 7324}, {5, 5859},
                                                     {6, 4883},  {7, 4161}, {8, 3662}};
constexpr uint16_t CylinderConstantOther = 7324;

const QColor GasPresentColour(0, 0, 255);
const QColor GasAbsentColour(255, 0, 0);

void ChooseCoilMaskFor(long double count) {
    Controls().SpinExtEdit9->SetValueFormat(ShownWords::CoilMask(count));
}

void ChooseCylinderMaskFor(long double count) {
    Controls().SpinExtEdit2->SetValueFormat(ShownWords::CylinderMask(count));
}

// Reads one list word and selects its item; the list's own handler does not run.
// A failed read leaves the selection as it was.
void ReadListWord(uint8_t address, QComboBox* list, int (*itemFor)(uint16_t word)) {
    if (SendCommand(CmdReadParam, address, 0))
        list->setCurrentIndex(itemFor(ReplyValue()));
}

using ShownWords::StartModeItem;
using ShownWords::ThrottleSensorItem;
using ShownWords::ValveItem;

void WriteOption(uint8_t address, uint16_t word) {
    SendCommand(CmdWriteParam, address, word);
}

void SetOxygenSensor(bool fitted) {
    if (fitted)
        Controls().RadioButton1->setChecked(true);
    else
        Controls().RadioButton2->setChecked(true);
    Controls().ExtText1->setEnabled(fitted);
}

// Through the poller, so that a recording takes these reads instead of asking again.
std::optional<QString> ReadTrimStatus() {
    TrimReader reader;
    while (const std::optional<uint8_t> address = reader.Next())
        reader.Take(Controls().Poller->Read(*address));
    const std::optional<TrimReading> reading = reader.Result();
    if (!reading)
        return std::nullopt;
    switch (reading->source) {
    case TrimSource::Setup:
        return QStringLiteral("=== РЕЖИМ УСТАНОВКИ ===");
    case TrimSource::Sensor:
        return QStringLiteral("Датчик кислорода ") + TrimNumberText(*reading->percent) +
               QStringLiteral(" %");
    case TrimSource::Manual:
        break;
    }
    return QStringLiteral("Ручная подстройка  ") + TrimNumberText(*reading->percent) +
           QStringLiteral(" %");
}

} // namespace

uint16_t CylinderConstant(long long cylinders) {
    const auto row = std::find_if(
        std::begin(CylinderConstants), std::end(CylinderConstants),
        [cylinders](const CylinderConstantRow& r) { return r.cylinders == cylinders; });
    return row != std::end(CylinderConstants) ? row->word : CylinderConstantOther;
}

void ChooseCoilMask() {
    ChooseCoilMaskFor(Controls().SpinExtEdit9->Value());
}
void ChooseCylinderMask() {
    ChooseCylinderMaskFor(Controls().SpinExtEdit2->Value());
}

bool SpinExtEdit9Init(long double& value) {
    const bool replied = SendCommand(CmdReadParam, Param::Coils, 0);
    if (replied) {
        value = ReplyAsNumber() + 1;
        ChooseCoilMaskFor(value);
    }
    ReadListWord(Param::PetrolValve, Controls().ComboBox1, &ValveItem);
    ReadListWord(Param::ThrottleSensor, Controls().ComboBox4, &ThrottleSensorItem);
    ReadListWord(Param::VapourValve, Controls().ComboBox2, &ValveItem);
    ReadListWord(Param::StartMode, Controls().ComboBox3, &StartModeItem);
    ApplySwitchOverCaption();
    return replied;
}

void SpinExtEdit9ChangeValue(long double newValue) {
    const long long coils = RoundHalfEven(newValue);
    SendCommand(CmdWriteParam, Param::Coils, static_cast<uint16_t>((coils - 1) & 0xFFFF));
    ChooseCoilMaskFor(static_cast<long double>(coils));
}

bool SpinExtEdit2Init(long double& value) {
    const bool replied = SendCommand(CmdReadParam, Param::Cylinders, 0);
    if (replied)
        value = ReplyAsNumber();
    ChooseCylinderMaskFor(value);
    return replied;
}

// The cylinder group of LinkedWords, in its order: the constant, then the count.
void SpinExtEdit2ChangeValue(long double newValue) {
    const long long cylinders = RoundHalfEven(newValue);
    SendCommand(CmdWriteParam, Param::CylinderConstant, CylinderConstant(cylinders));
    SendCommand(CmdWriteParam, Param::Cylinders, static_cast<uint16_t>(cylinders & 0xFFFF));
    ChooseCylinderMaskFor(newValue);
}

bool SpinExtEdit29Init(long double& value) {
    const bool replied = SendCommand(CmdReadParam, Param::SelfLearning, 0);
    if (replied)
        value = ReplyAsNumber();
    if (const auto word = ReadForWriteBack(Param::SlopeCorrection)) {
        if (*word != 0)
            Controls().RadioButton5->setChecked(true);
        else
            Controls().RadioButton6->setChecked(true);
    }
    return replied;
}

bool SpinExtEdit1Init(long double& value) {
    const bool replied = SendCommand(CmdReadParam, Param::ReferenceVoltage, 0);
    if (replied)
        value = ReplyThousandths();
    if (const auto word = ReadForWriteBack(Param::Damping))
        Controls().TrackBar2->setValue(static_cast<int>(*word) - 1);
    return replied;
}

void SpinExtEdit6ChangeValue(long double newValue) {
    if (!Controls().SpinExtEdit6->hasFocus())
        return;
    const uint16_t word = EncodeValue(Encode::Mul1024, newValue);
    SendCommand(CmdWriteParam, Param::AccelResponse, word);
    SendCommand(CmdWriteLive, Live::AccelResponse, word);
}

QString TrimNumberText(long double percent) {
    return QString::asprintf("%4.2f", static_cast<double>(percent));
}

// The status line and the value change only from words that came back: a failed read in the
// middle leaves the line as it was.
void ExtText4Query(QObject*, int, int, long double& value) {
    if (const auto word = ReadForWriteBack(Param::OxygenSensor))
        SetOxygenSensor((*word & 1) != 0);
    const std::optional<QString> status = ReadTrimStatus();
    if (status)
        Controls().StaticText2->setText(*status);
    if (const auto word = Controls().Poller->Read(Live::BaseInjection))
        value = DecodeWord(Decode::Div1000, *word);
}

void ApplySwitchOverCaption() {
    if (const auto caption = ShownWords::SwitchOverCaption(Controls().ComboBox3->currentIndex()))
        Controls().GroupBox15->setTitle(*caption);
}

void SetGasCaptionColour(bool present) {
    QPalette palette = Controls().GroupBox25->palette();
    palette.setColor(QPalette::WindowText, present ? GasPresentColour : GasAbsentColour);
    Controls().GroupBox25->setPalette(palette);
}

void SelectGasSensor(bool present) {
    SetGasCaptionColour(present);
    if (present)
        Controls().RadioButton3->setChecked(true);
    else
        Controls().RadioButton4->setChecked(true);
}

void InstallSelectors(const WindowControls& form) {
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
        Controls().ExtText1->setEnabled(true);
    });
    onSelect(form.RadioButton2, [] {
        WriteOption(Param::OxygenSensor, 0);
        Controls().ExtText1->setEnabled(false);
    });
    onSelect(form.RadioButton3, [] {
        WriteOption(Param::GasSensor, 1);
        Controls().GroupBox35->show();
        Controls().GroupBox30->hide();
        SetGasCaptionColour(true);
    });
    onSelect(form.RadioButton4, [] {
        WriteOption(Param::GasSensor, 0);
        Controls().GroupBox30->show();
        Controls().GroupBox35->hide();
        SetGasCaptionColour(false);
    });
    onSelect(form.RadioButton5, [] { WriteOption(Param::SlopeCorrection, 1); });
    onSelect(form.RadioButton6, [] { WriteOption(Param::SlopeCorrection, 0); });

    QObject::connect(form.TrackBar2, &QSlider::valueChanged, form.TrackBar2, [](int position) {
        WriteOption(Param::Damping, static_cast<uint16_t>(position + 1));
    });
}
