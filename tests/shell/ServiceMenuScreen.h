#pragma once
// The window with its "Сервис" menu open, as one picture (a menu is a window of its own).

class QDir;
class TForm1;

bool SaveServiceMenu(TForm1& form, const QDir& dir);
