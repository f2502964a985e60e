#pragma once
// The format masks that the main window's value controls and monitor labels use, and the
// elements they are made of, for building masks of the same kind.

#include <QString>
#include <QStringList>

namespace SystemMasks {

// Every mask the window assigns, the switched unit words included.
const QStringList& All();

// Placeholders, points, blanks, the unit words of the masks above, Cyrillic letters, '%'
// and '/'.
const QStringList& Elements();

} // namespace SystemMasks
