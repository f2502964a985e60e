#pragma once
// Comforts of the window's controls: spin edits step with Up, Down, Page Up and Page Down,
// and every control bound to a controller word explains itself in a tooltip.

class TForm1;

void InstallInputComforts(TForm1& form);
