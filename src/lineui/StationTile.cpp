#include "StationTile.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Look {
    QString text;
    QString background;
};

Look LookOf(const StationView& view) {
    switch (view.phase) {
    case StationPhase::Idle:
        return {QStringLiteral("—"), QStringLiteral("#e0e0e0")};
    case StationPhase::NoPort:
        return {QStringLiteral("НЕТ ПОРТА"), QStringLiteral("#f0c060")};
    case StationPhase::Waiting:
        return {QStringLiteral("ЖДЁТ ПРИБОР"), QStringLiteral("#e0e0e0")};
    case StationPhase::Working:
        return {view.step.toUpper() + QStringLiteral("…"), QStringLiteral("#c8dcf0")};
    case StationPhase::Good:
        return {QStringLiteral("ГОДЕН"), QStringLiteral("#2e9d3a")};
    case StationPhase::Bad:
        return {QStringLiteral("БРАК"), QStringLiteral("#d03030")};
    case StationPhase::Stopped:
        return {QStringLiteral("ОСТАНОВЛЕНО"), QStringLiteral("#e0e0e0")};
    }
    return {};
}

// Four tiles side by side within a laptop's screen.
constexpr int MinimumWidth = 280;
// What a device's path may take of the title, the rest elided in the middle.
constexpr int DeviceWidth = MinimumWidth - 100;

QLabel* Label(QWidget* parent, int pointSize, bool bold) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

StationTile::StationTile(int station, QWidget* parent)
    : QFrame(parent), station_(station), title_(Label(this, 11, true)),
      result_(Label(this, 28, true)), serial_(Label(this, 12, false)),
      reason_(Label(this, 10, false)), counts_(Label(this, 10, false)),
      label_(Label(this, 11, true)), scan_(new QLineEdit(this)), refusal_(Label(this, 10, false)),
      reprint_(new QPushButton(QStringLiteral("Перепечатать"), this)) {
    setObjectName(QStringLiteral("StationTile%1").arg(station));
    setFrameShape(QFrame::StyledPanel);
    // Tall enough for a good unit with its label waiting for its scan.
    setMinimumSize(MinimumWidth, 220);
    result_->setObjectName(QStringLiteral("Result"));
    result_->setMinimumHeight(70);
    result_->setAutoFillBackground(true);
    serial_->setObjectName(QStringLiteral("Serial"));
    serial_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reason_->setObjectName(QStringLiteral("Reason"));
    label_->setObjectName(QStringLiteral("Label"));
    scan_->setObjectName(QStringLiteral("Scan"));
    scan_->setPlaceholderText(QStringLiteral("сканируйте этикетку"));
    scan_->setAccessibleName(QStringLiteral("Место %1, скан этикетки").arg(station));
    refusal_->setObjectName(QStringLiteral("Refusal"));
    refusal_->setStyleSheet(QStringLiteral("color: #b02020;"));
    reprint_->setAccessibleName(QStringLiteral("Место %1: перепечатать этикетку").arg(station));
    connect(scan_, &QLineEdit::returnPressed, this, [this] {
        const QString text = scan_->text();
        scan_->clear();
        if (!text.trimmed().isEmpty())
            emit scanned(station_, text);
    });
    connect(reprint_, &QPushButton::clicked, this, [this] { emit reprintRequested(station_); });
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {title_, result_, serial_, reason_, counts_, label_})
        layout->addWidget(label);
    layout->addWidget(scan_);
    layout->addWidget(refusal_);
    layout->addWidget(reprint_, 0, Qt::AlignHCenter);
    layout->addStretch();
    StationView idle;
    idle.station = station;
    Show(idle);
    ShowCounts(0, 0);
}

void StationTile::Show(const StationView& view) {
    const bool scanBegins = view.awaitingScan && !view_.awaitingScan;
    view_ = view;
    const QString place = QStringLiteral("Место %1").arg(station_);
    const QString device =
        title_->fontMetrics().elidedText(view.device, Qt::ElideMiddle, DeviceWidth);
    title_->setText(view.device.isEmpty() ? place : place + QStringLiteral(" — ") + device);
    title_->setToolTip(view.device);
    title_->setAccessibleName(view.device.isEmpty() ? place
                                                    : place + QStringLiteral(" — ") + view.device);
    const Look look = LookOf(view);
    result_->setText(look.text);
    // The result is the biggest thing on the tile; a step or a wait is plainer.
    const bool strong = view.phase == StationPhase::Good || view.phase == StationPhase::Bad;
    QFont font = result_->font();
    font.setPointSize(strong ? 28 : 16);
    result_->setFont(font);
    result_->setStyleSheet(
        QStringLiteral("background: %1; color: %2; border-radius: 4px;")
            .arg(look.background, strong ? QStringLiteral("white") : QStringLiteral("black")));
    result_->setAccessibleName(place + QStringLiteral(": ") + look.text);
    // A unit tried before says so beside its number, until the next unit starts.
    const QString again = view.rework ? QStringLiteral(" — повторная проверка") : QString();
    serial_->setText(view.serial.trimmed().isEmpty()
                         ? QString()
                         : QStringLiteral("№ ") + view.serial.trimmed() + again);
    serial_->setAccessibleName(
        place + QStringLiteral(", серийный номер: ") +
        (view.serial.trimmed().isEmpty() ? QStringLiteral("нет") : view.serial.trimmed() + again));
    reason_->setText(view.phase == StationPhase::Bad ? view.reason : QString());
    reason_->setAccessibleName(
        place + QStringLiteral(", причина: ") +
        (reason_->text().isEmpty() ? QStringLiteral("нет") : reason_->text()));
    refusal_->clear();
    ShowLabelState();
    // The scanner types where the focus is: at the field of the station that waits.
    if (scanBegins && !(window()->focusWidget() && window()->focusWidget()->inherits("QLineEdit") &&
                        window()->focusWidget()->isVisible()))
        scan_->setFocus();
}

void StationTile::ShowLabel(const LabelOutcome& label) {
    view_.label = label;
    refusal_->clear();
    ShowLabelState();
}

void StationTile::ShowRefusal(const QString& text) {
    refusal_->setText(text);
    refusal_->setVisible(!text.isEmpty());
    refusal_->setAccessibleName(QStringLiteral("Место %1: ").arg(station_) + text);
}

void StationTile::ShowLabelState() {
    const bool good = view_.phase == StationPhase::Good;
    const LabelOutcome& label = view_.label;
    QString text;
    QString colour = QStringLiteral("black");
    if (good && view_.awaitingScan) {
        text = QStringLiteral("ждёт скан этикетки");
    } else if (good && label.check == LabelCheck::Voided) {
        text = QStringLiteral("БРАК: этикетка не совпала");
        colour = QStringLiteral("#b02020");
    } else if (good && label.check == LabelCheck::Verified) {
        text = QStringLiteral("этикетка проверена");
        colour = QStringLiteral("#1e7a2a");
    } else if (good && label.printing == LabelPrinting::NotPrinted) {
        text = QStringLiteral("этикетка не напечатана");
        colour = QStringLiteral("#b02020");
    } else if (good && label.printing == LabelPrinting::Printed) {
        text = label.reprints > 0 ? QStringLiteral("этикетка перепечатана")
                                  : QStringLiteral("этикетка напечатана");
    }
    if (good && label.check == LabelCheck::Voided && label.reprints > 0)
        text += QStringLiteral(", перепечатана");
    label_->setText(text);
    label_->setStyleSheet(QStringLiteral("color: %1;").arg(colour));
    label_->setVisible(!text.isEmpty());
    label_->setAccessibleName(QStringLiteral("Место %1, этикетка: ").arg(station_) +
                              (text.isEmpty() ? QStringLiteral("нет") : text));
    scan_->setVisible(good && view_.awaitingScan);
    scan_->setEnabled(good && view_.awaitingScan);
    refusal_->setVisible(!refusal_->text().isEmpty());
    reprint_->setVisible(
        good && !view_.awaitingScan && label.printing != LabelPrinting::None &&
        (label.printing == LabelPrinting::NotPrinted || label.check == LabelCheck::Voided));
}

void StationTile::ShowCounts(int good, int bad) {
    counts_->setText(QStringLiteral("годен: %1   брак: %2").arg(good).arg(bad));
    counts_->setAccessibleName(QStringLiteral("Место %1, %2").arg(station_).arg(counts_->text()));
}

QString StationTile::ResultText() const {
    return result_->text();
}
