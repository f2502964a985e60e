#include "ExpectedLayout.h"

#include <QRegularExpression>

namespace {

constexpr ExpectedFont W{"Liberation Sans", 11, false};
constexpr ExpectedFont S15{"Liberation Sans", 15, false};
constexpr ExpectedFont S16B{"Liberation Sans", 16, true};
constexpr ExpectedFont S19{"Liberation Sans", 19, false};
constexpr ExpectedFont S21{"Liberation Sans", 21, false};
constexpr ExpectedFont A13{"Liberation Sans", 13, false};
constexpr ExpectedFont A21{"Liberation Sans", 21, false};
constexpr ExpectedFont A21B{"Liberation Sans", 21, true};
constexpr ExpectedFont C13{"Liberation Mono", 13, false};
constexpr ExpectedFont C15B{"Liberation Mono", 15, true};
constexpr ExpectedFont C17B{"Liberation Mono", 17, true};
constexpr ExpectedFont C19B{"Liberation Mono", 19, true};

constexpr QRect Free{};
constexpr const char* Client = "ClientArea";
constexpr const char* Button = "QPushButton";
constexpr const char* Group = "QGroupBox";
constexpr const char* Pages = "QTabWidget";
constexpr const char* Page = "QWidget";
constexpr const char* Label = "QLabel";
constexpr const char* List = "QComboBox";
constexpr const char* Radio = "QRadioButton";
constexpr const char* Track = "QSlider";
constexpr const char* Gauge = "QProgressBar";
constexpr const char* Spin = "TSpinExtEdit";
constexpr const char* Display = "TExtText";

// clang-format off
const ExpectedControl Rows[] = {
    {"Connect_to_COM1", Button, Client, "Connect to COM", {4, 9, 93, 18}, W, 'B', 'E'},
    {"Close_COM", Button, Client, "Close COM", {4, 33, 93, 18}, W, 'B', 'D'},
    {"GroupBox4", Group, Client, "Обороты коленвала", {108, 8, 153, 41}, W, 'B', 'E'},
    {"ExtText2", Display, "GroupBox4", "", Free, C17B, 'K', 'D'},
    {"GroupBox11", Group, Client, "Серийный номер{37}Дата выпуска", {268, 8, 285, 41}, W, 'B', 'E'},
    {"StaticText1", Label, "GroupBox11", " ", Free, C13, 'K', 'D'},
    {"StaticText3", Label, "GroupBox11", " ", Free, C13, 'K', 'E'},
    {"GroupBox6", Group, Client, "Текущий % подстройки", {4, 56, 329, 41}, W, 'B', 'E'},
    {"StaticText2", Label, "GroupBox6", "Подстройка", Free, C15B, 'K', 'E'},
    {"PageControl1", Pages, Client, "", {337, 60, 216, 321}, W, 'B', 'E'},
    {"GroupBox1", Group, Client, "Время открытого состояния инжектора", {4, 96, 329, 41}, W, 'B', 'E'},
    {"ExtText4", Display, "GroupBox1", "Исх.", Free, C15B, 'K', 'D'},
    {"ExtText3", Display, "GroupBox1", "Тек.", Free, C15B, 'K', 'D'},
    {"Panel3", "QFrame", Client, "", {4, 144, 329, 237}, W, '-', 'H'},

    {"GroupBox25", Group, "Panel3", "Абсолютное давление газа", {8, 16, 313, 61}, W, 'B', 'E'},
    {"Label9", Label, "GroupBox25", "0", Free, W, 'B', 'E'},
    {"Label10", Label, "GroupBox25", "500 кПа", Free, W, 'B', 'E'},
    {"Gauge1", Gauge, "GroupBox25", "", {8, 28, 297, 25}, W, '-', 'E'},
    {"Label18", Label, "GroupBox25", "000.0 кПа", Free, S19, 'K', 'E'},
    {"GroupBox26", Group, "Panel3", "Абсолютное давление во впускном коллекторе", {8, 91, 313, 57}, W, 'B', 'E'},
    {"Label11", Label, "GroupBox26", "0", Free, W, 'B', 'E'},
    {"Label22", Label, "GroupBox26", "100 кПа", Free, W, 'B', 'E'},
    {"Gauge2", Gauge, "GroupBox26", "", {8, 25, 297, 25}, W, '-', 'E'},
    {"Label12", Label, "GroupBox26", "000.0 кПа", Free, S19, 'K', 'E'},
    {"GroupBox27", Group, "Panel3", "Приёмистость", {8, 160, 313, 53}, W, 'B', 'E'},
    {"Label16", Label, "GroupBox27", "0", Free, W, 'B', 'E'},
    {"Label23", Label, "GroupBox27", "6", Free, W, 'B', 'E'},
    {"SpinExtEdit6", Spin, "GroupBox27", "", {8, 21, 85, 25}, S21, 'K', 'D'},
    {"Gauge3", Gauge, "GroupBox27", "", {96, 21, 209, 25}, W, '-', 'E'},
    {"Label17", Label, "GroupBox27", "T = 000.00", Free, S19, 'K', 'E'},

    {"TabSheet2", Page, "PageControl1", "Двигатель", Free, W, 'B', 'E'},
    {"PageControl3", Pages, "TabSheet2", "", Free, W, 'B', 'E'},
    {"TabSheet6", Page, "PageControl3", "Параметры", Free, W, 'B', 'E'},
    {"GroupBox22", Group, "TabSheet6", "Количество цилиндров", {4, 0, 189, 41}, W, 'B', 'E'},
    {"SpinExtEdit2", Spin, "GroupBox22", "", Free, W, 'K', 'D'},
    {"GroupBox2", Group, "TabSheet6", "Количество катушек зажигания", {4, 44, 189, 38}, W, 'B', 'E'},
    {"SpinExtEdit9", Spin, "GroupBox2", "", Free, W, 'K', 'D'},
    {"GroupBox14", Group, "TabSheet6", "Запуск двигателя", {4, 84, 189, 39}, W, 'B', 'E'},
    {"ComboBox3", List, "GroupBox14", "", Free, W, 'K', 'D'},
    {"GroupBox8", Group, "TabSheet6", "Тип клапана бензина", {4, 129, 189, 39}, W, 'B', 'E'},
    {"ComboBox1", List, "GroupBox8", "", Free, W, 'K', 'D'},
    {"GroupBox12", Group, "TabSheet6", "Тип клапана паровой фазы", {4, 172, 189, 39}, W, 'B', 'E'},
    {"ComboBox2", List, "GroupBox12", "", Free, W, 'K', 'D'},
    {"GroupBox3", Group, "TabSheet6", "Датчик кислорода", {3, 216, 190, 45}, W, 'B', 'E'},
    {"RadioButton1", Radio, "GroupBox3", "есть", Free, W, 'B', 'D'},
    {"RadioButton2", Radio, "GroupBox3", "нет", Free, W, 'B', 'D'},
    {"ExtText1", Display, "GroupBox3", "Напряжение датчика", Free, W, 'B', 'D'},
    {"TabSheet7", Page, "PageControl3", "Др. засл.", Free, W, 'B', 'E'},
    {"GroupBox17", Group, "TabSheet7", "Датчик положения др. заслонки", {4, 0, 189, 61}, W, 'B', 'E'},
    {"ComboBox4", List, "GroupBox17", "", Free, W, 'K', 'D'},
    {"ExtText5", Display, "GroupBox17", "Напряжение датчика", Free, W, 'B', 'D'},
    {"GroupBox7", Group, "TabSheet7", "Пороговое напряжение ХХ", {4, 64, 189, 45}, W, 'B', 'E'},
    {"SpinExtEdit19", Spin, "GroupBox7", "", Free, S21, 'K', 'D'},
    {"GroupBox9", Group, "TabSheet7", "Обогащение при{2}разгоне", {4, 114, 189, 47}, W, 'B', 'E'},
    {"SpinExtEdit20", Spin, "GroupBox9", "", Free, S21, 'K', 'D'},
    {"GroupBox13", Group, "GroupBox9", "Разгон", {0, 64, 185, 55}, W, 'B', 'E'},
    {"Label20", Label, "GroupBox13", "Обогащение", Free, W, 'B', 'E'},
    {"SpinExtEdit12", Spin, "GroupBox13", "", Free, S21, 'K', 'D'},
    {"Label21", Label, "GroupBox13", "Колич. циклов", Free, W, 'B', 'E'},
    {"SpinExtEdit13", Spin, "GroupBox13", "", Free, S21, 'K', 'D'},
    {"GroupBox10", Group, "TabSheet7", "Подхват", {4, 164, 189, 105}, W, 'B', 'E'},
    {"Label3", Label, "GroupBox10", "Обороты включения ПХХ", Free, W, 'B', 'E'},
    {"SpinExtEdit18", Spin, "GroupBox10", "", Free, S21, 'K', 'D'},
    {"Label19", Label, "GroupBox10", "Обогащение при подхвате", Free, W, 'B', 'E'},
    {"SpinExtEdit24", Spin, "GroupBox10", "", Free, S21, 'K', 'D'},
    {"TabSheet1", Page, "PageControl3", "Коленвал", Free, W, 'B', 'E'},
    {"GroupBox23", Group, "TabSheet1", "Ограничение об/мин", {16, 62, 169, 51}, W, 'B', 'E'},
    {"SpinExtEdit3", Spin, "GroupBox23", "", Free, S21, 'K', 'D'},
    {"GroupBox24", Group, "GroupBox23", "Разгон", {0, 64, 185, 55}, W, 'B', 'E'},
    {"Label7", Label, "GroupBox24", "Обогащение", Free, W, 'B', 'E'},
    {"SpinExtEdit4", Spin, "GroupBox24", "", Free, S21, 'K', 'D'},
    {"Label8", Label, "GroupBox24", "Колич. циклов", Free, W, 'B', 'E'},
    {"SpinExtEdit5", Spin, "GroupBox24", "", Free, S21, 'K', 'D'},

    {"TabSheet3", Page, "PageControl1", "Термо датчик", Free, W, 'B', 'E'},
    {"PageControl2", Pages, "TabSheet3", "", Free, W, 'B', 'E'},
    {"TabSheet5", Page, "PageControl2", "Двигателя", Free, W, 'B', 'E'},
    {"GroupBox5", Group, "TabSheet5", "Юстировка датчика температуры", {4, 16, 189, 109}, W, 'B', 'E'},
    {"Label15", Label, "GroupBox5", "Текущее напряжение", Free, A13, 'K', 'E'},
    {"ExtText8", Display, "GroupBox5", "", Free, S15, 'K', 'D'},
    {"Label13", Label, "GroupBox5", "Напряжение при", Free, A13, 'K', 'E'},
    {"Label14", Label, "GroupBox5", "холодном двиг.", Free, A13, 'K', 'E'},
    {"SpinExtEdit16", Spin, "GroupBox5", "", Free, S21, 'K', 'D'},
    {"Label1", Label, "GroupBox5", "Напряжение при", Free, A13, 'K', 'E'},
    {"Label2", Label, "GroupBox5", "горячем двиг.", Free, A13, 'K', 'E'},
    {"SpinExtEdit17", Spin, "GroupBox5", "", Free, S21, 'K', 'D'},
    {"GroupBox16", Group, "TabSheet5", "Текущая температура двигателя", {4, 140, 189, 45}, W, 'B', 'E'},
    {"ExtText9", Display, "GroupBox16", "", Free, A21B, 'R', 'D'},
    {"GroupBox15", Group, "TabSheet5", "Переход с пара на жидк. фазу", {4, 204, 189, 45}, W, 'B', 'E'},
    {"SpinExtEdit22", Spin, "GroupBox15", "", Free, S21, 'K', 'D'},

    {"TabSheet4", Page, "PageControl1", "Сервис", Free, W, 'B', 'E'},
    {"GroupBox21", Group, "TabSheet4", "Напряжение питания", {16, 7, 173, 46}, W, 'B', 'E'},
    {"ExtText6", Display, "GroupBox21", "", Free, C19B, 'B', 'D'},
    {"GroupBox19", Group, "TabSheet4", "Наработка (циклы x 1000)", {15, 72, 174, 45}, W, 'B', 'E'},
    {"StaticText4", Label, "GroupBox19", " ", Free, C13, 'K', 'D'},
    {"PageControl4", Pages, "TabSheet4", "", {0, 60, 208, 233}, W, 'B', 'H'},

    {"TabSheet8", Page, "PageControl4", "Крутизна", Free, W, 'B', 'E'},
    {"GroupBox31", Group, "TabSheet8", "Приращение", {35, 16, 129, 49}, W, 'K', 'E'},
    {"SpinExtEdit27", Spin, "GroupBox31", "", Free, A21, 'K', 'D'},
    {"GroupBox33", Group, "TabSheet8", "Период самообуч.", {35, 76, 129, 49}, W, 'K', 'E'},
    {"SpinExtEdit29", Spin, "GroupBox33", "", Free, A21, 'K', 'D'},
    {"GroupBox34", Group, "TabSheet8", "Авто корр. крутизны", {35, 144, 129, 49}, W, 'K', 'E'},
    {"RadioButton5", Radio, "GroupBox34", "разрешена", Free, W, 'K', 'E'},
    {"RadioButton6", Radio, "GroupBox34", "запрещена", Free, W, 'K', 'E'},
    {"TabSheet9", Page, "PageControl4", "Форсунка", Free, W, 'B', 'E'},
    {"GroupBox32", Group, "TabSheet9", "P нуль{20}T нуль", {0, 0, 201, 41}, W, 'K', 'E'},
    {"SpinExtEdit28", Spin, "GroupBox32", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit43", Spin, "GroupBox32", "", Free, S21, 'K', 'D'},
    {"GroupBox29", Group, "TabSheet9", "Качество", {0, 48, 201, 49}, W, 'K', 'E'},
    {"TrackBar1", Track, "GroupBox29", "", Free, W, '-', 'E'},
    {"Label32", Label, "GroupBox29", "низкое", Free, W, '-', 'E'},
    {"Label33", Label, "GroupBox29", "высокое", Free, W, '-', 'E'},
    {"GroupBox44", Group, "TabSheet9", "Дросселирование", {0, 100, 201, 45}, W, 'K', 'E'},
    {"SpinExtEdit39", Spin, "GroupBox44", "", Free, S21, 'K', 'D'},
    {"GroupBox38", Group, "TabSheet9", "Коэффициент демпфирования", {0, 148, 201, 53}, W, 'K', 'E'},
    {"TrackBar2", Track, "GroupBox38", "", Free, W, '-', 'E'},
    {"Label4", Label, "GroupBox38", "min", Free, W, '-', 'E'},
    {"Label5", Label, "GroupBox38", "max", Free, W, '-', 'E'},
    {"TabSheet10", Page, "PageControl4", "Газ", Free, W, 'B', 'E'},
    {"GroupBox28", Group, "TabSheet10", "Датчик", {2, 18, 198, 35}, W, 'K', 'E'},
    {"RadioButton3", Radio, "GroupBox28", "есть", Free, W, '-', 'E'},
    {"RadioButton4", Radio, "GroupBox28", "нет", Free, W, '-', 'E'},
    {"GroupBox35", Group, "TabSheet10", "Юстировка дат. абс. давления газа", {-2, 60, 198, 89}, W, 'R', 'E'},
    {"Label24", Label, "GroupBox35", "напряжение", Free, W, '-', 'E'},
    {"Label25", Label, "GroupBox35", "абс. давление", Free, W, '-', 'E'},
    {"SpinExtEdit30", Spin, "GroupBox35", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit31", Spin, "GroupBox35", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit32", Spin, "GroupBox35", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit33", Spin, "GroupBox35", "", Free, S21, 'K', 'D'},
    {"GroupBox30", Group, "TabSheet10", "Абс. давление редуктора", {2, 60, 198, 89}, W, 'K', 'E'},
    {"Label28", Label, "GroupBox30", "Исх.", Free, S16B, 'K', 'E'},
    {"SpinExtEdit8", Spin, "GroupBox30", "", Free, S21, 'K', 'D'},
    {"Label29", Label, "GroupBox30", "Х/х", Free, S16B, 'K', 'E'},
    {"SpinExtEdit7", Spin, "GroupBox30", "", Free, S21, 'K', 'D'},
    {"GroupBox43", Group, "TabSheet10", "Напряжение датчика", {2, 155, 198, 46}, W, 'K', 'E'},
    {"ExtText10", Display, "GroupBox43", "", Free, C19B, 'K', 'D'},
    {"TabSheet11", Page, "PageControl4", "Вакуум", Free, W, 'B', 'E'},
    {"GroupBox36", Group, "TabSheet11", "Юстировка дат. абс.{2}давл. вп. колл.", {2, 32, 198, 101}, W, 'K', 'E'},
    {"Label26", Label, "GroupBox36", "напряжение", Free, W, '-', 'E'},
    {"Label27", Label, "GroupBox36", "абс. давление", Free, W, '-', 'E'},
    {"SpinExtEdit14", Spin, "GroupBox36", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit15", Spin, "GroupBox36", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit21", Spin, "GroupBox36", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit23", Spin, "GroupBox36", "", Free, S21, 'K', 'D'},
    {"GroupBox42", Group, "TabSheet11", "Напряжение датчика", {2, 139, 198, 46}, W, 'K', 'E'},
    {"ExtText7", Display, "GroupBox42", "", Free, C19B, 'K', 'D'},
    {"TabSheet12", Page, "PageControl4", "Датчик кислорода", Free, W, 'B', 'E'},
    {"GroupBox18", Group, "TabSheet12", "Гистерезис", {8, 0, 177, 45}, W, 'K', 'E'},
    {"SpinExtEdit10", Spin, "GroupBox18", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit11", Spin, "GroupBox18", "", Free, S21, 'K', 'D'},
    {"GroupBox39", Group, "TabSheet12", "Период опроса", {8, 52, 177, 45}, W, 'K', 'E'},
    {"SpinExtEdit35", Spin, "GroupBox39", "", Free, A21, 'K', 'D'},
    {"GroupBox40", Group, "TabSheet12", "Приращение{10}Max рег. +/-", {8, 104, 177, 45}, W, 'K', 'E'},
    {"SpinExtEdit36", Spin, "GroupBox40", "", Free, A21, 'K', 'D'},
    {"SpinExtEdit37", Spin, "GroupBox40", "", Free, A21, 'K', 'D'},
    {"GroupBox41", Group, "TabSheet12", "Прогрев", {8, 152, 177, 45}, W, 'K', 'E'},
    {"SpinExtEdit38", Spin, "GroupBox41", "", Free, A21, 'K', 'D'},
    {"TabSheet13", Page, "PageControl4", "V ref", Free, W, 'B', 'E'},
    {"GroupBox20", Group, "TabSheet13", "Опорное напряжение", {12, 52, 169, 53}, W, 'K', 'E'},
    {"SpinExtEdit1", Spin, "GroupBox20", "", Free, S21, 'K', 'E'},
    {"TabSheet15", Page, "PageControl4", "Форсаж", Free, W, 'B', 'E'},
    {"GroupBox37", Group, "TabSheet15", "Max мощность", {16, 12, 169, 113}, W, 'K', 'E'},
    {"SpinExtEdit25", Spin, "GroupBox37", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit26", Spin, "GroupBox37", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit34", Spin, "GroupBox37", "", Free, A21, 'K', 'D'},
    {"TabSheet16", Page, "PageControl4", "Установки", Free, W, 'B', 'E'},
    {"GroupBox46", Group, "TabSheet16", "Газ х/х{19}Вакуум х/х", {0, 12, 201, 49}, W, 'K', 'E'},
    {"SpinExtEdit41", Spin, "GroupBox46", "", Free, S21, 'K', 'D'},
    {"SpinExtEdit42", Spin, "GroupBox46", "", Free, S21, 'K', 'D'},
    {"GroupBox45", Group, "TabSheet16", "Время х/х", {-1, 140, 202, 53}, W, 'K', 'E'},
    {"SpinExtEdit40", Spin, "GroupBox45", "", {8, 21, 77, 25}, S21, 'K', 'D'},
    {"Gauge4", Gauge, "GroupBox45", "", {88, 21, 109, 25}, W, '-', 'E'},
    {"Label31", Label, "GroupBox45", "0", Free, W, '-', 'E'},
    {"Label30", Label, "GroupBox45", "8", Free, W, '-', 'E'},
    {"Label6", Label, "GroupBox45", "T = 0.00", Free, S19, 'K', 'E'},
};
// clang-format on

} // namespace

ExpectedTable ExpectedMainWindow() {
    return {Rows, static_cast<int>(std::size(Rows))};
}

QString ExpandBlanks(const char* caption) {
    static const QRegularExpression run(QStringLiteral("\\{(\\d+)\\}"));
    QString text = QString::fromUtf8(caption);
    QRegularExpressionMatch match;
    while ((match = run.match(text)).hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(),
                     QString(match.captured(1).toInt(), QLatin1Char(' ')));
    return text;
}
