#pragma once
// "Порты": the machine's serial ports with their details, and which of them the program
// uses as COM1..COM4 (a device path may be typed or chosen among the files). The list follows
// ports that come and go while the dialog is open; OK
// remembers the assignment, "По умолчанию" returns to the program's own search.

#include "PortList.h"
#include "PortNames.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QTableWidget;
class QTimer;

class PortsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 1000;
    // The table's columns; "COM" names the program's ports that lead to the device.
    enum Column {
        ProgramPort,
        Device,
        Description,
        Manufacturer,
        SerialNumber,
        UsbIds,
        Use,
        Columns
    };

    explicit PortsDialog(PortLister lister = &PortList::SystemPorts, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    QComboBox* Assignment(int port) const { return assignments_.at(port - 1); }
    QLabel* VariableNote() const { return variableNote_; }

    // The devices chosen for COM1..COM4 (empty: none).
    QStringList ChosenDevices() const;

    // Reads the ports again and shows any change.
    void Refresh();

    void accept() override;

private:
    void ShowPorts();
    void FillAssignment(QComboBox& box, const QString& selected);
    void ChooseDeviceFile(QComboBox& box);
    void SelectDevices(const QStringList& devices);
    void UseDefault();

    PortLister lister_;
    std::vector<PortFacts> ports_;
    PortNames::Mapping mapping_;
    QStringList initial_;
    bool hadChoice_ = false;
    bool forget_ = false;
    QLabel* variableNote_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::array<QComboBox*, PortNames::PortCount> assignments_{};
    QTimer* poll_ = nullptr;
};
