#pragma once
// The window with its "Сервис" menu open, as one picture (a menu is a window of its own).

class QDir;
class TForm1;

bool SaveServiceMenu(TForm1& form, const QDir& dir);
// The same on a window of its own with every capability installed, as the program has it.
bool SaveServiceMenu(const QDir& dir);
