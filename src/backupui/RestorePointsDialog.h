#pragma once
// "Точки восстановления": the restore points of the connected controller, newest first, each
// with how many words differ from what the controller holds now. A point that cannot be read
// is listed as such and cannot be restored.

#include "RestorePoints.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

struct RestorePointsView {
    QString serial; // as the window shows it
    std::vector<RestorePoint> points;
    SettingsRecords::Words controller{}; // the controller's words now
    QString folder;                      // where the points lie
    QString withoutPoints;               // says why none are kept for this controller, if so
};

class RestorePointsDialog : public QDialog {
    Q_OBJECT
public:
    // Asks, then writes the point's block into the controller; returns the controller's words
    // afterwards, or nullopt when the restore was declined or did not go through. Reports its
    // own errors; never throws.
    using Restore = std::function<std::optional<SettingsRecords::Words>(const RestorePoint&)>;

    RestorePointsDialog(RestorePointsView view, Restore restore, QWidget* parent = nullptr);

    // The row of the point chosen now, or -1.
    int CurrentRow() const;
    // Chooses the point kept at `path`; false when the list has none there.
    bool ChoosePoint(const QString& path);

private:
    void Fill();
    void ShowDifferences();
    void UpdateButtons();
    void RestoreChosen();
    void OpenFolder();

    RestorePointsView view_;
    Restore restore_;
    QLabel* heading_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
    QPushButton* folderButton_ = nullptr;
};
