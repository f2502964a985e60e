#include "RestorePointsDialog.h"

#include "CountText.h"
#include "DialogFrame.h"
#include "FolderOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace {

enum Column { DateColumn, TimeColumn, DifferenceColumn };

QTableWidgetItem* Cell(const QString& text, bool readable) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (!readable)
        item->setForeground(QPalette().brush(QPalette::Disabled, QPalette::Text));
    return item;
}

QString DifferenceText(const RestorePoint& point, const SettingsRecords::Words& controller) {
    if (!point.readable)
        return QStringLiteral("файл не читается");
    const int count = RestorePoints::Differences(point.words, controller);
    return count == 0 ? QStringLiteral("совпадает") : QString::number(count);
}

} // namespace

RestorePointsDialog::RestorePointsDialog(RestorePointsView view, Restore restore, QWidget* parent)
    : QDialog(parent), view_(std::move(view)), restore_(std::move(restore)) {
    setWindowTitle(QStringLiteral("Точки восстановления"));

    heading_ = new QLabel(this);
    heading_->setWordWrap(true);

    table_ = DialogFrame::NewTable(
        this, QStringLiteral("PointTable"),
        {QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("Отличий от прибора")});
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setStretchLastSection(true);

    restoreButton_ = new QPushButton(QStringLiteral("Восстановить"), this);
    restoreButton_->setObjectName(QStringLiteral("RestoreButton"));
    folderButton_ = new QPushButton(QStringLiteral("Открыть папку"), this);
    folderButton_->setObjectName(QStringLiteral("FolderButton"));
    DialogFrame::LayOut(this, heading_, table_, {restoreButton_, folderButton_});

    connect(table_, &QTableWidget::itemSelectionChanged, this, &RestorePointsDialog::UpdateButtons);
    connect(restoreButton_, &QPushButton::clicked, this, &RestorePointsDialog::RestoreChosen);
    connect(folderButton_, &QPushButton::clicked, this, &RestorePointsDialog::OpenFolder);

    Fill();
    resize(460, 360);
}

int RestorePointsDialog::CurrentRow() const {
    const QList<QTableWidgetItem*> chosen = table_->selectedItems();
    return chosen.isEmpty() ? -1 : chosen.first()->row();
}

bool RestorePointsDialog::ChoosePoint(const QString& path) {
    for (std::size_t row = 0; row < view_.points.size(); ++row)
        if (QFileInfo(view_.points[row].path) == QFileInfo(path)) {
            table_->selectRow(static_cast<int>(row));
            return true;
        }
    return false;
}

void RestorePointsDialog::Fill() {
    const QString none = view_.withoutPoints.isEmpty() ? QStringLiteral("точек восстановления нет")
                                                       : view_.withoutPoints;
    heading_->setText(
        view_.points.empty()
            ? QStringLiteral("Прибор %1: %2.").arg(view_.serial, none)
            : QStringLiteral("Прибор %1: %2, новые сверху.")
                  .arg(view_.serial, CountText::Of(static_cast<qint64>(view_.points.size()),
                                                   {QStringLiteral("точка восстановления"),
                                                    QStringLiteral("точки восстановления"),
                                                    QStringLiteral("точек восстановления")})));
    table_->setRowCount(static_cast<int>(view_.points.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const RestorePoint& point = view_.points[static_cast<std::size_t>(row)];
        table_->setItem(row, DateColumn,
                        Cell(point.time.toString(QStringLiteral("dd.MM.yyyy")), point.readable));
        table_->setItem(row, TimeColumn,
                        Cell(point.time.toString(QStringLiteral("HH:mm:ss")), point.readable));
        table_->setItem(row, DifferenceColumn, Cell(QString(), point.readable));
    }
    ShowDifferences();
    table_->resizeColumnsToContents();
    const auto first = std::find_if(view_.points.begin(), view_.points.end(),
                                    [](const RestorePoint& p) { return p.readable; });
    if (first != view_.points.end())
        table_->selectRow(static_cast<int>(first - view_.points.begin()));
    UpdateButtons();
}

void RestorePointsDialog::ShowDifferences() {
    for (int row = 0; row < table_->rowCount(); ++row)
        table_->item(row, DifferenceColumn)
            ->setText(
                DifferenceText(view_.points[static_cast<std::size_t>(row)], view_.controller));
}

void RestorePointsDialog::UpdateButtons() {
    const int row = CurrentRow();
    restoreButton_->setEnabled(row >= 0 && view_.points[static_cast<std::size_t>(row)].readable);
    folderButton_->setEnabled(QDir(view_.folder).exists());
}

void RestorePointsDialog::RestoreChosen() {
    const int row = CurrentRow();
    if (row < 0 || !view_.points[static_cast<std::size_t>(row)].readable || !restore_)
        return;
    if (const auto now = restore_(view_.points[static_cast<std::size_t>(row)])) {
        view_.controller = *now;
        ShowDifferences();
    }
}

void RestorePointsDialog::OpenFolder() {
    FolderOpener::Open(this, view_.folder);
}
