#pragma once
// The "Сервис" menu between "Файл" and "?": the tool's own work beyond the controller's
// settings (restore points, comparisons, undo, recording, ports). Each capability adds its
// actions when it is installed.

class QMenu;
class TForm1;

// The window's "Сервис" menu, created on the first call.
QMenu* ServiceMenuOf(TForm1& form);

// The same menu, with a separator after what is there already: one capability's actions form
// a group of their own.
QMenu* ServiceMenuGroup(TForm1& form);
