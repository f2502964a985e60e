#pragma once
// Where the spin button of a spin edit goes, and where its two halves lie inside it.

#include <QRect>

struct SpinButtonLayout {
    QRect button; // in the client coordinates of the edit
    QRect up;     // in the coordinates of the spin button
    QRect down;   // overlaps the up button by one pixel row
};

constexpr int kSpinButtonMinWidth = 15;

SpinButtonLayout SpinButtonPlacement(int editWidth, int editHeight);
