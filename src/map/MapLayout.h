#pragma once
// What a map shows: its rows (engine-speed bands), its columns (load bands, of the base
// injection time or of the manifold pressure) and the value averaged in each cell.

#include "Bands.h"

#include <QString>

enum class LoadAxis { Injection, Manifold };

enum class MapValue {
    Trim,          // the oxygen sensor's trim, as the window's trim line shows it
    Ratio,         // gas time over petrol time ("Тек." ÷ "Исх.")
    OxygenVoltage, // the oxygen sensor's voltage
    GasPressure,
    Column, // any recorded column, by its name
};

struct MapLayout {
    Bands speed{500, 6500, 500};
    Bands load{1, 20, 1};
    LoadAxis axis = LoadAxis::Injection;
    MapValue value = MapValue::Trim;
    QString column; // the column's name for MapValue::Column

    // The bands a load axis starts with.
    static Bands DefaultLoad(LoadAxis axis);
    // True where zero is the aim and a diverging scale shows the side: the trim.
    bool AroundZero() const { return value == MapValue::Trim; }
};
