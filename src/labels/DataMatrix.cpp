#include "DataMatrix.h"

#include <zint.h>

#include <memory>

namespace {
struct SymbolDelete {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
} // namespace

std::optional<DataMatrix> DataMatrix::Encode(const QByteArray& bytes, QString* error) {
    const std::unique_ptr<zint_symbol, SymbolDelete> symbol(ZBarcode_Create());
    if (!symbol)
        return std::nullopt;
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->input_mode = DATA_MODE; // the bytes as given, no conversion from UTF-8
    symbol->option_3 = DM_SQUARE;
    symbol->scale = 1.0f;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (ZBarcode_Encode(symbol.get(), data, static_cast<int>(bytes.size())) >= ZINT_ERROR ||
        ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector ||
        symbol->width <= 0) {
        if (error)
            *error = QString::fromLatin1(symbol->errtxt);
        return std::nullopt;
    }
    DataMatrix code;
    code.columns = symbol->width;
    code.rows = symbol->rows;
    // Zint's vector units are a fixed multiple of the module; the symbol's width in modules
    // tells which.
    const double unit = static_cast<double>(symbol->vector->width) / symbol->width;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
        if (r->colour == -1 || r->colour == 7) // the foreground, or black
            code.dark.emplace_back(r->x / unit, r->y / unit, r->width / unit, r->height / unit);
    return code;
}
