#include "Form1Layout.h"

#include "Form1.h"

namespace {

using K = Kind;
using L = Look;
using S = Start;
using F = TForm1;

// Group boxes are listed top to bottom with their contents in reading order; pages follow
// their page control in tab order. Captions keep every blank: a run of blanks puts the
// second heading of a group over its second control.
// clang-format off
const ControlRow Rows[] = {
    // Top strip of the client area.
    {K::Button, "Connect_to_COM1", "", "Connect to COM", {4, 9, 93, 18}, L::Window, S::Enabled, &F::Connect_to_COM1},
    {K::Button, "Close_COM", "", "Close COM", {4, 33, 93, 18}, L::Window, S::Disabled, &F::Close_COM},
    {K::GroupBox, "GroupBox4", "", "Обороты коленвала", {108, 8, 153, 41}, L::Window, S::Enabled, &F::GroupBox4},
    {K::Display, "ExtText2", "GroupBox4", "", {8, 14, 137, 22}, L::SpeedDisplay, S::Disabled, &F::ExtText2},
    // 37 blanks between the two headings.
    {K::GroupBox, "GroupBox11", "", "Серийный номер                                     Дата выпуска", {268, 8, 285, 41}, L::Window, S::Enabled, &F::GroupBox11},
    {K::StaticText, "StaticText1", "GroupBox11", " ", {5, 15, 199, 20}, L::FieldText, S::Disabled, &F::StaticText1},
    {K::StaticText, "StaticText3", "GroupBox11", " ", {205, 15, 72, 20}, L::FieldText, S::Enabled, &F::StaticText3},
    {K::GroupBox, "GroupBox6", "", "Текущий % подстройки", {4, 56, 329, 41}, L::Window, S::Enabled, &F::GroupBox6},
    {K::StaticText, "StaticText2", "GroupBox6", "Подстройка", {8, 15, 313, 20}, L::TrimText, S::Enabled, &F::StaticText2},
    {K::PageControl, "PageControl1", "", "", {337, 60, 216, 321}, L::Window, S::Enabled, &F::PageControl1},
    {K::GroupBox, "GroupBox1", "", "Время открытого состояния инжектора", {4, 96, 329, 41}, L::Window, S::Enabled, &F::GroupBox1},
    {K::Display, "ExtText4", "GroupBox1", "Исх.", {8, 15, 154, 21}, L::InjectionDisplay, S::Disabled, &F::ExtText4},
    {K::Display, "ExtText3", "GroupBox1", "Тек.", {167, 15, 154, 21}, L::InjectionDisplay, S::Disabled, &F::ExtText3},
    {K::Panel, "Panel3", "", "", {4, 144, 329, 237}, L::Window, S::Hidden, &F::Panel3},

    // Live-monitor panel.
    {K::GroupBox, "GroupBox25", "Panel3", "Абсолютное давление газа", {8, 16, 313, 61}, L::Window, S::Enabled, &F::GroupBox25},
    {K::Label, "Label9", "GroupBox25", "0", {8, 15, 40, 13}, L::Window, S::Enabled, &F::Label9},
    {K::Label, "Label10", "GroupBox25", "500 кПа", {225, 15, 80, 13}, L::ScaleEndRight, S::Enabled, &F::Label10},
    {K::Gauge, "Gauge1", "GroupBox25", "", {8, 28, 297, 25}, L::Window, S::Enabled, &F::Gauge1, 500},
    {K::Label, "Label18", "GroupBox25", "000.0 кПа", {8, 28, 297, 25}, L::GaugeLabel, S::Enabled, &F::Label18},
    {K::GroupBox, "GroupBox26", "Panel3", "Абсолютное давление во впускном коллекторе", {8, 91, 313, 57}, L::Window, S::Enabled, &F::GroupBox26},
    {K::Label, "Label11", "GroupBox26", "0", {8, 12, 40, 13}, L::Window, S::Enabled, &F::Label11},
    {K::Label, "Label22", "GroupBox26", "100 кПа", {225, 12, 80, 13}, L::ScaleEndRight, S::Enabled, &F::Label22},
    {K::Gauge, "Gauge2", "GroupBox26", "", {8, 25, 297, 25}, L::Window, S::Enabled, &F::Gauge2, 100},
    {K::Label, "Label12", "GroupBox26", "000.0 кПа", {8, 25, 297, 25}, L::GaugeLabel, S::Enabled, &F::Label12},
    {K::GroupBox, "GroupBox27", "Panel3", "Приёмистость", {8, 160, 313, 53}, L::Window, S::Enabled, &F::GroupBox27},
    {K::Label, "Label16", "GroupBox27", "0", {96, 8, 30, 13}, L::Window, S::Enabled, &F::Label16},
    {K::Label, "Label23", "GroupBox27", "6", {265, 8, 40, 13}, L::ScaleEndRight, S::Enabled, &F::Label23},
    {K::SpinEdit, "SpinExtEdit6", "GroupBox27", "", {8, 21, 85, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit6},
    {K::Gauge, "Gauge3", "GroupBox27", "", {96, 21, 209, 25}, L::Window, S::Enabled, &F::Gauge3, 60},
    {K::Label, "Label17", "GroupBox27", "T = 000.00", {96, 21, 209, 25}, L::GaugeLabel, S::Enabled, &F::Label17},

    // Page "Двигатель".
    {K::TabSheet, "TabSheet2", "PageControl1", "Двигатель", {}, L::Window, S::Enabled, &F::TabSheet2},
    {K::PageControl, "PageControl3", "TabSheet2", "", FillsPage, L::Window, S::Enabled, &F::PageControl3},
    {K::TabSheet, "TabSheet6", "PageControl3", "Параметры", {}, L::Window, S::Enabled, &F::TabSheet6},
    {K::GroupBox, "GroupBox22", "TabSheet6", "Количество цилиндров", {4, 0, 189, 41}, L::Window, S::Enabled, &F::GroupBox22},
    {K::SpinEdit, "SpinExtEdit2", "GroupBox22", "", {8, 15, 173, 21}, L::SmallSpin, S::Disabled, &F::SpinExtEdit2},
    {K::GroupBox, "GroupBox2", "TabSheet6", "Количество катушек зажигания", {4, 44, 189, 38}, L::Window, S::Enabled, &F::GroupBox2},
    {K::SpinEdit, "SpinExtEdit9", "GroupBox2", "", {8, 14, 173, 21}, L::SmallSpin, S::Disabled, &F::SpinExtEdit9},
    {K::GroupBox, "GroupBox14", "TabSheet6", "Запуск двигателя", {4, 84, 189, 39}, L::Window, S::Enabled, &F::GroupBox14},
    {K::List, "ComboBox3", "GroupBox14", "", {8, 14, 173, 21}, L::List, S::Disabled, &F::ComboBox3},
    {K::GroupBox, "GroupBox8", "TabSheet6", "Тип клапана бензина", {4, 129, 189, 39}, L::Window, S::Enabled, &F::GroupBox8},
    {K::List, "ComboBox1", "GroupBox8", "", {8, 14, 173, 21}, L::List, S::Disabled, &F::ComboBox1},
    {K::GroupBox, "GroupBox12", "TabSheet6", "Тип клапана паровой фазы", {4, 172, 189, 39}, L::Window, S::Enabled, &F::GroupBox12},
    {K::List, "ComboBox2", "GroupBox12", "", {8, 14, 173, 21}, L::List, S::Disabled, &F::ComboBox2},
    {K::GroupBox, "GroupBox3", "TabSheet6", "Датчик кислорода", {3, 216, 190, 45}, L::Window, S::Enabled, &F::GroupBox3},
    {K::Radio, "RadioButton1", "GroupBox3", "есть", {8, 13, 60, 16}, L::Window, S::Disabled, &F::RadioButton1},
    {K::Radio, "RadioButton2", "GroupBox3", "нет", {96, 13, 60, 16}, L::Window, S::Disabled, &F::RadioButton2},
    {K::Display, "ExtText1", "GroupBox3", "Напряжение датчика", {4, 28, 182, 15}, L::PlainDisplay, S::Disabled, &F::ExtText1},
    {K::TabSheet, "TabSheet7", "PageControl3", "Др. засл.", {}, L::Window, S::Enabled, &F::TabSheet7},
    {K::GroupBox, "GroupBox17", "TabSheet7", "Датчик положения др. заслонки", {4, 0, 189, 61}, L::Window, S::Enabled, &F::GroupBox17},
    {K::List, "ComboBox4", "GroupBox17", "", {8, 15, 173, 21}, L::List, S::Disabled, &F::ComboBox4},
    {K::Display, "ExtText5", "GroupBox17", "Напряжение датчика", {4, 40, 182, 15}, L::PlainDisplay, S::Disabled, &F::ExtText5},
    {K::GroupBox, "GroupBox7", "TabSheet7", "Пороговое напряжение ХХ", {4, 64, 189, 45}, L::Window, S::Enabled, &F::GroupBox7},
    {K::SpinEdit, "SpinExtEdit19", "GroupBox7", "", {8, 15, 173, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit19},
    // 2 blanks before "разгоне".
    {K::GroupBox, "GroupBox9", "TabSheet7", "Обогащение при  разгоне", {4, 114, 189, 47}, L::Window, S::Enabled, &F::GroupBox9},
    {K::SpinEdit, "SpinExtEdit20", "GroupBox9", "", {8, 16, 173, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit20},
    // Below the lower edge of its 47-pixel parent: never seen.
    {K::GroupBox, "GroupBox13", "GroupBox9", "Разгон", {0, 64, 185, 55}, L::Window, S::Enabled, &F::GroupBox13},
    {K::Label, "Label20", "GroupBox13", "Обогащение", {8, 14, 80, 13}, L::Window, S::Enabled, &F::Label20},
    {K::SpinEdit, "SpinExtEdit12", "GroupBox13", "", {8, 27, 80, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit12},
    {K::Label, "Label21", "GroupBox13", "Колич. циклов", {96, 14, 80, 13}, L::Window, S::Enabled, &F::Label21},
    {K::SpinEdit, "SpinExtEdit13", "GroupBox13", "", {96, 27, 80, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit13},
    {K::GroupBox, "GroupBox10", "TabSheet7", "Подхват", {4, 164, 189, 105}, L::Window, S::Enabled, &F::GroupBox10},
    {K::Label, "Label3", "GroupBox10", "Обороты включения ПХХ", {8, 15, 173, 13}, L::Window, S::Enabled, &F::Label3},
    {K::SpinEdit, "SpinExtEdit18", "GroupBox10", "", {8, 29, 173, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit18},
    {K::Label, "Label19", "GroupBox10", "Обогащение при подхвате", {8, 58, 173, 13}, L::Window, S::Enabled, &F::Label19},
    {K::SpinEdit, "SpinExtEdit24", "GroupBox10", "", {8, 72, 173, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit24},
    {K::TabSheet, "TabSheet1", "PageControl3", "Коленвал", {}, L::Window, S::Enabled, &F::TabSheet1},
    {K::GroupBox, "GroupBox23", "TabSheet1", "Ограничение об/мин", {16, 62, 169, 51}, L::Window, S::Enabled, &F::GroupBox23},
    {K::SpinEdit, "SpinExtEdit3", "GroupBox23", "", {8, 17, 153, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit3},
    // Below the lower edge of its 51-pixel parent: never seen.
    {K::GroupBox, "GroupBox24", "GroupBox23", "Разгон", {0, 64, 185, 55}, L::Window, S::Enabled, &F::GroupBox24},
    {K::Label, "Label7", "GroupBox24", "Обогащение", {8, 14, 80, 13}, L::Window, S::Enabled, &F::Label7},
    {K::SpinEdit, "SpinExtEdit4", "GroupBox24", "", {8, 27, 80, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit4},
    {K::Label, "Label8", "GroupBox24", "Колич. циклов", {96, 14, 80, 13}, L::Window, S::Enabled, &F::Label8},
    {K::SpinEdit, "SpinExtEdit5", "GroupBox24", "", {96, 27, 80, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit5},

    // Page "Термо датчик".
    {K::TabSheet, "TabSheet3", "PageControl1", "Термо датчик", {}, L::Window, S::Enabled, &F::TabSheet3},
    {K::PageControl, "PageControl2", "TabSheet3", "", FillsPage, L::Window, S::Enabled, &F::PageControl2},
    {K::TabSheet, "TabSheet5", "PageControl2", "Двигателя", {}, L::Window, S::Enabled, &F::TabSheet5},
    {K::GroupBox, "GroupBox5", "TabSheet5", "Юстировка датчика температуры", {4, 16, 189, 109}, L::Window, S::Enabled, &F::GroupBox5},
    {K::Label, "Label15", "GroupBox5", "Текущее напряжение", {4, 21, 129, 16}, L::ArialLabel, S::Enabled, &F::Label15},
    {K::Display, "ExtText8", "GroupBox5", "", {134, 19, 51, 20}, L::VoltageDisplay, S::Disabled, &F::ExtText8},
    {K::Label, "Label13", "GroupBox5", "Напряжение при", {4, 45, 101, 16}, L::ArialLabel, S::Enabled, &F::Label13},
    {K::Label, "Label14", "GroupBox5", "холодном двиг.", {4, 59, 101, 16}, L::ArialLabel, S::Enabled, &F::Label14},
    {K::SpinEdit, "SpinExtEdit16", "GroupBox5", "", {107, 47, 78, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit16},
    {K::Label, "Label1", "GroupBox5", "Напряжение при", {4, 75, 101, 16}, L::ArialLabel, S::Enabled, &F::Label1},
    {K::Label, "Label2", "GroupBox5", "горячем двиг.", {4, 89, 101, 16}, L::ArialLabel, S::Enabled, &F::Label2},
    {K::SpinEdit, "SpinExtEdit17", "GroupBox5", "", {107, 77, 78, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit17},
    {K::GroupBox, "GroupBox16", "TabSheet5", "Текущая температура двигателя", {4, 140, 189, 45}, L::Window, S::Enabled, &F::GroupBox16},
    {K::Display, "ExtText9", "GroupBox16", "", {8, 15, 173, 25}, L::TemperatureDisplay, S::Disabled, &F::ExtText9},
    {K::GroupBox, "GroupBox15", "TabSheet5", "Переход с пара на жидк. фазу", {4, 204, 189, 45}, L::Window, S::Enabled, &F::GroupBox15},
    {K::SpinEdit, "SpinExtEdit22", "GroupBox15", "", {8, 15, 173, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit22},

    // Page "Сервис".
    {K::TabSheet, "TabSheet4", "PageControl1", "Сервис", {}, L::Window, S::Enabled, &F::TabSheet4},
    {K::GroupBox, "GroupBox21", "TabSheet4", "Напряжение питания", {16, 7, 173, 46}, L::Window, S::Enabled, &F::GroupBox21},
    {K::Display, "ExtText6", "GroupBox21", "", {8, 16, 157, 24}, L::SupplyDisplay, S::Disabled, &F::ExtText6},
    {K::GroupBox, "GroupBox19", "TabSheet4", "Наработка (циклы x 1000)", {15, 72, 174, 45}, L::Window, S::Enabled, &F::GroupBox19},
    {K::StaticText, "StaticText4", "GroupBox19", " ", {8, 17, 158, 20}, L::HoursText, S::Disabled, &F::StaticText4},
    // The service page set: created after GroupBox19 so that it lies above it.
    {K::PageControl, "PageControl4", "TabSheet4", "", {0, 60, 208, 233}, L::Window, S::Hidden, &F::PageControl4},

    {K::TabSheet, "TabSheet8", "PageControl4", "Крутизна", {}, L::Window, S::Enabled, &F::TabSheet8},
    {K::GroupBox, "GroupBox31", "TabSheet8", "Приращение", {35, 16, 129, 49}, L::ServiceGroup, S::Enabled, &F::GroupBox31},
    {K::SpinEdit, "SpinExtEdit27", "GroupBox31", "", {8, 17, 113, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit27},
    {K::GroupBox, "GroupBox33", "TabSheet8", "Период самообуч.", {35, 76, 129, 49}, L::ServiceGroup, S::Enabled, &F::GroupBox33},
    {K::SpinEdit, "SpinExtEdit29", "GroupBox33", "", {8, 17, 113, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit29},
    {K::GroupBox, "GroupBox34", "TabSheet8", "Авто корр. крутизны", {35, 144, 129, 49}, L::ServiceGroup, S::Enabled, &F::GroupBox34},
    {K::Radio, "RadioButton5", "GroupBox34", "разрешена", {8, 14, 113, 16}, L::BlackRadio, S::Enabled, &F::RadioButton5},
    {K::Radio, "RadioButton6", "GroupBox34", "запрещена", {8, 30, 113, 16}, L::BlackRadio, S::Enabled, &F::RadioButton6},

    {K::TabSheet, "TabSheet9", "PageControl4", "Форсунка", {}, L::Window, S::Enabled, &F::TabSheet9},
    // 20 blanks between the two headings.
    {K::GroupBox, "GroupBox32", "TabSheet9", "P нуль                    T нуль", {0, 0, 201, 41}, L::ServiceGroup, S::Enabled, &F::GroupBox32},
    {K::SpinEdit, "SpinExtEdit28", "GroupBox32", "", {4, 14, 95, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit28},
    {K::SpinEdit, "SpinExtEdit43", "GroupBox32", "", {102, 14, 95, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit43},
    {K::GroupBox, "GroupBox29", "TabSheet9", "Качество", {0, 48, 201, 49}, L::ServiceGroup, S::Enabled, &F::GroupBox29},
    {K::TrackBar, "TrackBar1", "GroupBox29", "", {42, 15, 110, 30}, L::Window, S::Enabled, &F::TrackBar1, 4, 0},
    {K::Label, "Label32", "GroupBox29", "низкое", {4, 22, 38, 13}, L::Window, S::Enabled, &F::Label32},
    {K::Label, "Label33", "GroupBox29", "высокое", {153, 22, 46, 13}, L::Window, S::Enabled, &F::Label33},
    {K::GroupBox, "GroupBox44", "TabSheet9", "Дросселирование", {0, 100, 201, 45}, L::ServiceGroup, S::Enabled, &F::GroupBox44},
    {K::SpinEdit, "SpinExtEdit39", "GroupBox44", "", {8, 15, 185, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit39},
    {K::GroupBox, "GroupBox38", "TabSheet9", "Коэффициент демпфирования", {0, 148, 201, 53}, L::ServiceGroup, S::Enabled, &F::GroupBox38},
    {K::TrackBar, "TrackBar2", "GroupBox38", "", {30, 16, 140, 30}, L::Window, S::Enabled, &F::TrackBar2, 5, 3},
    {K::Label, "Label4", "GroupBox38", "min", {6, 23, 24, 13}, L::Window, S::Enabled, &F::Label4},
    {K::Label, "Label5", "GroupBox38", "max", {172, 23, 26, 13}, L::Window, S::Enabled, &F::Label5},

    {K::TabSheet, "TabSheet10", "PageControl4", "Газ", {}, L::Window, S::Enabled, &F::TabSheet10},
    {K::GroupBox, "GroupBox28", "TabSheet10", "Датчик", {2, 18, 198, 35}, L::ServiceGroup, S::Enabled, &F::GroupBox28},
    {K::Radio, "RadioButton3", "GroupBox28", "есть", {8, 14, 60, 16}, L::Window, S::Enabled, &F::RadioButton3},
    {K::Radio, "RadioButton4", "GroupBox28", "нет", {100, 14, 60, 16}, L::Window, S::Enabled, &F::RadioButton4},
    {K::GroupBox, "GroupBox35", "TabSheet10", "Юстировка дат. абс. давления газа", {-2, 60, 198, 89}, L::AlertGroup, S::Enabled, &F::GroupBox35},
    {K::Label, "Label24", "GroupBox35", "напряжение", {8, 15, 80, 13}, L::Window, S::Enabled, &F::Label24},
    {K::Label, "Label25", "GroupBox35", "абс. давление", {94, 15, 96, 13}, L::Window, S::Enabled, &F::Label25},
    {K::SpinEdit, "SpinExtEdit30", "GroupBox35", "", {4, 30, 86, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit30},
    {K::SpinEdit, "SpinExtEdit31", "GroupBox35", "", {4, 58, 86, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit31},
    {K::SpinEdit, "SpinExtEdit32", "GroupBox35", "", {92, 30, 102, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit32},
    {K::SpinEdit, "SpinExtEdit33", "GroupBox35", "", {92, 58, 102, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit33},
    // Same place as GroupBox35 and above it.
    {K::GroupBox, "GroupBox30", "TabSheet10", "Абс. давление редуктора", {2, 60, 198, 89}, L::ServiceGroup, S::Enabled, &F::GroupBox30},
    {K::Label, "Label28", "GroupBox30", "Исх.", {8, 25, 44, 20}, L::BoldLabel, S::Enabled, &F::Label28},
    {K::SpinEdit, "SpinExtEdit8", "GroupBox30", "", {52, 22, 140, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit8},
    {K::Label, "Label29", "GroupBox30", "Х/х", {8, 55, 44, 20}, L::BoldLabel, S::Enabled, &F::Label29},
    {K::SpinEdit, "SpinExtEdit7", "GroupBox30", "", {52, 52, 140, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit7},
    {K::GroupBox, "GroupBox43", "TabSheet10", "Напряжение датчика", {2, 155, 198, 46}, L::ServiceGroup, S::Enabled, &F::GroupBox43},
    {K::Display, "ExtText10", "GroupBox43", "", {8, 16, 182, 24}, L::SensorDisplay, S::Disabled, &F::ExtText10},

    {K::TabSheet, "TabSheet11", "PageControl4", "Вакуум", {}, L::Window, S::Enabled, &F::TabSheet11},
    // 2 blanks after "абс.".
    {K::GroupBox, "GroupBox36", "TabSheet11", "Юстировка дат. абс.  давл. вп. колл.", {2, 32, 198, 101}, L::ServiceGroup, S::Enabled, &F::GroupBox36},
    {K::Label, "Label26", "GroupBox36", "напряжение", {8, 16, 80, 13}, L::Window, S::Enabled, &F::Label26},
    {K::Label, "Label27", "GroupBox36", "абс. давление", {94, 16, 96, 13}, L::Window, S::Enabled, &F::Label27},
    {K::SpinEdit, "SpinExtEdit14", "GroupBox36", "", {4, 32, 86, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit14},
    {K::SpinEdit, "SpinExtEdit15", "GroupBox36", "", {4, 64, 86, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit15},
    {K::SpinEdit, "SpinExtEdit21", "GroupBox36", "", {92, 32, 102, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit21},
    {K::SpinEdit, "SpinExtEdit23", "GroupBox36", "", {92, 64, 102, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit23},
    {K::GroupBox, "GroupBox42", "TabSheet11", "Напряжение датчика", {2, 139, 198, 46}, L::ServiceGroup, S::Enabled, &F::GroupBox42},
    {K::Display, "ExtText7", "GroupBox42", "", {8, 16, 182, 24}, L::SensorDisplay, S::Disabled, &F::ExtText7},

    {K::TabSheet, "TabSheet12", "PageControl4", "Датчик кислорода", {}, L::Window, S::Enabled, &F::TabSheet12},
    {K::GroupBox, "GroupBox18", "TabSheet12", "Гистерезис", {8, 0, 177, 45}, L::ServiceGroup, S::Enabled, &F::GroupBox18},
    {K::SpinEdit, "SpinExtEdit10", "GroupBox18", "", {4, 15, 83, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit10},
    {K::SpinEdit, "SpinExtEdit11", "GroupBox18", "", {90, 15, 83, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit11},
    {K::GroupBox, "GroupBox39", "TabSheet12", "Период опроса", {8, 52, 177, 45}, L::ServiceGroup, S::Enabled, &F::GroupBox39},
    {K::SpinEdit, "SpinExtEdit35", "GroupBox39", "", {8, 15, 161, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit35},
    // 10 blanks between the two headings.
    {K::GroupBox, "GroupBox40", "TabSheet12", "Приращение          Max рег. +/-", {8, 104, 177, 45}, L::ServiceGroup, S::Enabled, &F::GroupBox40},
    {K::SpinEdit, "SpinExtEdit36", "GroupBox40", "", {4, 15, 83, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit36},
    {K::SpinEdit, "SpinExtEdit37", "GroupBox40", "", {90, 15, 83, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit37},
    {K::GroupBox, "GroupBox41", "TabSheet12", "Прогрев", {8, 152, 177, 45}, L::ServiceGroup, S::Enabled, &F::GroupBox41},
    {K::SpinEdit, "SpinExtEdit38", "GroupBox41", "", {8, 15, 161, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit38},

    {K::TabSheet, "TabSheet13", "PageControl4", "V ref", {}, L::Window, S::Enabled, &F::TabSheet13},
    {K::GroupBox, "GroupBox20", "TabSheet13", "Опорное напряжение", {12, 52, 169, 53}, L::ServiceGroup, S::Enabled, &F::GroupBox20},
    {K::SpinEdit, "SpinExtEdit1", "GroupBox20", "", {8, 18, 153, 25}, L::LargeSpin, S::Enabled, &F::SpinExtEdit1},

    {K::TabSheet, "TabSheet15", "PageControl4", "Форсаж", {}, L::Window, S::Enabled, &F::TabSheet15},
    {K::GroupBox, "GroupBox37", "TabSheet15", "Max мощность", {16, 12, 169, 113}, L::ServiceGroup, S::Enabled, &F::GroupBox37},
    {K::SpinEdit, "SpinExtEdit25", "GroupBox37", "", {8, 17, 153, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit25},
    {K::SpinEdit, "SpinExtEdit26", "GroupBox37", "", {8, 47, 153, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit26},
    {K::SpinEdit, "SpinExtEdit34", "GroupBox37", "", {8, 77, 153, 25}, L::ArialSpin, S::Disabled, &F::SpinExtEdit34},

    {K::TabSheet, "TabSheet16", "PageControl4", "Установки", {}, L::Window, S::Enabled, &F::TabSheet16},
    // 19 blanks between the two headings.
    {K::GroupBox, "GroupBox46", "TabSheet16", "Газ х/х                   Вакуум х/х", {0, 12, 201, 49}, L::ServiceGroup, S::Enabled, &F::GroupBox46},
    {K::SpinEdit, "SpinExtEdit41", "GroupBox46", "", {4, 17, 95, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit41},
    {K::SpinEdit, "SpinExtEdit42", "GroupBox46", "", {102, 17, 95, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit42},
    {K::GroupBox, "GroupBox45", "TabSheet16", "Время х/х", {-1, 140, 202, 53}, L::ServiceGroup, S::Enabled, &F::GroupBox45},
    {K::SpinEdit, "SpinExtEdit40", "GroupBox45", "", {8, 21, 77, 25}, L::LargeSpin, S::Disabled, &F::SpinExtEdit40},
    {K::Gauge, "Gauge4", "GroupBox45", "", {88, 21, 109, 25}, L::Window, S::Enabled, &F::Gauge4, 80},
    {K::Label, "Label31", "GroupBox45", "0", {88, 8, 30, 13}, L::Window, S::Enabled, &F::Label31},
    {K::Label, "Label30", "GroupBox45", "8", {157, 8, 40, 13}, L::ScaleEndRight, S::Enabled, &F::Label30},
    {K::Label, "Label6", "GroupBox45", "T = 0.00", {88, 21, 109, 25}, L::GaugeLabel, S::Enabled, &F::Label6},
};
// clang-format on

} // namespace

LayoutTable MainWindowLayout() {
    return {Rows, static_cast<int>(std::size(Rows))};
}
