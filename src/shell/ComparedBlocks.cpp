#include "ComparedBlocks.h"

#include "ControllerBlock.h"
#include "Messages.h"
#include "SettingsCheck.h"
#include "SettingsFile.h"
#include "WindowLink.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

ComparedSide ReadControllerSide() {
    const SettingsRecords::Entries block = ControllerBlock::Read(WindowLink());
    ComparedSide side{QStringLiteral("Прибор"), {}};
    std::transform(block.begin(), block.end(), side.words.begin(),
                   [](const SettingsRecords::Entry& entry) { return entry.word; });
    return side;
}

std::optional<ComparedSide> ReadFileSide(const QString& path) {
    if (!SettingsFile::Exists(path)) {
        ShowInformation(QStringLiteral("Такого файла нет!"));
        return std::nullopt;
    }
    const QByteArray bytes = SettingsFile::ReadForLoad(path);
    if (SettingsCheck::Examine(bytes).foreign)
        throw std::runtime_error(SettingsCheck::ForeignFileText().toStdString());
    return ComparedSide{QFileInfo(path).fileName(), SettingsRecords::Parse(bytes)};
}

void TellApart(ComparedSide& a, ComparedSide& b, const QString& pathA, const QString& pathB) {
    if (a.title != b.title)
        return;
    a.title = QDir::toNativeSeparators(QFileInfo(pathA).absoluteFilePath());
    b.title = QDir::toNativeSeparators(QFileInfo(pathB).absoluteFilePath());
}
