#include "RecordingDialog.h"

#include "Catalogue.h"
#include "CountText.h"
#include "LineBudget.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

RecordingDialog::RecordingDialog(const QString& path, int rate, QWidget* parent)
    : QDialog(parent), path_(new QLineEdit(path, this)), rate_(new QComboBox(this)),
      note_(new QLabel(this)) {
    setObjectName(QStringLiteral("RecordingDialog"));
    setWindowTitle(QStringLiteral("Запись данных"));
    path_->setMinimumWidth(420);
    auto* browse = new QPushButton(QStringLiteral("Обзор…"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(browse);
    for (int r : LineBudget::Rates)
        rate_->addItem(QString::number(r), r);
    SetRequestedRate(rate);
    // Two lines of their own: a wrapped label would not make the dialog grow when it shows.
    note_->setObjectName(QStringLiteral("RateNote"));
    note_->setStyleSheet(QStringLiteral("color: #a05000"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Начать запись"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Файл:"), fileRow);
    form->addRow(QStringLiteral("Раз в секунду:"), rate_);
    form->addRow(note_);
    form->addRow(buttons);

    connect(browse, &QPushButton::clicked, this, &RecordingDialog::Browse);
    connect(rate_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &RecordingDialog::UpdateNote);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateNote();
}

QString RecordingDialog::Path() const {
    return path_->text().trimmed();
}

int RecordingDialog::RequestedRate() const {
    return rate_->currentData().toInt();
}

int RecordingDialog::Rate() const {
    return LineBudget::HighestRateThatFits(RequestedRate(), int(Catalogue::LiveValues().size()));
}

QString RecordingDialog::Note() const {
    return note_->text();
}

void RecordingDialog::SetPath(const QString& path) {
    path_->setText(path);
}

void RecordingDialog::SetRequestedRate(int rate) {
    const int index = rate_->findData(rate);
    rate_->setCurrentIndex(index >= 0 ? index : rate_->findData(LineBudget::DefaultRate));
}

void RecordingDialog::UpdateNote() {
    const int rate = Rate();
    if (rate == RequestedRate()) {
        note_->clear();
        return;
    }
    const CountText::Forms values{QStringLiteral("величину"), QStringLiteral("величины"),
                                  QStringLiteral("величин")};
    const CountText::Forms times{QStringLiteral("раз"), QStringLiteral("раза"),
                                 QStringLiteral("раз")};
    note_->setText(
        QStringLiteral("Линия 19200 бод не передаст %1 %2 в секунду\n"
                       "вместе с опросом окна: запись пойдёт %3 в секунду.")
            .arg(CountText::Of(static_cast<qint64>(Catalogue::LiveValues().size()), values),
                 CountText::Of(RequestedRate(), times), CountText::Of(rate, times)));
}

void RecordingDialog::Browse() {
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("Запись данных"), Path(), QStringLiteral("Записи данных (*.csv)"));
    if (!chosen.isEmpty())
        path_->setText(chosen);
}
