#include "LabelOptions.h"

#include "LineReport.h"

#include <algorithm>

namespace {
double Millimetres(const QVariant& value, double fallback) {
    bool ok = false;
    const double mm = value.toDouble(&ok);
    return ok ? std::clamp(mm, LabelLayout::MinimumMm, LabelLayout::MaximumMm) : fallback;
}
} // namespace

LabelOptions LabelOptions::Load(QSettings& settings, const QString& defaultFolder) {
    LabelOptions options;
    settings.beginGroup(QStringLiteral("labels"));
    options.print = settings.value(QStringLiteral("print"), false).toBool();
    options.scanBack = settings.value(QStringLiteral("scanBack"), false).toBool();
    options.layout.sizeMm = {
        Millimetres(settings.value(QStringLiteral("widthMm")), LabelLayout::DefaultWidthMm),
        Millimetres(settings.value(QStringLiteral("heightMm")), LabelLayout::DefaultHeightMm)};
    options.target.printer = settings.value(QStringLiteral("printer")).toString();
    options.target.kind = options.target.printer.isEmpty() ? LabelTarget::Kind::PdfFolder
                                                           : LabelTarget::Kind::Printer;
    options.target.folder = settings.value(QStringLiteral("folder")).toString();
    if (options.target.folder.isEmpty())
        options.target.folder = defaultFolder;
    settings.endGroup();
    return options;
}

void LabelOptions::Save(QSettings& settings) const {
    settings.beginGroup(QStringLiteral("labels"));
    settings.setValue(QStringLiteral("print"), print);
    settings.setValue(QStringLiteral("scanBack"), scanBack);
    settings.setValue(QStringLiteral("widthMm"), layout.sizeMm.width());
    settings.setValue(QStringLiteral("heightMm"), layout.sizeMm.height());
    settings.setValue(QStringLiteral("printer"),
                      target.kind == LabelTarget::Kind::Printer ? target.printer : QString());
    settings.setValue(QStringLiteral("folder"), target.folder);
    settings.endGroup();
}

LabelContent LabelContentOf(const UnitRecord& record) {
    QString serial = record.serial;
    while (!serial.isEmpty() && serial.back().isSpace())
        serial.chop(1);
    return {serial, record.date, record.referenceSha256.left(8)};
}
