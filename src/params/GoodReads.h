#pragma once
// Which of a window's controls have shown a word from a successful read since the connection
// opened. A failed read never changes what a control holds or shows; a control that has never
// had a good read keeps the state that "Close COM" gives it, so nothing is ever written that
// was computed from a failed read.

#include <QPointer>

#include <vector>

class QObject;

class GoodReads {
public:
    void Remember(const QObject* control);
    bool Had(const QObject* control) const;
    // At "Close COM", at a new connection and when a load takes the controls down.
    void ForgetAll();

    // After a read binding ran inside a control's Init: on a failed read, a control without an
    // earlier good read goes back to its disabled state. Polled displays stay enabled so that
    // they keep asking.
    void AfterSpinRead(QObject* control, bool replied);

private:
    std::vector<QPointer<const QObject>> remembered_;
};
