#pragma once
// The DataMatrix code (ECC 200) of a text, made by Zint: its dark modules as rectangles in
// module units, drawn as vector shapes so that a PDF stays sharp at any scale.

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

struct DataMatrix {
    int columns = 0; // in modules, without a quiet zone
    int rows = 0;
    std::vector<QRectF> dark; // in modules, (0, 0) at the symbol's top left

    // The code of the bytes as they stand; nothing when Zint cannot encode them (`error` says
    // why, when given).
    static std::optional<DataMatrix> Encode(const QByteArray& bytes, QString* error = nullptr);
};
