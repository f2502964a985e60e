#pragma once
// "История прибора": on the left the known controllers, found by serial number, plate, VIN or
// owner as one types (or only those whose service is due); on the right the chosen one's
// visits, newest first, each item opening what it names, its vehicle card and its next
// service. The window opens the store on its own; what it cannot do it says in its status line.

#include "ControllerHistory.h"
#include "OpenHistory.h"

#include <QDate>
#include <QWidget>

#include <functional>
#include <memory>

class HistoryStore;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    // How the window's items are opened; each is handed the file's path.
    struct Openers {
        std::function<void(const QString& serial, const QString& path)> point;
        std::function<void(const QString& path)> log;
        std::function<void(const QString& path)> file; // a sheet, a settings file
    };
    HistoryWindow(HistoryPlace place, Openers openers, std::function<QDate()> today,
                  QWidget* parent = nullptr);
    ~HistoryWindow() override;

    void ShowController(const QString& serial);
    // "Приборы: ТО": the list holds only the controllers whose service is due.
    void ShowDue();
    QString Shown() const { return serial_; }
    QString Status() const;

private:
    void Build();
    void Search(const QString& text);
    void FillList(const std::vector<KnownController>& controllers);
    void FillVisits();
    void FillCard();
    void SaveCard();
    void DeleteOwner();
    void SaveService();
    void OpenItem(QTreeWidgetItem* item);
    void Say(const QString& text);
    VehicleCard TypedCard() const;

    HistoryPlace place_;
    Openers openers_;
    std::function<QDate()> today_;
    OpenedHistory opened_;
    std::unique_ptr<HistoryStore> store_;
    QString serial_;
    std::vector<VisitEntry> visits_;

    QLineEdit* search_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* due_ = nullptr;
    QTreeWidget* visitTree_ = nullptr;
    std::vector<std::pair<QString, QLineEdit*>> cardFields_;
    QLineEdit* serviceDate_ = nullptr;
    QLineEdit* serviceKm_ = nullptr;
    QLineEdit* serviceText_ = nullptr;
    QLineEdit* odometer_ = nullptr;
    QPushButton* saveCard_ = nullptr;
    QPushButton* deleteOwner_ = nullptr;
    QPushButton* saveService_ = nullptr;
    QLabel* status_ = nullptr;
};
