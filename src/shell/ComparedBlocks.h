#pragma once
// The two sides of a comparison: the connected controller's parameter block, and settings
// files read with a load's checks and messages before anything is shown.

#include "CompareDialog.h"

#include <QString>

#include <optional>

// "Прибор" and the words it holds now, read as ControllerBlock reads them. Throws ENoReply at
// a word that did not come good.
ComparedSide ReadControllerSide();

// The file's name and words. A missing file shows "Такого файла нет!" and gives nullopt; a
// short or unreadable file throws the load's EInOutError, a foreign one the load's text.
std::optional<ComparedSide> ReadFileSide(const QString& path);

// Two files of the same name are told apart by their full paths.
void TellApart(ComparedSide& a, ComparedSide& b, const QString& pathA, const QString& pathB);
