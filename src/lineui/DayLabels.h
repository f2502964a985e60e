#pragma once
// The window "Этикетки за день": the day's good units from its report, each with what became of
// its label, and "Перепечатать" for the one chosen; the print runs on the line's threads, the
// row says it was printed again.

#include <QDialog>
#include <QString>

#include <functional>

class ProductionLine;
class QLabel;
class QPushButton;
class QTableWidget;
struct LabelOptions;
struct UnitRecord;

class DayLabels : public QDialog {
    Q_OBJECT
public:
    // `options` gives the labels' setup as the window shows it when a label is printed again.
    DayLabels(ProductionLine& line, std::function<LabelOptions()> options,
              QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    // Reads the day's report again.
    void Refresh();

private:
    void ReprintChosen();
    void Reprinted(const UnitRecord& record, const QString& problem);

    ProductionLine& line_;
    std::function<LabelOptions()> options_;
    QTableWidget* table_;
    QPushButton* reprint_;
    QLabel* status_;
};
