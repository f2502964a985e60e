#pragma once
// The map window's short help: what the colours mean and where the window's own settings
// for the mixture are, in the captions the technician sees on them.

#include <QString>

namespace MapHelp {
QString Text();
}
