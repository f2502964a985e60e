#pragma once
// Tooltips of the window's controls from the catalogue: the parameter's name, its unit, the
// range the control accepts (in shown units) and the controller word behind it.

#include "Catalogue.h"

#include <QString>

class QWidget;

namespace ControlTips {

// The tooltip text of the entry's control.
QString TipFor(const Catalogue::Entry& entry);

// Gives every control of `window` that the catalogue names its tooltip.
void Install(QWidget& window);

} // namespace ControlTips
