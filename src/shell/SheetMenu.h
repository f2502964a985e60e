#pragma once
// "Сервис" › "Лист установок…": the settings sheet of the connected controller, read from it
// word by word, or, when none is connected, of a settings file chosen as for a load; and the
// compare window's result on paper through the same sheet window.

#include <QString>

#include <memory>

class CompareDialog;
class QWidget;
class SheetDialog;
class TForm1;

// Reads the controller's block; a word without a valid reply throws Sheets::EWordUnread
// naming it, and no sheet is made. A PDF saved of it is listed in the controller's history.
std::unique_ptr<SheetDialog> MakeControllerSheet(TForm1& form);

// The sheet of a settings file read with a load's checks; nullptr when no file is there.
std::unique_ptr<SheetDialog> MakeFileSheet(const QString& path, QWidget* parent);

// The comparison's sheet, made when its window asks for it.
std::unique_ptr<SheetDialog> MakeComparisonSheet(CompareDialog& comparison);
void OfferSheet(CompareDialog& comparison);

void InstallSheets(TForm1& form);
