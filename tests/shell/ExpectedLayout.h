#pragma once
// The main window as its description gives it, control by control in creation order.

#include <QColor>
#include <QRect>
#include <QString>

struct ExpectedFont {
    const char* family; // the Linux font that renders the face
    int pixelSize;
    bool bold;
};

struct ExpectedControl {
    const char* name;
    const char* className;
    const char* parent;  // a page's parent is its page control
    const char* caption; // "{n}" stands for a run of n blanks
    QRect place;         // null where the description leaves the place to the layout
    ExpectedFont font;
    char colour; // 'B' blue, 'K' black, 'R' red, '-' not checked
    char start;  // 'E' enabled, 'D' disabled, 'H' hidden
};

struct ExpectedTable {
    const ExpectedControl* rows;
    int count;
    const ExpectedControl* begin() const { return rows; }
    const ExpectedControl* end() const { return rows + count; }
};

ExpectedTable ExpectedMainWindow();

// Expands "{n}" into n blanks.
QString ExpandBlanks(const char* caption);
