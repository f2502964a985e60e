#include "SearchKey.h"

namespace SearchKey {

QString Folded(const QString& text) {
    static const QString cyrillic = QStringLiteral("авекмнорстухё");
    static const QString latin = QStringLiteral("abekmhopctyxe");
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text.toLower()) {
        if (c.isSpace())
            continue;
        const qsizetype twin = cyrillic.indexOf(c);
        folded += twin < 0 ? c : latin[twin];
    }
    return folded;
}

} // namespace SearchKey
