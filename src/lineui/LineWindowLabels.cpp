// The line window's labels: their row of the setup with its preview, a scan typed into a
// station's tile, a unit's label printed again, and the day's labels.
#include "LineWindow.h"

#include "DateText.h"
#include "DayLabels.h"
#include "LabelPreview.h"
#include "ProductionLine.h"
#include "StationTile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>

namespace {
const QString PdfTarget = QStringLiteral("PDF в папку");
// The preview's unit: a numbered serial number of full length.
const QString SampleSerial = QStringLiteral("ОБРАЗЕЦ-0000000000-00114");
} // namespace

QLayout* LineWindow::MakeLabels(QWidget* labels) {
    printLabels_ = new QCheckBox(QStringLiteral("печатать этикетки"), labels);
    scanBack_ = new QCheckBox(QStringLiteral("проверять сканером"), labels);
    labelWidth_ = new QDoubleSpinBox(labels);
    labelHeight_ = new QDoubleSpinBox(labels);
    for (QDoubleSpinBox* side : {labelWidth_, labelHeight_}) {
        side->setRange(LabelLayout::MinimumMm, LabelLayout::MaximumMm);
        side->setDecimals(0);
        side->setSuffix(QStringLiteral(" мм"));
    }
    labelWidth_->setAccessibleName(QStringLiteral("Ширина этикетки"));
    labelHeight_->setAccessibleName(QStringLiteral("Высота этикетки"));
    labelTarget_ = new QComboBox(labels);
    labelTarget_->addItem(PdfTarget);
    labelTarget_->addItems(QPrinterInfo::availablePrinterNames());
    labelTarget_->setAccessibleName(QStringLiteral("Куда печатать этикетки"));
    labelFolder_ = new QLineEdit(labels);
    labelFolder_->setReadOnly(true);
    labelFolder_->setAccessibleName(QStringLiteral("Папка этикеток"));
    chooseLabelFolder_ = new QPushButton(QStringLiteral("Папка…"), labels);
    chooseLabelFolder_->setAccessibleName(QStringLiteral("Выбрать папку этикеток"));
    labelPreview_ = new LabelPreview(labels);
    for (QCheckBox* box : {printLabels_, scanBack_})
        box->setAccessibleName(box->text());

    // One row, the preview at its end: the window keeps its height on a laptop's screen.
    auto* row = new QHBoxLayout;
    row->addWidget(printLabels_);
    row->addWidget(scanBack_);
    row->addWidget(labelWidth_);
    row->addWidget(new QLabel(QStringLiteral("×"), labels));
    row->addWidget(labelHeight_);
    row->addWidget(labelTarget_);
    row->addWidget(labelFolder_, 1);
    row->addWidget(chooseLabelFolder_);
    row->addWidget(labelPreview_);

    const auto enable = [this] {
        const bool on = printLabels_->isChecked();
        const bool pdf = labelTarget_->currentIndex() == 0;
        for (QWidget* part :
             std::initializer_list<QWidget*>{scanBack_, labelWidth_, labelHeight_, labelTarget_})
            part->setEnabled(on);
        labelFolder_->setEnabled(on && pdf);
        chooseLabelFolder_->setEnabled(on && pdf);
    };
    connect(printLabels_, &QCheckBox::toggled, this, enable);
    connect(labelTarget_, &QComboBox::currentIndexChanged, this, enable);
    for (QDoubleSpinBox* side : {labelWidth_, labelHeight_})
        connect(side, &QDoubleSpinBox::valueChanged, this, [this] { ShowLabelPreview(); });
    connect(chooseLabelFolder_, &QPushButton::clicked, this, [this] { ChooseLabelFolder(); });
    enable();
    return row;
}

LabelOptions LineWindow::LabelsShown() const {
    LabelOptions options;
    options.print = printLabels_->isChecked();
    options.scanBack = scanBack_->isChecked();
    options.layout.sizeMm = {labelWidth_->value(), labelHeight_->value()};
    const bool pdf = labelTarget_->currentIndex() <= 0;
    options.target.kind = pdf ? LabelTarget::Kind::PdfFolder : LabelTarget::Kind::Printer;
    options.target.printer = pdf ? QString() : labelTarget_->currentText();
    options.target.folder = labelFolder_->text();
    return options;
}

void LineWindow::ShowLabels(const LabelOptions& options) {
    printLabels_->setChecked(options.print);
    scanBack_->setChecked(options.scanBack);
    labelWidth_->setValue(options.layout.sizeMm.width());
    labelHeight_->setValue(options.layout.sizeMm.height());
    if (options.target.kind == LabelTarget::Kind::Printer) {
        // A printer gone since stays chosen: its labels then say they were not printed.
        if (labelTarget_->findText(options.target.printer) < 0)
            labelTarget_->addItem(options.target.printer);
        labelTarget_->setCurrentText(options.target.printer);
    } else {
        labelTarget_->setCurrentIndex(0);
    }
    labelFolder_->setText(options.target.folder);
    ShowLabelPreview();
}

void LineWindow::ShowLabelPreview() {
    labelPreview_->Show(
        LabelsShown().layout,
        {SampleSerial, DateText::TodayForDevice(),
         referenceSha256_.isEmpty() ? QStringLiteral("00000000") : referenceSha256_.left(8)});
}

void LineWindow::ChooseLabelFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Папка этикеток"),
                                                             labelFolder_->text());
    if (!folder.isEmpty())
        labelFolder_->setText(folder);
}

void LineWindow::Scanned(int station, const QString& text) {
    const LabelScan scan = line_->Scan(station, text);
    // A verdict comes back with the station's state; a refusal stays at the field.
    if (!scan.Decided())
        Tile(station)->ShowRefusal(scan.text);
}

void LineWindow::ReprintAt(int station) {
    const std::optional<UnitRecord>& unit = lastUnits_.at(static_cast<size_t>(station - 1));
    if (unit)
        line_->Reprint(*unit, LabelsShown());
}

void LineWindow::Reprinted(const UnitRecord& record, const QString& problem) {
    if (record.station < 1 || record.station > LineSetup::MaxStations)
        return;
    std::optional<UnitRecord>& unit = lastUnits_[static_cast<size_t>(record.station - 1)];
    // The tile still shows the unit only while it is the station's last.
    if (!unit || unit->time != record.time)
        return;
    unit = record;
    Tile(record.station)->ShowLabel(record.label);
    if (!problem.isEmpty())
        Tile(record.station)->ShowRefusal(QStringLiteral("этикетка не напечатана: ") + problem);
}

DayLabels* LineWindow::ShowDayLabels() {
    if (!dayLabelsWindow_)
        dayLabelsWindow_ = new DayLabels(
            *line_, [this] { return LabelsShown(); }, this);
    dayLabelsWindow_->Refresh();
    dayLabelsWindow_->show();
    dayLabelsWindow_->raise();
    return dayLabelsWindow_;
}
