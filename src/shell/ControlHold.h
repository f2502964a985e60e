#pragma once
// While the link is lost the window's value controls look and act disabled, as after
// "Close COM", but keep the values they show: nothing a person does there can reach a
// controller that may not be the connected one. Released when the same controller answers.

class TForm1;

namespace ControlHold {

// Disables every enabled value control, list, option button and slider of the window,
// dropping text typed into a field, and remembers them. Again after a handler enabled some.
void Hold(TForm1& form);
// Enables again what Hold disabled.
void Release();
// Forgets what Hold disabled without enabling it: the connection ended.
void Forget();
bool Holding();

} // namespace ControlHold
