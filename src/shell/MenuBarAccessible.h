#pragma once
// What assistive technology reads of a menu bar: its menus, as Qt shows them, and then the
// widgets in its corners (the tool's state: link, recording), which Qt's own menu-bar interface
// leaves out. The corner's labels keep their own interfaces, so a change of their names is
// announced as Qt announces any label's.

namespace MenuBarAccessible {

// Makes every menu bar whose interface is asked for from now on answer with its corners as
// children, after its menus. Call it once the application object exists, so that it goes
// before Qt's own widget interfaces; calling it again changes nothing.
void Install();

} // namespace MenuBarAccessible
