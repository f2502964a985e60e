#pragma once
// Whether the line labels its good units, how, where to, and whether each label is scanned
// back before the station takes its next unit.

#include "LabelContent.h"
#include "LabelLayout.h"
#include "LabelPrint.h"

#include <QSettings>

struct UnitRecord;

struct LabelOptions {
    bool print = false;
    bool scanBack = false;
    LabelLayout layout;
    LabelTarget target;

    // In the line's group of the preferences; the PDFs go to `defaultFolder` until another
    // is chosen.
    static LabelOptions Load(QSettings& settings, const QString& defaultFolder);
    void Save(QSettings& settings) const;
};

// What the label of the unit tells.
LabelContent LabelContentOf(const UnitRecord& record);
