#include "Catalogue.h"

#include "FormatMask.h"

#include <algorithm>
#include <cstring>

namespace Catalogue {

namespace {

using D = Decode;
using E = Encode;
using K = Kind;
constexpr Space P = Space::Param;
constexpr Space L = Space::Live;
constexpr auto None = std::nullopt;

// clang-format off
const std::vector<Entry> Entries = {
    // Monitor panel
    {"SpinExtEdit6",  P, 88, K::Value, "Приёмистость", "", "#####0.00", 0.00001L, 15.99L, 0.05L, D::Div1024, E::Mul1024},
    // "Двигатель" > "Параметры"
    {"SpinExtEdit9",  P, 39, K::Value, "Количество катушек зажигания", "", nullptr, 1, 2, 1, D::WordPlus1, E::RoundMinus1},
    {"SpinExtEdit2",  P, 71, K::Value, "Количество цилиндров", "", nullptr, 2, 8, 1, D::Word, E::Round},
    {"ComboBox1",     P, 55, K::List, "Тип клапана бензина", "", nullptr, 0, 1, 1, D::Word, E::Round,
        {"Нормально закрытый", "Нормально открытый"}},
    {"ComboBox2",     P, 37, K::List, "Тип клапана паровой фазы", "", nullptr, 0, 1, 1, D::Word, E::Round,
        {"Нормально открытый", "Нормально закрытый"}},
    {"ComboBox3",     P, 34, K::List, "Запуск двигателя", "", nullptr, 0, 2, 1, D::Word, E::Round,
        {"На газе или бензине", "Только на бензине", "Автоопределение"}},
    {"ComboBox4",     P, 38, K::List, "Датчик положения др. заслонки", "", nullptr, 0, 3, 1, D::Word, E::Round,
        {"Потенциометр прямой", "Потенциометр обратный", "Конц. выкл. прямой", "Конц. выкл. обратный"}},
    {"RadioButton1",  P, 51, K::Choice, "Датчик кислорода", "", nullptr, 0, 1, 1, D::Word, E::Round, {"нет", "есть"}},
    // "Двигатель" > "Др. засл."
    {"SpinExtEdit19", P, 56, K::Value, "Пороговое напряжение ХХ", "В", "#####0.00 Volt", 0.0001L, 5, 0.05L, D::Div1000, E::Mul1000},
    {"SpinExtEdit20", P, 61, K::Value, "Обогащение при разгоне", "%", "###0 %", 0.0001L, 500, 1, D::Mul0_1, E::Div0_1},
    {"SpinExtEdit12", P, 61, K::Value, "Обогащение при разгоне", "%", "###0 %", 0.0001L, 500, 1, D::Mul0_1, E::Div0_1},
    {"SpinExtEdit13", P, None, K::Value, "Разгон", "ц.", "#0 ц.", 1, 50, 1, D::Word, None},
    {"SpinExtEdit18", P, 57, K::Value, "Обороты включения ПХХ", "об/мин", "#####0 Об/мин", 1000, 4000, 50, D::Word, E::Round},
    {"SpinExtEdit24", P, 64, K::Value, "Обогащение при подхвате", "%", "###0 %", 0.0001L, 500, 1, D::Mul0_1, E::Div0_1},
    // "Двигатель" > "Коленвал"
    {"SpinExtEdit3",  P, 92, K::Value, "Ограничение об/мин", "об/мин", "#####0 Об/мин", 1000, 6000, 100, D::Word, E::Round},
    {"SpinExtEdit4",  P, 61, K::Value, "Обогащение при разгоне", "%", "###0 %", 0.0001L, 500, 1, D::Mul0_1, E::Div0_1},
    {"SpinExtEdit5",  P, None, K::Value, "Разгон", "ц.", "#0 ц.", 1, 50, 1, D::Word, None},
    // "Термо датчик" > "Двигателя"
    {"SpinExtEdit16", P, 59, K::Value, "Датчик температуры: холодный двигатель", "В", "#0.0 V", 1, 15, 0.1L, D::Div1000, E::Mul1000},
    {"SpinExtEdit17", P, 60, K::Value, "Датчик температуры: горячий двигатель", "В", "#0.0 V", 0.1L, 15, 0.1L, D::Div1000, E::Mul1000},
    {"SpinExtEdit22", P, 40, K::Value, "Температура перехода", "°С", "##0 °С", 20, 100, 1, D::Div10Minus273, E::Mul10Plus2730},
    // Service pages: "Крутизна"
    {"SpinExtEdit27", P, 90, K::Value, "Крутизна: приращение", "%", "##0.0 %", 0.1L, 10, 0.1L, D::Mul0_1, E::Div0_1},
    {"SpinExtEdit29", P, 63, K::Value, "Период самообучения", "с", "##0. Cек", 1, 30, 1, D::Word, E::Round},
    {"RadioButton5",  P, 91, K::Choice, "Авто корр. крутизны", "", nullptr, 0, 1, 1, D::Word, E::Round, {"запрещена", "разрешена"}},
    // "Форсунка"
    {"SpinExtEdit28", P, 89, K::Value, "P нуль", "кПа", "#0.0кП", 0.00001L, 100, 0.1L, D::Div10, E::Mul10},
    {"SpinExtEdit43", P, 89, K::Value, "T нуль", "мс", "#0.00mS", 0.00001L, 2, 0.05L, D::Div10, None},
    {"SpinExtEdit39", P, 42, K::Value, "Дросселирование", "%", "            #0.0 %", -99, 500, 0.1L, D::Div10_24, E::Mul10_24},
    // "Газ"
    {"RadioButton3",  P, 93, K::Choice, "Датчик давления газа", "", nullptr, 0, 1, 1, D::Word, E::Round, {"нет", "есть"}},
    {"SpinExtEdit30", P, 76, K::Value, "Датчик давления газа: точка 1, напряжение", "В", "#0.00 V", 0.00001L, 5, 0.05L, D::Div1000, E::Mul1000},
    {"SpinExtEdit32", P, 77, K::Value, "Датчик давления газа: точка 1, давление", "кПа", "#0.0 кПa", 0.00001L, 600, 0.1L, D::Div10, E::Mul10},
    {"SpinExtEdit31", P, 78, K::Value, "Датчик давления газа: точка 2, напряжение", "В", "#0.00 V", 0.00001L, 5, 0.05L, D::Div1000, E::Mul1000},
    {"SpinExtEdit33", P, 79, K::Value, "Датчик давления газа: точка 2, давление", "кПа", "#0.0 кПa", 0.00001L, 600, 0.1L, D::Div10, E::Mul10},
    {"SpinExtEdit8",  P, 95, K::Value, "Абс. давление редуктора: исх.", "кПа", "#####0.0 кПа", 0.00001L, 400, 0.1L, D::Div10, E::Mul10},
    {"SpinExtEdit7",  P, 94, K::Value, "Абс. давление редуктора: х/х", "кПа", "#####0.0 кПа", 0.00001L, 400, 0.1L, D::Div10, E::Mul10},
    // "Вакуум"
    {"SpinExtEdit14", P, 72, K::Value, "Датчик давления вп. колл.: точка 1, напряжение", "В", "#0.00 V", 0.00001L, 5, 0.05L, D::Div1000, E::Mul1000},
    {"SpinExtEdit21", P, 73, K::Value, "Датчик давления вп. колл.: точка 1, давление", "кПа", "#0.0 кПa", 0.00001L, 600, 0.1L, D::Div10, E::Mul10},
    {"SpinExtEdit15", P, 74, K::Value, "Датчик давления вп. колл.: точка 2, напряжение", "В", "#0.00 V", 0.00001L, 5, 0.05L, D::Div1000, E::Mul1000},
    {"SpinExtEdit23", P, 75, K::Value, "Датчик давления вп. колл.: точка 2, давление", "кПа", "#0.0 кПa", 0.00001L, 600, 0.1L, D::Div10, E::Mul10},
    // "Датчик кислорода"
    {"SpinExtEdit10", P, 67, K::Value, "Гистерезис (левый)", "В", "##0.00 V", 0.1L, 1, 0.01L, D::Div1000, E::Mul1000},
    {"SpinExtEdit11", P, 66, K::Value, "Гистерезис (правый)", "В", "##0.00 V", 0.1L, 1, 0.01L, D::Div1000, E::Mul1000},
    {"SpinExtEdit35", P, 53, K::Value, "Период опроса", "с", "##0.00 Cек", 0.02L, 2, 0.02L, D::Mul0_02, E::Div0_02},
    {"SpinExtEdit36", P, 54, K::Value, "Приращение", "%", "##0.0 %", 0.1L, 5, 0.1L, D::Mul0_1, E::Div0_1},
    {"SpinExtEdit37", P, 50, K::Value, "Max рег. +/-", "%", "##0 %", 0.001L, 99, 1, D::Mul0_1, E::Div0_1},
    {"SpinExtEdit38", P, 52, K::Value, "Прогрев", "с", "##0 Сек", 1, 100, 1, D::Word, E::Round},
    // "V ref"
    {"SpinExtEdit1",  P, 48, K::Value, "Опорное напряжение", "В", "Vref ##0.00 Volt", 4.5L, 6.5L, 0.01L, D::Div1000, E::Mul1000},
    {"TrackBar2",     P, 97, K::Position, "Коэффициент демпфирования", "", "0", 1, 6, 1, D::Word, E::Round},
    // "Форсаж"
    {"SpinExtEdit25", P, 69, K::Value, "Max мощность: обороты", "об/мин", "#####0 Об/мин", 1000, 6000, 100, D::Word, E::Round},
    {"SpinExtEdit26", P, 86, K::Value, "Max мощность: давление", "кПа", "#####0.0 кПа", 50, 100, 0.1L, D::Div10, E::Mul10},
    {"SpinExtEdit34", P, 87, K::Value, "Max мощность: обогащение", "%", " ##0.0 %", 0.0000001L, 500, 0.1L, D::Minus1024Div10_24, E::Mul10_24Plus1024},
    // "Установки"
    {"SpinExtEdit40", P, 82, K::Value, "Время х/х", "", "#####0.00", 0.1L, 8, 0.05L, D::Div1000, E::Mul1000},
    {"SpinExtEdit41", P, 80, K::Value, "Газ х/х", "кПа", "#####0.0кП", 100, 500, 0.1L, D::Mul0_1, E::Mul10},
    {"SpinExtEdit42", P, 81, K::Value, "Вакуум х/х", "кПа", "#####0.0кП", 0.00001L, 99, 0.1L, D::Mul0_1, E::Mul10},

    // Live values: the monitor panel first, then the polled displays.
    {"Gauge1",   L, 204, K::Value, "Давление газа", "кПа", "###0.0", 0, 0, 0, D::Div10, None},
    {"Gauge2",   L, 202, K::Value, "Давление во впускном коллекторе", "кПа", "###0.0", 0, 0, 0, D::Div10, None},
    {"Gauge3",   L, 208, K::Value, "Приёмистость", "", "###0.00", 0, 0, 0, D::Div1024, None},
    {"Label6",   L, 212, K::Value, "Время х/х", "", "###0.00", 0, 0, 0, D::Div1000, None},
    {"ExtText2", L, 162, K::Value, "Обороты коленвала", "об/мин", "###0 Об/мин", 0, 0, 0, D::Word, None},
    {"ExtText4", L, 178, K::Value, "Время впрыска исх.", "мс", "#0.00 mS", 0, 0, 0, D::Div1000, None},
    {"ExtText3", L, 72,  K::Value, "Время впрыска тек.", "мс", "#0.00 mS", 0, 0, 0, D::Div1000, None},
    {"ExtText1", L, 166, K::Value, "Напряжение датчика кислорода", "В", "#####0.00 Вольт", 0, 0, 0, D::Div1000, None},
    {"ExtText5", L, 192, K::Value, "Напряжение датчика др. заслонки", "В", "#####0.00 Вольт", 0, 0, 0, D::Div1000, None},
    {"ExtText8", L, 196, K::Value, "Напряжение датчика температуры", "В", "#0.0 V", 0, 0, 0, D::Div1000, None},
    {"ExtText9", L, 198, K::Value, "Температура двигателя", "°С", "##0°С", 0, 0, 0, D::Mul0_1Minus273, None},
    {"ExtText10", L, 200, K::Value, "Напряжение датчика давления газа", "В", "#####0.00 Volt", 0, 0, 0, D::Div1000, None},
    {"ExtText7", L, 190, K::Value, "Напряжение датчика вакуума", "В", "#####0.00 Volt", 0, 0, 0, D::Div1000, None},
    {"ExtText6", L, 164, K::Value, "Напряжение питания", "В", "#####0.00 Volt", 0, 0, 0, D::Div1000, None},
};
// clang-format on

// Words that no control sets, but whose meaning is known.
struct Unbound {
    uint8_t address;
    const char* name; // UTF-8
};
constexpr Unbound UnboundWords[] = {
    {47, "Код прибора"},
    {96, "Постоянная цилиндров"},
};

// 16-bit words: a negative whole number goes out as its low 16 bits.
constexpr long long WordSpan = 0x10000;

} // namespace

QString Entry::ShownText(uint16_t word) const {
    if (kind == Kind::List || kind == Kind::Choice)
        return word < items.size() ? QString::fromUtf8(items[word]) : QString::number(word);
    const long double value = DecodeWord(decode, word);
    const QString shown =
        mask ? FormatMask::Format(Mask(), value) : QString::number(static_cast<double>(value));
    return shown.trimmed();
}

std::optional<long double> Entry::WrittenValue(uint16_t word) const {
    if (!encode || kind == Kind::List || kind == Kind::Choice)
        return std::nullopt;
    const long long lowest = EncodeWhole(*encode, min);
    const long long highest = EncodeWhole(*encode, max);
    for (const long long whole : {static_cast<long long>(word), word - WordSpan})
        if (whole >= lowest && whole <= highest)
            return DecodeWhole(decode, whole);
    return std::nullopt;
}

bool Entry::Accepts(uint16_t word) const {
    if (kind == Kind::List || kind == Kind::Choice)
        return word < items.size();
    if (encode)
        return WrittenValue(word).has_value();
    const long double value = DecodeWord(decode, word);
    return value >= min && value <= max;
}

const std::vector<Entry>& All() {
    return Entries;
}

const Entry* ForControl(const char* control) {
    const auto found = std::find_if(Entries.begin(), Entries.end(), [control](const Entry& e) {
        return std::strcmp(e.control, control) == 0;
    });
    return found != Entries.end() ? &*found : nullptr;
}

const Entry* SetterOf(uint8_t address) {
    const auto found = std::find_if(Entries.begin(), Entries.end(), [address](const Entry& e) {
        return e.space == Space::Param && e.address == address &&
               (e.kind != Kind::Value || e.encode);
    });
    return found != Entries.end() ? &*found : nullptr;
}

QString ParamName(uint8_t address) {
    if (const Entry* entry = SetterOf(address))
        return entry->Name();
    for (const Unbound& word : UnboundWords)
        if (word.address == address)
            return QStringLiteral("%1 (слово %2)").arg(QString::fromUtf8(word.name)).arg(address);
    return QStringLiteral("Слово %1").arg(address);
}

const std::vector<const Entry*>& LiveValues() {
    static const std::vector<const Entry*> live = [] {
        std::vector<const Entry*> found;
        for (const Entry& e : Entries)
            if (e.space == Space::Live)
                found.push_back(&e);
        return found;
    }();
    return live;
}

} // namespace Catalogue
