#include "SystemMasks.h"

namespace SystemMasks {

const QStringList& All() {
    static const QStringList masks = {
        u"#####0.00"_qs,
        u"#####0.00 Volt"_qs,
        u"###0 %"_qs,
        u"#0 ц."_qs,
        u"#####0 Об/мин"_qs,
        u"#0.0 V"_qs,
        u"##0 °С"_qs,
        u"##0.0 %"_qs,
        u"##0. Cек"_qs,
        u"#0.0кП"_qs,
        u"#0.00mS"_qs,
        u"            #0.0 %"_qs,
        u"#0.00 V"_qs,
        u"#0.0 кПa"_qs,
        u"#####0.0 кПа"_qs,
        u"##0.00 V"_qs,
        u"##0.00 Cек"_qs,
        u"##0 %"_qs,
        u"##0 Сек"_qs,
        u"Vref ##0.00 Volt"_qs,
        u" ##0.0 %"_qs,
        u"#####0.0кП"_qs,
        u"###0 Об/мин"_qs,
        u"#0.00 mS"_qs,
        u"#####0.00 Вольт"_qs,
        u"##0°С"_qs,
        u"                  0 катушка"_qs,
        u"                  0 катушки"_qs,
        u"                #####0 цилиндров"_qs,
        u"                #####0 цилиндра"_qs,
        u"###0.0"_qs,
        u"###0.00"_qs,
        u"##0 град.. С"_qs,
    };
    return masks;
}

const QStringList& Elements() {
    static const QStringList elements = {
        u"#"_qs,    u"0"_qs,        u"."_qs,       u" "_qs,       u"%"_qs,         u"/"_qs,
        u"Volt"_qs, u"V"_qs,        u"Vref"_qs,    u"mS"_qs,      u"ц."_qs,        u"Об/мин"_qs,
        u"°С"_qs,   u"град.. С"_qs, u"кП"_qs,      u"кПа"_qs,     u"кПa"_qs,       u"Cек"_qs,
        u"Сек"_qs,  u"Вольт"_qs,    u"катушка"_qs, u"катушки"_qs, u"цилиндров"_qs, u"цилиндра"_qs,
        u"Ж"_qs,    u"ё"_qs,        u"Я"_qs,       u"ъ"_qs,
    };
    return elements;
}

} // namespace SystemMasks
