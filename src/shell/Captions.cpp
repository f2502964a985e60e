#include "Captions.h"

#include <QFileInfo>

QString BaseCaption() {
    return QStringLiteral("Tarvik-Q5 system ");
}

QString FileCaption(const QString& filePath) {
    return QStringLiteral("Tarvik-Q5 system (") + QFileInfo(filePath).fileName() + QLatin1Char(')');
}

QString OfflineCaption(const QString& filePath) {
    return QStringLiteral("Tarvik-Q5 system (") + QFileInfo(filePath).fileName() +
           QStringLiteral(", без прибора)");
}
