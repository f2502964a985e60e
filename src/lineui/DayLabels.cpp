#include "DayLabels.h"

#include "LabelOptions.h"
#include "LineReport.h"
#include "ProductionLine.h"

#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QStringList Headers = {QStringLiteral("Время"),          QStringLiteral("Место"),
                             QStringLiteral("Серийный номер"), QStringLiteral("Этикетка"),
                             QStringLiteral("Проверка"),       QStringLiteral("Перепечаток")};
} // namespace

DayLabels::DayLabels(ProductionLine& line, std::function<LabelOptions()> options, QWidget* parent)
    : QDialog(parent), line_(line), options_(std::move(options)), table_(new QTableWidget(this)),
      reprint_(new QPushButton(QStringLiteral("Перепечатать"), this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("DayLabels"));
    setWindowTitle(QStringLiteral("Этикетки за день"));
    setAccessibleName(windowTitle());
    table_->setColumnCount(static_cast<int>(Headers.size()));
    table_->setHorizontalHeaderLabels(Headers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setAccessibleName(QStringLiteral("Годные приборы за день"));
    reprint_->setAccessibleName(QStringLiteral("Перепечатать этикетку выбранного прибора"));
    status_->setWordWrap(true);
    status_->setObjectName(QStringLiteral("Status"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
    layout->addWidget(reprint_, 0, Qt::AlignRight);
    connect(reprint_, &QPushButton::clicked, this, &DayLabels::ReprintChosen);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { reprint_->setEnabled(!table_->selectedItems().isEmpty()); });
    connect(&line_, &ProductionLine::reprinted, this, &DayLabels::Reprinted);
    connect(&line_, &ProductionLine::unitFinished, this, &DayLabels::Refresh);
    connect(&line_, &ProductionLine::labelChecked, this, &DayLabels::Refresh);
    resize(720, 420);
    Refresh();
}

void DayLabels::Refresh() {
    const int chosen = table_->currentRow();
    table_->setRowCount(0);
    for (const QStringList& row : LineReport::Read(line_.Report().PathFor(QDate::currentDate()))) {
        const UnitRecord record = LineReport::RecordOf(row);
        if (!record.good)
            continue;
        const int r = table_->rowCount();
        table_->insertRow(r);
        const QStringList cells = {
            record.time.toString(QStringLiteral("HH:mm:ss")),
            QString::number(record.station),
            LabelContentOf(record).serial,
            LabelOutcome::PrintingText(record.label.printing),
            LabelOutcome::CheckText(record.label.check),
            record.label.reprints > 0 ? QString::number(record.label.reprints) : QString()};
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 0)
                item->setData(Qt::UserRole, row);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    if (chosen >= 0 && chosen < table_->rowCount())
        table_->selectRow(chosen);
    reprint_->setEnabled(!table_->selectedItems().isEmpty());
}

void DayLabels::ReprintChosen() {
    const int r = table_->currentRow();
    if (r < 0)
        return;
    const UnitRecord record =
        LineReport::RecordOf(table_->item(r, 0)->data(Qt::UserRole).toStringList());
    reprint_->setEnabled(false);
    status_->setText(QStringLiteral("Печать этикетки %1…").arg(LabelContentOf(record).serial));
    status_->setAccessibleName(status_->text());
    line_.Reprint(record, options_());
}

void DayLabels::Reprinted(const UnitRecord& record, const QString& problem) {
    const QString serial = LabelContentOf(record).serial;
    status_->setText(problem.isEmpty()
                         ? QStringLiteral("Этикетка %1 перепечатана.").arg(serial)
                         : QStringLiteral("Этикетка %1 не напечатана: %2.").arg(serial, problem));
    status_->setAccessibleName(status_->text());
    Refresh();
}
