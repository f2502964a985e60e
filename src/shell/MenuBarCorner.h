#pragma once
// The right end of the menu bar, where the tool shows its state (link, recording): one row of
// small widgets that leaves the window's layout alone.

class QMenuBar;
class QWidget;

namespace MenuBarCorner {

// Puts the widget into the corner row, left of what is there already. Give it a fixed or
// minimum width that fits its longest text: the menu bar sizes its corner when it is laid out.
void Add(QMenuBar* menuBar, QWidget* widget);

// Lays the corner out again after a widget's size changed.
void Refresh(QMenuBar* menuBar);

} // namespace MenuBarCorner
