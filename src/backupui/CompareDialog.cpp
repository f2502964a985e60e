#include "CompareDialog.h"

#include "DialogFrame.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

enum Column { AddressColumn, NameColumn, ValueAColumn, ValueBColumn, RawColumn };

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

CompareDialog::CompareDialog(ComparedSide a, ComparedSide b, WriteChecked write, QWidget* parent)
    : QDialog(parent), a_(std::move(a)), b_(std::move(b)), write_(std::move(write)) {
    setWindowTitle(QStringLiteral("Сравнение установок"));

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("Heading"));
    heading_->setWordWrap(true);

    table_ = DialogFrame::NewTable(this, QStringLiteral("DifferenceTable"),
                                   {QStringLiteral("Адрес"), QStringLiteral("Параметр"), a_.title,
                                    b_.title, QStringLiteral("Слова")});
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);

    writeButton_ = new QPushButton(QStringLiteral("Записать отмеченные"), this);
    writeButton_->setObjectName(QStringLiteral("WriteButton"));
    writeButton_->setToolTip(
        QStringLiteral("Записать в прибор значения «%1» в отмеченных строках").arg(b_.title));
    writeButton_->setVisible(static_cast<bool>(write_));
    auto* sheetButton = new QPushButton(QStringLiteral("На бумагу…"), this);
    sheetButton->setObjectName(QStringLiteral("SheetButton"));
    connect(sheetButton, &QPushButton::clicked, this, &CompareDialog::sheetRequested);
    DialogFrame::LayOut(this, heading_, table_, {writeButton_, sheetButton});

    connect(table_, &QTableWidget::itemChanged, this, &CompareDialog::UpdateButtons);
    connect(writeButton_, &QPushButton::clicked, this, &CompareDialog::WriteCheckedRows);

    Fill();
    resize(780, 420);
}

std::vector<Comparison::Row> CompareDialog::CheckedRows() const {
    std::vector<Comparison::Row> checked;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, AddressColumn)->checkState() == Qt::Checked)
            checked.push_back(rows_[static_cast<std::size_t>(row)]);
    return checked;
}

void CompareDialog::SetChecked(int row, bool checked) {
    table_->item(row, AddressColumn)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CompareDialog::Fill() {
    rows_ = Comparison::Rows(a_.words, b_.words);
    const QString sides = QStringLiteral("«%1» и «%2»").arg(a_.title, b_.title);
    QString heading = rows_.empty() ? sides + QStringLiteral(": все слова совпадают.")
                                    : sides + QStringLiteral(": различающихся слов %1 из %2.")
                                                  .arg(DifferentWords())
                                                  .arg(SettingsRecords::Count);
    if (write_ && !rows_.empty())
        heading += QStringLiteral("\nОтметьте слова, которые нужно записать в прибор из «%1».")
                       .arg(b_.title);
    heading_->setText(heading);
    const QSignalBlocker quiet(table_);
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Comparison::Row& r = rows_[static_cast<std::size_t>(row)];
        QTableWidgetItem* address = Cell(Comparison::AddressText(r), Qt::AlignRight);
        if (write_) {
            address->setFlags(address->flags() | Qt::ItemIsUserCheckable);
            address->setCheckState(Qt::Unchecked);
        }
        table_->setItem(row, AddressColumn, address);
        table_->setItem(row, NameColumn, Cell(r.name));
        table_->setItem(row, ValueAColumn, Cell(r.shownA, Qt::AlignRight));
        table_->setItem(row, ValueBColumn, Cell(r.shownB, Qt::AlignRight));
        table_->setItem(row, RawColumn, Cell(Comparison::RawText(r), Qt::AlignRight));
    }
    for (int column : {AddressColumn, ValueAColumn, ValueBColumn, RawColumn})
        table_->resizeColumnToContents(column);
    UpdateButtons();
}

int CompareDialog::DifferentWords() const {
    int count = 0;
    for (std::size_t i = 0; i < a_.words.size(); ++i)
        count += a_.words[i] != b_.words[i] ? 1 : 0;
    return count;
}

void CompareDialog::UpdateButtons() {
    writeButton_->setEnabled(!CheckedRows().empty());
}

void CompareDialog::WriteCheckedRows() {
    const std::vector<Comparison::Row> checked = CheckedRows();
    if (checked.empty() || !write_)
        return;
    if (const auto now = write_(checked)) {
        written_.insert(written_.end(), checked.begin(), checked.end());
        a_.words = *now;
        Fill();
    }
}
