#include "SpinBindings.h"

#include "Form1.h"
#include "Protocol.h"
#include "Selectors.h"
#include "TSpinExtEdit.h"

#include <iterator>

namespace {

using D = Decode;
using E = Encode;
constexpr bool Keeps = true;
constexpr bool Takes = false;

// clang-format off
const SpinBinding Table[] = {
    // Monitor panel: "Приёмистость"
    {&TForm1::SpinExtEdit6,  "#####0.00",      0.00001L, 15.99L, 0.05L, 88, D::Div1024, E::Mul1024, Takes, nullptr, &SpinExtEdit6ChangeValue},
    // "Двигатель" > "Параметры"
    {&TForm1::SpinExtEdit9,  nullptr,          1,        2,      1,     39, D::Word,    E::Round,   Keeps, &SpinExtEdit9Init, &SpinExtEdit9ChangeValue},
    {&TForm1::SpinExtEdit2,  nullptr,          2,        8,      1,     71, D::Word,    E::Round,   Keeps, &SpinExtEdit2Init, &SpinExtEdit2ChangeValue},
    // "Двигатель" > "Др. засл."
    {&TForm1::SpinExtEdit19, "#####0.00 Volt", 0.0001L,  5,      0.05L, 56, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit20, "###0 %",         0.0001L,  500,    1,     61, D::Mul0_1,  E::Div0_1,  Keeps},
    {&TForm1::SpinExtEdit12, "###0 %",         0.0001L,  500,    1,     61, D::Mul0_1,  E::Div0_1,  Keeps},
    {&TForm1::SpinExtEdit13, "#0 ц.",          1,        50,     1,     std::nullopt, D::Word, std::nullopt, Takes},
    {&TForm1::SpinExtEdit18, "#####0 Об/мин",  1000,     4000,   50,    57, D::Word,    E::Round,   Takes},
    {&TForm1::SpinExtEdit24, "###0 %",         0.0001L,  500,    1,     64, D::Mul0_1,  E::Div0_1,  Keeps},
    // "Двигатель" > "Коленвал"
    {&TForm1::SpinExtEdit3,  "#####0 Об/мин",  1000,     6000,   100,   92, D::Word,    E::Round,   Takes},
    {&TForm1::SpinExtEdit4,  "###0 %",         0.0001L,  500,    1,     61, D::Mul0_1,  E::Div0_1,  Keeps},
    {&TForm1::SpinExtEdit5,  "#0 ц.",          1,        50,     1,     std::nullopt, D::Word, std::nullopt, Takes},
    // "Термо датчик" > "Двигателя"
    {&TForm1::SpinExtEdit16, "#0.0 V",         1,        15,     0.1L,  59, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit17, "#0.0 V",         0.1L,     15,     0.1L,  60, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit22, "##0 °С",         20,       100,    1,     40, D::Div10Minus273, E::Mul10Plus2730, Takes},
    // Service pages: "Крутизна"
    {&TForm1::SpinExtEdit27, "##0.0 %",        0.1L,     10,     0.1L,  90, D::Mul0_1,  E::Div0_1,  Takes},
    {&TForm1::SpinExtEdit29, "##0. Cек",       1,        30,     1,     63, D::Word,    E::Round,   Takes, &SpinExtEdit29Init},
    // "Форсунка"
    {&TForm1::SpinExtEdit28, "#0.0кП",         0.00001L, 100,    0.1L,  89, D::Div10,   E::Mul10,   Takes},
    {&TForm1::SpinExtEdit43, "#0.00mS",        0.00001L, 2,      0.05L, 89, D::Div10,   std::nullopt, Takes},
    {&TForm1::SpinExtEdit39, "            #0.0 %", -99,  500,    0.1L,  42, D::Div10_24, E::Mul10_24, Keeps},
    // "Газ"
    {&TForm1::SpinExtEdit30, "#0.00 V",        0.00001L, 5,      0.05L, 76, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit32, "#0.0 кПa",       0.00001L, 600,    0.1L,  77, D::Div10,   E::Mul10,   Takes},
    {&TForm1::SpinExtEdit31, "#0.00 V",        0.00001L, 5,      0.05L, 78, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit33, "#0.0 кПa",       0.00001L, 600,    0.1L,  79, D::Div10,   E::Mul10,   Takes},
    {&TForm1::SpinExtEdit8,  "#####0.0 кПа",   0.00001L, 400,    0.1L,  95, D::Div10,   E::Mul10,   Takes},
    {&TForm1::SpinExtEdit7,  "#####0.0 кПа",   0.00001L, 400,    0.1L,  94, D::Div10,   E::Mul10,   Takes},
    // "Вакуум"
    {&TForm1::SpinExtEdit14, "#0.00 V",        0.00001L, 5,      0.05L, 72, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit21, "#0.0 кПa",       0.00001L, 600,    0.1L,  73, D::Div10,   E::Mul10,   Takes},
    {&TForm1::SpinExtEdit15, "#0.00 V",        0.00001L, 5,      0.05L, 74, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit23, "#0.0 кПa",       0.00001L, 600,    0.1L,  75, D::Div10,   E::Mul10,   Takes},
    // "Датчик кислорода"
    {&TForm1::SpinExtEdit10, "##0.00 V",       0.1L,     1,      0.01L, 67, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit11, "##0.00 V",       0.1L,     1,      0.01L, 66, D::Div1000, E::Mul1000, Takes},
    {&TForm1::SpinExtEdit35, "##0.00 Cек",     0.02L,    2,      0.02L, 53, D::Mul0_02, E::Div0_02, Takes},
    {&TForm1::SpinExtEdit36, "##0.0 %",        0.1L,     5,      0.1L,  54, D::Mul0_1,  E::Div0_1,  Takes},
    {&TForm1::SpinExtEdit37, "##0 %",          0.001L,   99,     1,     50, D::Mul0_1,  E::Div0_1,  Takes},
    {&TForm1::SpinExtEdit38, "##0 Сек",        1,        100,    1,     52, D::Word,    E::Round,   Takes},
    // "V ref"
    {&TForm1::SpinExtEdit1,  "Vref ##0.00 Volt", 4.5L,   6.5L,   0.01L, 48, D::Div1000, E::Mul1000, Takes, &SpinExtEdit1Init},
    // "Форсаж"
    {&TForm1::SpinExtEdit25, "#####0 Об/мин",  1000,     6000,   100,   69, D::Word,    E::Round,   Takes},
    {&TForm1::SpinExtEdit26, "#####0.0 кПа",   50,       100,    0.1L,  86, D::Div10,   E::Mul10,   Takes},
    {&TForm1::SpinExtEdit34, " ##0.0 %",       0.0000001L, 500,  0.1L,  87, D::Minus1024Div10_24, E::Mul10_24Plus1024, Takes},
    // "Установки"
    {&TForm1::SpinExtEdit40, "#####0.00",      0.1L,     8,      0.05L, 82, D::Div1000, E::Mul1000, Keeps},
    {&TForm1::SpinExtEdit41, "#####0.0кП",     100,      500,    0.1L,  80, D::Mul0_1,  E::Mul10,   Keeps},
    {&TForm1::SpinExtEdit42, "#####0.0кП",     0.00001L, 99,     0.1L,  81, D::Mul0_1,  E::Mul10,   Keeps},
};
// clang-format on

} // namespace

const SpinBinding* SpinBindingsBegin() {
    return std::begin(Table);
}
const SpinBinding* SpinBindingsEnd() {
    return std::end(Table);
}

void ReadSpinBinding(const SpinBinding& row, long double& value) {
    const bool replied = SendCommand(CmdReadParam, *row.address, 0);
    if (!replied && row.keepsOnFailure)
        return;
    value = DecodeWord(row.decode, ReplyValue());
}

void WriteSpinBinding(const SpinBinding& row, long double newValue) {
    SendCommand(CmdWriteParam, *row.address, EncodeValue(*row.encode, newValue));
}

void InstallSpinBindings(TForm1& form) {
    for (const SpinBinding& row : Table) {
        TSpinExtEdit* edit = form.*row.control;
        if (row.mask)
            edit->SetValueFormat(QString::fromUtf8(row.mask));
        edit->SetValueMin(row.min);
        edit->SetValueMax(row.max);
        edit->SetValue(0);
        edit->SetValueStep(row.step);
        if (row.init) {
            edit->onInit = [init = row.init](QObject*, int, int, long double& v) { init(v); };
        } else if (row.address) {
            edit->onInit = [&row](QObject*, int, int, long double& v) { ReadSpinBinding(row, v); };
        }
        if (row.change) {
            edit->onChangeValue = [change = row.change](QObject*, long double, long double v) {
                change(v);
            };
        } else if (row.address && row.encode) {
            edit->onChangeValue = [&row](QObject*, long double, long double v) {
                WriteSpinBinding(row, v);
            };
        }
    }
    ChooseCoilMask();
    ChooseCylinderMask();
}
