#pragma once
// "серийный номер не прочитан" in the menu bar's corner while the connected controller's serial
// number could not be read whole, so that the technician knows why its journal, recordings and
// restore points are not filed under it; nothing otherwise.

#include <QLabel>

class ControllerSession;
class QMenuBar;

class SerialIndicator : public QLabel {
    Q_OBJECT
public:
    // Follows the session's connection and identity reads; `session` must outlive it.
    SerialIndicator(QMenuBar* menuBar, ControllerSession& session);

    static QString UnreadText();

private:
    void Update();

    QMenuBar* menuBar_;
    ControllerSession& session_;
};
