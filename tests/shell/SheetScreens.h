#pragma once
// The first page of each kind of sheet (a controller's, a file's, a comparison's) rendered to
// PNG through its PDF (pdftoppm), and the sheet window.

#include "Sheet.h"

class QDir;

bool SaveSheets(const QDir& dir);

// A page of the sheet, the first unless told, at 60 dots per inch.
bool SavePage(const Sheets::Sheet& sheet, const QDir& dir, const QString& name, int page = 1);
