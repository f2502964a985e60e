#pragma once
// One station on the line window: its port, the result big and plain (green "ГОДЕН", red
// "БРАК"), the step under way, the serial number, the reason and the station's counts. Every
// state it shows is in its accessible names. Below them, a good unit's label: whether it was
// printed (if not, "Перепечатать" is offered), and while the station waits for its scan, the
// field a barcode scanner types into, with the verdict or why a scan was refused.

#include "StationView.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

class StationTile : public QFrame {
    Q_OBJECT
public:
    explicit StationTile(int station, QWidget* parent = nullptr);

    void Show(const StationView& view);
    void ShowCounts(int good, int bad);
    // The unit's label printed again.
    void ShowLabel(const LabelOutcome& label);
    // Why a scan was refused; the station goes on waiting.
    void ShowRefusal(const QString& text);

    QString ResultText() const;
    const StationView& View() const { return view_; }

signals:
    void scanned(int station, const QString& text);
    void reprintRequested(int station);

private:
    void ShowLabelState();

    const int station_;
    StationView view_;
    QLabel* title_;
    QLabel* result_;
    QLabel* serial_;
    QLabel* reason_;
    QLabel* counts_;
    QLabel* label_;
    QLineEdit* scan_;
    QLabel* refusal_;
    QPushButton* reprint_;
};
