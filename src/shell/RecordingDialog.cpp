#include "RecordingDialog.h"

#include "Catalogue.h"
#include "CountText.h"
#include "LineBudget.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

namespace {
const QString RateKey = QStringLiteral("datalog/rate");
const QString WaitKey = QStringLiteral("datalog/waitForEngine");
const QString SpeedKey = QStringLiteral("datalog/triggerEngineSpeed");
const QString BeforeKey = QStringLiteral("datalog/triggerBeforeSeconds");
constexpr int LowestSpeed = 500, HighestSpeed = 8000;
constexpr int LongestBefore = 120;
} // namespace

RecordingDialog::Choices RecordingDialog::Choices::Load(QSettings& settings) {
    Choices choices;
    choices.rate = settings.value(RateKey, LineBudget::DefaultRate).toInt();
    choices.waitForEngine = settings.value(WaitKey, false).toBool();
    choices.engineSpeed = std::clamp(settings.value(SpeedKey, choices.engineSpeed).toInt(),
                                     LowestSpeed, HighestSpeed);
    choices.beforeSeconds =
        std::clamp(settings.value(BeforeKey, choices.beforeSeconds).toInt(), 0, LongestBefore);
    return choices;
}

void RecordingDialog::Choices::Save(QSettings& settings) const {
    settings.setValue(RateKey, rate);
    settings.setValue(WaitKey, waitForEngine);
    settings.setValue(SpeedKey, engineSpeed);
    settings.setValue(BeforeKey, beforeSeconds);
}

RecordingDialog::RecordingDialog(const QString& path, const Choices& choices, QWidget* parent)
    : QDialog(parent), path_(new QLineEdit(path, this)), rate_(new QComboBox(this)),
      note_(new QLabel(this)),
      wait_(new QCheckBox(QStringLiteral("Начать, когда обороты достигнут"), this)),
      speed_(new QSpinBox(this)), before_(new QSpinBox(this)) {
    setObjectName(QStringLiteral("RecordingDialog"));
    setWindowTitle(QStringLiteral("Запись данных"));
    path_->setMinimumWidth(420);
    auto* browse = new QPushButton(QStringLiteral("Обзор…"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(browse);
    for (int r : LineBudget::Rates)
        rate_->addItem(QString::number(r), r);
    SetRequestedRate(choices.rate);
    // Two lines of their own: a wrapped label would not make the dialog grow when it shows.
    note_->setObjectName(QStringLiteral("RateNote"));
    note_->setStyleSheet(QStringLiteral("color: #a05000"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Начать запись"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);

    wait_->setObjectName(QStringLiteral("WaitForEngine"));
    speed_->setObjectName(QStringLiteral("TriggerEngineSpeed"));
    speed_->setRange(LowestSpeed, HighestSpeed);
    speed_->setSingleStep(100);
    speed_->setSuffix(QStringLiteral(" Об/мин"));
    speed_->setValue(choices.engineSpeed);
    speed_->setAccessibleName(QStringLiteral("Обороты начала записи"));
    before_->setObjectName(QStringLiteral("TriggerBeforeSeconds"));
    before_->setRange(0, LongestBefore);
    before_->setSuffix(QStringLiteral(" с"));
    before_->setValue(choices.beforeSeconds);
    before_->setAccessibleName(QStringLiteral("Сохранить секунд до начала"));
    auto* waitRow = new QHBoxLayout;
    waitRow->addWidget(wait_);
    waitRow->addWidget(speed_);
    waitRow->addStretch(1);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Файл:"), fileRow);
    form->addRow(QStringLiteral("Раз в секунду:"), rate_);
    form->addRow(note_);
    form->addRow(waitRow);
    form->addRow(QStringLiteral("Сохранить секунд до этого:"), before_);
    form->addRow(buttons);

    connect(browse, &QPushButton::clicked, this, &RecordingDialog::Browse);
    connect(rate_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &RecordingDialog::UpdateNote);
    connect(wait_, &QCheckBox::toggled, this, &RecordingDialog::SetWaitForEngine);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    wait_->setChecked(choices.waitForEngine);
    SetWaitForEngine(choices.waitForEngine);
    UpdateNote();
}

RecordingDialog::Choices RecordingDialog::Chosen() const {
    return {RequestedRate(), wait_->isChecked(), speed_->value(), before_->value()};
}

void RecordingDialog::SetWaitForEngine(bool wait) {
    wait_->setChecked(wait);
    speed_->setEnabled(wait);
    before_->setEnabled(wait);
}

QString RecordingDialog::Path() const {
    return path_->text().trimmed();
}

int RecordingDialog::RequestedRate() const {
    return rate_->currentData().toInt();
}

int RecordingDialog::Rate() const {
    return LineBudget::HighestFeedRateThatFits(RequestedRate());
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
