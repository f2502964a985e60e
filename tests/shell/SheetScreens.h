#pragma once
// The first page of each kind of sheet (a controller's, a file's, a comparison's) rendered to
// PNG through its PDF (pdftoppm), and the sheet window.

class QDir;

bool SaveSheets(const QDir& dir);
