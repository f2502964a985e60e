#include "DisplayBindings.h"

#include "Form1.h"
#include "Protocol.h"
#include "Scaling.h"
#include "Selectors.h"
#include "TExtText.h"

#include <optional>

namespace {

struct DisplayBinding {
    TExtText* TForm1::*control;
    const char* mask; // UTF-8
    const char* caption;
    int interval;
    uint8_t address; // live word
    Decode decode;
    bool keepsOnFailure;
    void (*query)(QObject*, int, int, long double&) = nullptr;
};

// clang-format off
const DisplayBinding Table[] = {
    {&TForm1::ExtText2,  "###0 Об/мин",     "",                   500,  162, Decode::Word,           true},
    {&TForm1::ExtText4,  "#0.00 mS",        "Исх.",               400,  178, Decode::Div1000,        false, &ExtText4Query},
    {&TForm1::ExtText3,  "#0.00 mS",        "Тек.",               400,  72,  Decode::Div1000,        false},
    {&TForm1::ExtText1,  "#####0.00 Вольт", "Напряжение датчика", 500,  166, Decode::Div1000,        false},
    {&TForm1::ExtText5,  "#####0.00 Вольт", "Напряжение датчика", 500,  192, Decode::Div1000,        false},
    {&TForm1::ExtText8,  "#0.0 V",          "",                   500,  196, Decode::Div1000,        false},
    {&TForm1::ExtText9,  "##0°С",           "",                   1000, 198, Decode::Mul0_1Minus273, true},
    {&TForm1::ExtText6,  "#####0.00 Volt",  "",                   600,  164, Decode::Div1000,        false},
    {&TForm1::ExtText10, "#####0.00 Volt",  "",                   600,  200, Decode::Div1000,        false},
    {&TForm1::ExtText7,  "#####0.00 Volt",  "",                   600,  190, Decode::Div1000,        false},
};
// clang-format on

void Query(const DisplayBinding& row, long double& value) {
    const bool replied = SendCommand(CmdReadLive, row.address, 0);
    if (!replied && row.keepsOnFailure)
        return;
    value = DecodeWord(row.decode, ReplyValue());
}

} // namespace

void InstallDisplayBindings(TForm1& form) {
    for (const DisplayBinding& row : Table) {
        TExtText* display = form.*row.control;
        display->SetValueCaption(QString::fromUtf8(row.caption));
        display->SetValueFormat(QString::fromUtf8(row.mask));
        display->SetAutoQuery(true);
        display->SetQueryInterval(row.interval);
        if (row.query)
            display->onQuery = row.query;
        else
            display->onQuery = [&row](QObject*, int, int, long double& v) { Query(row, v); };
    }
}
