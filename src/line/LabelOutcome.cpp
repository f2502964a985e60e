#include "LabelOutcome.h"

QString LabelOutcome::PrintingText(LabelPrinting printing) {
    switch (printing) {
    case LabelPrinting::None:
        return {};
    case LabelPrinting::Printed:
        return QStringLiteral("напечатана");
    case LabelPrinting::NotPrinted:
        return QStringLiteral("не напечатана");
    }
    return {};
}

QString LabelOutcome::CheckText(LabelCheck check) {
    switch (check) {
    case LabelCheck::None:
        return {};
    case LabelCheck::Verified:
        return QStringLiteral("проверена");
    case LabelCheck::Voided:
        return QStringLiteral("не совпала, аннулирована");
    }
    return {};
}

LabelPrinting LabelOutcome::PrintingOf(const QString& text) {
    for (LabelPrinting p : {LabelPrinting::Printed, LabelPrinting::NotPrinted})
        if (text == PrintingText(p))
            return p;
    return LabelPrinting::None;
}

LabelCheck LabelOutcome::CheckOf(const QString& text) {
    for (LabelCheck c : {LabelCheck::Verified, LabelCheck::Voided})
        if (text == CheckText(c))
            return c;
    return LabelCheck::None;
}
