#pragma once
// The program's own pictures, drawn at run time: the controller unit of the About box and
// the window icon.

#include <QIcon>
#include <QPixmap>

namespace Pictures {

// 199 x 137: the controller's housing with its connector, name plate and lamps.
QPixmap ControllerUnit();

// 16 x 16.
QIcon WindowIcon();

} // namespace Pictures
