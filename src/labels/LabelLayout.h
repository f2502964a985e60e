#pragma once
// The size of a label and where its parts go: the serial number as text across the top, its
// DataMatrix code below at the left, the date of manufacture and the reference file's digits
// beside the code. Every place in millimetres, from the label's top left.

#include <QRectF>
#include <QSizeF>

struct LabelLayout {
    static constexpr double DefaultWidthMm = 40;
    static constexpr double DefaultHeightMm = 25;
    static constexpr double MinimumMm = 15;
    static constexpr double MaximumMm = 150;

    QSizeF sizeMm{DefaultWidthMm, DefaultHeightMm};

    struct Places {
        QRectF serial;
        QRectF code; // square
        QRectF made;
        QRectF reference;
    };
    Places Place() const;
};
