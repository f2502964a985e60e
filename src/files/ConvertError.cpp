#include "ConvertError.h"

EConvertError EConvertError::NotValidInteger(const QString& text) {
    // what() ends at the first NUL, which would cut the message short: show it as '?', as the
    // code page shows a character it has no sign for.
    const QString shown = QString(text).replace(QChar(u'\0'), QLatin1Char('?'));
    return EConvertError(
        QStringLiteral("'%1' is not a valid integer value").arg(shown).toStdString());
}
