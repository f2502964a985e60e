#pragma once
// Comforts of the window's controls: spin edits step with Up, Down, Page Up and Page Down,
// and every control bound to a controller word explains itself in a tooltip. A key or an arrow
// held down writes one undo step, however many steps it makes.

class TForm1;

void InstallInputComforts(TForm1& form);
