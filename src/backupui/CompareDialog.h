#pragma once
// Two parameter blocks side by side: every word that differs, with its address, name, both
// values as the window shows them and the raw words; linked words share one row. When side A
// is the controller, the checked rows can be written into it from side B, a row's words all
// together.

#include "Comparison.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

struct ComparedSide {
    QString title; // "Прибор" or the file's name
    SettingsRecords::Words words{};
};

class CompareDialog : public QDialog {
    Q_OBJECT
public:
    // Writes side B's words of the checked rows into the controller, row by row; returns
    // the controller's words afterwards, or nullopt when the write did not go through. Reports
    // its own errors; never throws.
    using WriteChecked =
        std::function<std::optional<SettingsRecords::Words>(const std::vector<Comparison::Row>&)>;

    // Without `write`, side A is no controller and nothing can be written.
    CompareDialog(ComparedSide a, ComparedSide b, WriteChecked write = {},
                  QWidget* parent = nullptr);

    const std::vector<Comparison::Row>& Rows() const { return rows_; }
    // The rows written into the controller while the window was open, as they were before.
    const std::vector<Comparison::Row>& WrittenRows() const { return written_; }
    const ComparedSide& SideA() const { return a_; }
    const ComparedSide& SideB() const { return b_; }
    // The checked rows, in address order.
    std::vector<Comparison::Row> CheckedRows() const;
    void SetChecked(int row, bool checked);

signals:
    // "На бумагу…": the result is wanted as a sheet.
    void sheetRequested();

private:
    void Fill();
    int DifferentWords() const;
    void UpdateButtons();
    void WriteCheckedRows();

    ComparedSide a_;
    ComparedSide b_;
    WriteChecked write_;
    std::vector<Comparison::Row> rows_;
    std::vector<Comparison::Row> written_;
    QLabel* heading_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* writeButton_ = nullptr;
};
