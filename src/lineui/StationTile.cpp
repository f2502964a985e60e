#include "StationTile.h"

#include <QLabel>
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
      reason_(Label(this, 10, false)), counts_(Label(this, 10, false)) {
    setObjectName(QStringLiteral("StationTile%1").arg(station));
    setFrameShape(QFrame::StyledPanel);
    setMinimumSize(MinimumWidth, 210);
    result_->setObjectName(QStringLiteral("Result"));
    result_->setMinimumHeight(70);
    result_->setAutoFillBackground(true);
    serial_->setObjectName(QStringLiteral("Serial"));
    serial_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reason_->setObjectName(QStringLiteral("Reason"));
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {title_, result_, serial_, reason_, counts_})
        layout->addWidget(label);
    layout->addStretch();
    Show({station, StationPhase::Idle, {}, {}, {}, {}});
    ShowCounts(0, 0);
}

void StationTile::Show(const StationView& view) {
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
}

void StationTile::ShowCounts(int good, int bad) {
    counts_->setText(QStringLiteral("годен: %1   брак: %2").arg(good).arg(bad));
    counts_->setAccessibleName(QStringLiteral("Место %1, %2").arg(station_).arg(counts_->text()));
}

QString StationTile::ResultText() const {
    return result_->text();
}
