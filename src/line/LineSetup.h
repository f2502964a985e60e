#pragma once
// What the production line is set up with, remembered between runs in the tool's
// preferences: the reference file, the stations' ports, the operator, whether new controllers
// are numbered, the live limits and the labels.

#include "LabelOptions.h"
#include "LiveLimit.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <vector>

struct LineSetup {
    static constexpr int MaxStations = 4;

    QString referencePath;
    QStringList devices; // up to four; an empty entry is a station left out
    QString operatorName;
    bool numberNew = true;
    std::vector<LiveLimit> limits;
    LabelOptions labels;

    // The labels' PDFs go to `labelFolder` until another folder is chosen.
    static LineSetup Load(QSettings& settings, const QString& labelFolder = {});
    void Save(QSettings& settings) const;
};
