#pragma once
// One station on the line window: its port, the result big and plain (green "ГОДЕН", red
// "БРАК"), the step under way, the serial number, the reason and the station's counts. Every
// state it shows is in its accessible names.

#include "StationView.h"

#include <QFrame>

class QLabel;

class StationTile : public QFrame {
    Q_OBJECT
public:
    explicit StationTile(int station, QWidget* parent = nullptr);

    void Show(const StationView& view);
    void ShowCounts(int good, int bad);

    QString ResultText() const;

private:
    const int station_;
    QLabel* title_;
    QLabel* result_;
    QLabel* serial_;
    QLabel* reason_;
    QLabel* counts_;
};
