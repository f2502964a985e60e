#include "SpinButtonLayout.h"

#include <algorithm>

SpinButtonLayout SpinButtonPlacement(int editWidth, int editHeight) {
    const int height = std::max(0, editHeight - 3);
    const int width = std::max(height / 2, kSpinButtonMinWidth);
    const int upHeight = height / 2;
    const int downTop = upHeight - 1;
    SpinButtonLayout layout;
    layout.button = QRect(editWidth - width - 3, 0, width, height);
    layout.up = QRect(0, 0, width, upHeight);
    layout.down = QRect(0, downTop, width, height - upHeight + 1);
    return layout;
}
