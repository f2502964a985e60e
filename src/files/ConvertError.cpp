#include "ConvertError.h"

EConvertError EConvertError::NotValidInteger(const QString& text) {
    return EConvertError(
        QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}
