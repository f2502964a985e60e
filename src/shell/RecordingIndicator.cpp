#include "RecordingIndicator.h"

#include "MenuBarCorner.h"

#include <QMenuBar>

#include <algorithm>

const QString RecordingIndicator::WaitingText = QStringLiteral("○ Запись ждёт оборотов");

RecordingIndicator::RecordingIndicator(QMenuBar* menuBar) : QLabel(menuBar) {
    setObjectName(QStringLiteral("RecordingIndicator"));
    setContentsMargins(6, 0, 6, 0);
    setMinimumWidth(std::max(fontMetrics().horizontalAdvance(TextFor(999 * 60 * 1000)),
                             fontMetrics().horizontalAdvance(WaitingText)) +
                    contentsMargins().left() + contentsMargins().right());
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setStyleSheet(QStringLiteral("color: #c80000"));
    connect(&timer_, &QTimer::timeout, this, &RecordingIndicator::Tick);
    MenuBarCorner::Add(menuBar, this);
}

QString RecordingIndicator::TextFor(qint64 elapsedMs) {
    const qint64 seconds = elapsedMs / 1000;
    return QStringLiteral("● Запись %1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void RecordingIndicator::Start(std::function<qint64()> elapsedMs, std::function<bool()> waiting) {
    elapsedMs_ = std::move(elapsedMs);
    waiting_ = std::move(waiting);
    timer_.start(1000);
    Tick();
}

void RecordingIndicator::Hide() {
    timer_.stop();
    elapsedMs_ = nullptr;
    waiting_ = nullptr;
    setText(QString());
    setAccessibleName(QString());
}

void RecordingIndicator::Tick() {
    if (!elapsedMs_)
        return;
    setText(waiting_ && waiting_() ? WaitingText : TextFor(elapsedMs_()));
    setAccessibleName(text()); // what a screen reader says is what the corner shows
}
