#include "DialogFrame.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace DialogFrame {

QTableWidget* NewTable(QDialog* dialog, const QString& name, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), dialog);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

void LayOut(QDialog* dialog, QLabel* heading, QTableWidget* table,
            std::initializer_list<QPushButton*> buttons) {
    auto* closeButton = new QPushButton(QStringLiteral("Закрыть"), dialog);
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    closeButton->setDefault(true);
    QObject::connect(closeButton, &QPushButton::clicked, dialog, &QDialog::reject);

    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons)
        row->addWidget(button);
    row->addStretch();
    row->addWidget(closeButton);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(heading);
    layout->addWidget(table);
    layout->addLayout(row);
}

} // namespace DialogFrame
