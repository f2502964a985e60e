#pragma once
// The frame the safety net's dialogs share: a heading over a read-only table of rows, the
// dialog's own buttons at the bottom left and "Закрыть" (the default) at the bottom right.

#include <QStringList>

#include <initializer_list>

class QDialog;
class QLabel;
class QPushButton;
class QTableWidget;

namespace DialogFrame {

// A table whose whole rows are selected and whose cells are not edited.
QTableWidget* NewTable(QDialog* dialog, const QString& name, const QStringList& headers);

// Lays the heading, the table and the buttons out and adds "Закрыть", which rejects.
void LayOut(QDialog* dialog, QLabel* heading, QTableWidget* table,
            std::initializer_list<QPushButton*> buttons);

} // namespace DialogFrame
