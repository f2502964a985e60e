#include "PortsDialog.h"

#include "PortChoice.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString NoDeviceText = QStringLiteral("(нет)");
const QString MissingText = QStringLiteral("нет устройства");

QStringList FourEntries(QStringList devices) {
    while (devices.size() < PortNames::PortCount)
        devices << QString();
    return devices.mid(0, PortNames::PortCount);
}

bool SameMapping(const PortNames::Mapping& a, const PortNames::Mapping& b) {
    return a.source == b.source && a.devices == b.devices && a.missing == b.missing;
}

// COM1..COM4 that lead to the device, "COM1, COM3".
QString ProgramPorts(const PortNames::Mapping& mapping, const QString& device) {
    QStringList names;
    for (int i = 0; i < mapping.devices.size(); ++i) {
        if (!device.isEmpty() && mapping.devices[i] == device)
            names << QStringLiteral("COM%1").arg(i + 1);
    }
    return names.join(QStringLiteral(", "));
}

// The device of a row: the chosen entry's, or a path typed into the box.
QString DeviceIn(const QComboBox& box) {
    const QString text = box.currentText().trimmed();
    const int index = box.findText(text);
    return index >= 0 ? box.itemData(index).toString() : text;
}

void SetRow(QTableWidget& table, int row, const QStringList& cells) {
    for (int column = 0; column < PortsDialog::Columns; ++column) {
        auto* item = new QTableWidgetItem(cells.value(column));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table.setItem(row, column, item);
    }
}

} // namespace

PortsDialog::PortsDialog(PortLister lister, QWidget* parent)
    : QDialog(parent), lister_(std::move(lister)), poll_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Порты"));
    mapping_ = PortNames::Current();
    const PortNames::Choice choice = PortChoice::Load();
    hadChoice_ = choice.has_value();
    initial_ = FourEntries(choice ? *choice : PortNames::ScannedDevices());

    auto* layout = new QVBoxLayout(this);
    variableNote_ = new QLabel(QStringLiteral("Порты задаёт переменная окружения TARVIK_Q5_PORTS: "
                                              "пока она задана, выбор ниже не действует."),
                               this);
    variableNote_->setWordWrap(true);
    variableNote_->setVisible(mapping_.source == PortNames::Source::Variable);
    layout->addWidget(variableNote_);

    table_ = new QTableWidget(0, Columns, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("COM"), QStringLiteral("Устройство"),
                                       QStringLiteral("Описание"), QStringLiteral("Производитель"),
                                       QStringLiteral("Серийный номер"), QStringLiteral("VID:PID"),
                                       QStringLiteral("Состояние")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    auto* group = new QGroupBox(QStringLiteral("Порты программы"), this);
    auto* form = new QFormLayout(group);
    for (int port = 1; port <= PortNames::PortCount; ++port) {
        // A device the system does not list (a pseudo-terminal, an unusual adapter) can be
        // typed in or chosen among the files.
        auto* box = new QComboBox(group);
        box->setObjectName(QStringLiteral("COM%1").arg(port));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(28);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        connect(box, &QComboBox::activated, this, [this] { forget_ = false; });
        connect(box, &QComboBox::editTextChanged, this, [this] { forget_ = false; });
        assignments_[port - 1] = box;
        auto* browse = new QPushButton(QStringLiteral("Файл…"), group);
        browse->setObjectName(QStringLiteral("COM%1File").arg(port));
        connect(browse, &QPushButton::clicked, this, [this, box] { ChooseDeviceFile(*box); });
        auto* row = new QHBoxLayout;
        row->addWidget(box, 1);
        row->addWidget(browse);
        form->addRow(QStringLiteral("COM%1").arg(port), row);
    }
    layout->addWidget(group);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("По умолчанию"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortsDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &PortsDialog::UseDefault);
    layout->addWidget(buttons);

    ports_ = lister_();
    ShowPorts();
    connect(poll_, &QTimer::timeout, this, &PortsDialog::Refresh);
    poll_->start(PollIntervalMs);
    resize(860, 380);
}

QStringList PortsDialog::ChosenDevices() const {
    QStringList devices;
    for (const QComboBox* box : assignments_)
        devices << DeviceIn(*box);
    return devices;
}

void PortsDialog::Refresh() {
    std::vector<PortFacts> ports = lister_();
    PortNames::Mapping mapping = PortNames::Current();
    if (ports == ports_ && SameMapping(mapping, mapping_))
        return;
    ports_ = std::move(ports);
    mapping_ = std::move(mapping);
    ShowPorts();
}

void PortsDialog::accept() {
    if (forget_)
        PortChoice::Forget();
    else if (hadChoice_ || ChosenDevices() != initial_)
        PortChoice::Save(ChosenDevices());
    QDialog::accept();
}

void PortsDialog::ShowPorts() {
    const QStringList chosen = assignments_[0]->count() > 0 ? ChosenDevices() : initial_;
    // The system's ports, then the program's devices the system does not list (a missing
    // adapter, a pseudo-terminal).
    std::vector<QStringList> rows;
    QStringList listed;
    for (const PortFacts& facts : ports_) {
        rows.push_back({ProgramPorts(mapping_, facts.device), facts.device, facts.description,
                        facts.manufacturer, facts.serialNumber, PortList::UsbIds(facts),
                        PortList::UseText(facts)});
        listed << facts.device;
    }
    std::vector<PortFacts> unlisted;
    for (const QString& device : mapping_.devices + chosen) {
        if (device.isEmpty() || listed.contains(device))
            continue;
        unlisted.push_back({});
        unlisted.back().device = device;
        listed << device;
    }
    PortList::FindUse(unlisted);
    for (const PortFacts& facts : unlisted)
        rows.push_back({ProgramPorts(mapping_, facts.device),
                        facts.device,
                        {},
                        {},
                        {},
                        {},
                        PortList::UseText(facts)});
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        SetRow(*table_, row, rows[row]);
    table_->resizeColumnsToContents();
    for (int i = 0; i < PortNames::PortCount; ++i)
        FillAssignment(*assignments_[i], chosen[i]);
}

void PortsDialog::FillAssignment(QComboBox& box, const QString& selected) {
    const QSignalBlocker quiet(&box);
    box.clear();
    box.addItem(NoDeviceText, QString());
    for (const PortFacts& facts : ports_) {
        const QString text = facts.description.isEmpty()
                                 ? facts.device
                                 : QStringLiteral("%1 (%2)").arg(facts.device, facts.description);
        box.addItem(text, facts.device);
    }
    if (!selected.isEmpty() && box.findData(selected) < 0) {
        const bool exists = QFileInfo::exists(selected);
        box.addItem(exists ? selected : QStringLiteral("%1 (%2)").arg(selected, MissingText),
                    selected);
    }
    box.setCurrentIndex(std::max(0, box.findData(selected)));
}

void PortsDialog::ChooseDeviceFile(QComboBox& box) {
    QFileDialog dialog(this, QStringLiteral("Устройство порта"), QStringLiteral("/dev"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setFilter(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    if (const QString device = DeviceIn(box); device.startsWith(QLatin1Char('/')))
        dialog.selectFile(device);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    FillAssignment(box, dialog.selectedFiles().first());
    forget_ = false;
}

void PortsDialog::SelectDevices(const QStringList& devices) {
    for (int i = 0; i < PortNames::PortCount; ++i)
        FillAssignment(*assignments_[i], devices.value(i));
}

void PortsDialog::UseDefault() {
    SelectDevices(FourEntries(PortNames::ScannedDevices()));
    forget_ = true;
}
