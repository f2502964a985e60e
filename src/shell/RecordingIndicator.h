#pragma once
// "● Запись mm:ss" in the menu bar's corner while a recording runs, "○ Запись ждёт оборотов"
// while it waits for the engine; nothing otherwise.

#include <QLabel>
#include <QTimer>

#include <functional>

class QMenuBar;

class RecordingIndicator : public QLabel {
    Q_OBJECT
public:
    explicit RecordingIndicator(QMenuBar* menuBar);

    // Shows the time that `elapsedMs` tells, refreshed every second, until Hide; while
    // `waiting` says so, that the recording waits.
    void Start(std::function<qint64()> elapsedMs, std::function<bool()> waiting = {});
    void Hide();

    // "● Запись 01:05" for 65 s; minutes go on past 59.
    static QString TextFor(qint64 elapsedMs);
    static const QString WaitingText;

private:
    void Tick();

    std::function<qint64()> elapsedMs_;
    std::function<bool()> waiting_;
    QTimer timer_;
};
