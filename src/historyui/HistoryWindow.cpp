#include "HistoryWindow.h"

#include "HistoryStore.h"
#include "Vin.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <iterator>

namespace {

constexpr int SerialRole = Qt::UserRole;
constexpr int ItemRole = Qt::UserRole + 1; // the index of the item in its visit, +1

// The serial number, and under it the car and its plate when known.
QString ListText(const KnownController& known) {
    QStringList car;
    const QString name = QStringList{known.card.make, known.card.model}.join(u' ').trimmed();
    for (const QString& part : {name, known.card.plate})
        if (!part.isEmpty())
            car << part;
    return car.isEmpty() ? known.serial : known.serial + u'\n' + car.join(QStringLiteral(" · "));
}

QLineEdit* Field(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setAccessibleName(name);
    return edit;
}

} // namespace

HistoryWindow::HistoryWindow(HistoryPlace place, Openers openers, std::function<QDate()> today,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), place_(std::move(place)), openers_(std::move(openers)),
      today_(std::move(today)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("История прибора"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    Build();
    try {
        opened_ = OpenHistory(place_);
        store_ = std::make_unique<HistoryStore>(*opened_.store);
        Say(opened_.message);
    } catch (const StoreError& error) {
        Say(error.text());
    }
    Search({});
}

HistoryWindow::~HistoryWindow() {
    store_.reset();
}

void HistoryWindow::Build() {
    auto* splitter = new QSplitter(this);
    auto* left = new QWidget(splitter);
    auto* leftColumn = new QVBoxLayout(left);
    search_ = Field(QStringLiteral("Поиск прибора"), left);
    search_->setPlaceholderText(QStringLiteral("Номер, госномер, VIN, владелец"));
    search_->setToolTip(QStringLiteral("Серийный номер, госномер, VIN или владелец"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget(left);
    list_->setAccessibleName(QStringLiteral("Известные приборы"));
    list_->setSpacing(2);
    leftColumn->addWidget(search_);
    leftColumn->addWidget(list_);

    auto* right = new QWidget(splitter);
    auto* rightColumn = new QVBoxLayout(right);
    heading_ = new QLabel(right);
    heading_->setObjectName(QStringLiteral("HistoryHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    heading_->setFont(bold);
    due_ = new QLabel(right);
    due_->setObjectName(QStringLiteral("HistoryDue"));
    due_->setStyleSheet(QStringLiteral("color: #c80000"));
    due_->hide();
    visitTree_ = new QTreeWidget(right);
    visitTree_->setObjectName(QStringLiteral("HistoryVisits"));
    visitTree_->setAccessibleName(QStringLiteral("Визиты"));
    visitTree_->setHeaderHidden(true);
    visitTree_->setAllColumnsShowFocus(true);
    rightColumn->addWidget(heading_);
    rightColumn->addWidget(due_);
    rightColumn->addWidget(visitTree_, 1);

    auto* below = new QHBoxLayout;
    auto* cardBox = new QGroupBox(QStringLiteral("Автомобиль"), right);
    // Two fields a row, so that the visits keep most of the window's height.
    auto* cardGrid = new QGridLayout(cardBox);
    const QString labels[] = {QStringLiteral("Марка"),       QStringLiteral("Модель"),
                              QStringLiteral("Год выпуска"), QStringLiteral("Двигатель"),
                              QStringLiteral("Госномер"),    QStringLiteral("VIN"),
                              QStringLiteral("Владелец"),    QStringLiteral("Телефон владельца"),
                              QStringLiteral("Заметки")};
    // What each field is called beside it where its full name would not leave it room.
    const QString shown[] = {{}, {}, QStringLiteral("Год"),     {}, {},
                             {}, {}, QStringLiteral("Телефон"), {}};
    for (int i = 0; i < static_cast<int>(std::size(labels)); ++i) {
        QLineEdit* edit = Field(labels[i], cardBox);
        auto* label = new QLabel((shown[i].isEmpty() ? labels[i] : shown[i]) + u':', cardBox);
        label->setBuddy(edit);
        const bool wide = i == 8; // the notes take the whole row
        const int row = i / 2, column = wide ? 0 : i % 2 * 2;
        cardGrid->addWidget(label, row, column);
        cardGrid->addWidget(edit, row, column + 1, 1, wide ? 3 : 1);
        cardFields_.emplace_back(labels[i], edit);
    }
    cardGrid->setColumnStretch(1, 2);
    cardGrid->setColumnStretch(3, 3);
    cardFields_[5].second->setMaxLength(17);
    auto* cardButtons = new QHBoxLayout;
    saveCard_ = new QPushButton(QStringLiteral("Сохранить карточку"), cardBox);
    deleteOwner_ = new QPushButton(QStringLiteral("Удалить данные владельца"), cardBox);
    cardButtons->addWidget(saveCard_);
    cardButtons->addWidget(deleteOwner_);
    cardButtons->addStretch();
    cardGrid->addLayout(cardButtons, 5, 0, 1, 4);

    auto* serviceBox = new QGroupBox(QStringLiteral("Следующее ТО"), right);
    auto* serviceForm = new QFormLayout(serviceBox);
    serviceDate_ = Field(QStringLiteral("Дата ТО"), serviceBox);
    serviceDate_->setPlaceholderText(QStringLiteral("дд.мм.гггг"));
    serviceKm_ = Field(QStringLiteral("Пробег ТО, км"), serviceBox);
    serviceText_ = Field(QStringLiteral("Что сделать"), serviceBox);
    serviceText_->setPlaceholderText(QStringLiteral("замена фильтра газа"));
    odometer_ = Field(QStringLiteral("Пробег при последнем визите, км"), serviceBox);
    serviceForm->addRow(QStringLiteral("Дата:"), serviceDate_);
    serviceForm->addRow(QStringLiteral("Пробег, км:"), serviceKm_);
    serviceForm->addRow(QStringLiteral("Что сделать:"), serviceText_);
    serviceForm->addRow(QStringLiteral("Пробег сейчас:"), odometer_);
    saveService_ = new QPushButton(QStringLiteral("Сохранить ТО и пробег"), serviceBox);
    serviceForm->addRow(saveService_);
    below->addWidget(cardBox, 3);
    below->addWidget(serviceBox, 2);
    rightColumn->addLayout(below);

    status_ = new QLabel(right);
    status_->setObjectName(QStringLiteral("HistoryStatus"));
    status_->setWordWrap(true);
    rightColumn->addWidget(status_);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({250, 750});
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(splitter);
    resize(1000, 660);

    connect(search_, &QLineEdit::textChanged, this, &HistoryWindow::Search);
    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            ShowController(item->data(SerialRole).toString());
    });
    connect(visitTree_, &QTreeWidget::itemActivated, this, &HistoryWindow::OpenItem);
    connect(saveCard_, &QPushButton::clicked, this, &HistoryWindow::SaveCard);
    connect(deleteOwner_, &QPushButton::clicked, this, &HistoryWindow::DeleteOwner);
    connect(saveService_, &QPushButton::clicked, this, &HistoryWindow::SaveService);
}

QString HistoryWindow::Status() const {
    return status_->text();
}

void HistoryWindow::Say(const QString& text) {
    status_->setText(text);
    status_->setAccessibleName(text);
}

void HistoryWindow::Search(const QString& text) {
    if (!store_)
        return;
    try {
        FillList(store_->Search(text));
    } catch (const StoreError& error) {
        Say(error.text());
    }
}

void HistoryWindow::ShowDue() {
    setWindowTitle(QStringLiteral("Приборы: ТО"));
    if (!store_)
        return;
    try {
        const std::vector<KnownController> due = store_->Due(today_());
        FillList(due);
        if (due.empty())
            Say(QStringLiteral("Ни одному известному прибору ТО пока не нужно."));
    } catch (const StoreError& error) {
        Say(error.text());
    }
}

void HistoryWindow::FillList(const std::vector<KnownController>& controllers) {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const KnownController& known : controllers) {
        auto* item = new QListWidgetItem(ListText(known), list_);
        item->setData(SerialRole, known.serial);
        if (known.serial == serial_)
            list_->setCurrentItem(item);
    }
}

void HistoryWindow::ShowController(const QString& serial) {
    serial_ = serial;
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentItem(nullptr);
        for (int row = 0; row < list_->count(); ++row)
            if (list_->item(row)->data(SerialRole).toString() == serial)
                list_->setCurrentRow(row);
    }
    FillVisits();
    FillCard();
}

void HistoryWindow::FillVisits() {
    visitTree_->clear();
    visits_.clear();
    if (!store_ || serial_.isEmpty())
        return;
    try {
        visits_ = ControllerHistory::Of(*store_, serial_, place_.dataFolder);
    } catch (const StoreError& error) {
        Say(error.text());
    }
    QList<QTreeWidgetItem*> tops;
    tops.reserve(static_cast<qsizetype>(visits_.size()));
    QFont bold = visitTree_->font();
    bold.setBold(true);
    const QColor missingColour(0xc8, 0, 0);
    for (std::size_t v = 0; v < visits_.size(); ++v) {
        const VisitEntry& entry = visits_[v];
        auto* top = new QTreeWidgetItem({ControllerHistory::VisitTitle(entry.visit)});
        top->setData(0, SerialRole, static_cast<qulonglong>(v));
        top->setFont(0, bold);
        if (entry.items.empty())
            new QTreeWidgetItem(top, {QStringLiteral("ничего не изменено")});
        for (std::size_t i = 0; i < entry.items.size(); ++i) {
            const VisitItem& visitItem = entry.items[i];
            auto* item = new QTreeWidgetItem(top, {visitItem.text});
            item->setData(0, SerialRole, static_cast<qulonglong>(v));
            item->setData(0, ItemRole, static_cast<qulonglong>(i + 1));
            if (visitItem.missing)
                item->setForeground(0, missingColour);
        }
        tops << top;
    }
    visitTree_->addTopLevelItems(tops);
    for (int v = 0; v < std::min<int>(3, tops.size()); ++v)
        tops[v]->setExpanded(true);
}

void HistoryWindow::FillCard() {
    std::optional<KnownController> known;
    if (store_ && !serial_.isEmpty()) {
        try {
            known = store_->Controller(serial_);
        } catch (const StoreError& error) {
            Say(error.text());
        }
    }
    const VehicleCard card = known ? known->card : VehicleCard{};
    const QString values[] = {card.make, card.model,     card.year,       card.engine, card.plate,
                              card.vin,  card.ownerName, card.ownerPhone, card.notes};
    for (std::size_t i = 0; i < cardFields_.size(); ++i)
        cardFields_[i].second->setText(values[i]);
    const NextService service = known ? known->service : NextService{};
    serviceDate_->setText(service.date ? service.date->toString(QStringLiteral("dd.MM.yyyy"))
                                       : QString());
    serviceKm_->setText(service.odometer ? QString::number(*service.odometer) : QString());
    serviceText_->setText(service.text);
    odometer_->setText(!visits_.empty() && visits_.front().visit.odometer
                           ? QString::number(*visits_.front().visit.odometer)
                           : QString());
    const QString car = QStringList{card.make, card.model, card.plate}.join(u' ').simplified();
    heading_->setText(
        serial_.isEmpty()
            ? QStringLiteral("Выберите прибор слева")
            : QStringLiteral("Прибор %1%2").arg(serial_, car.isEmpty() ? QString() : " · " + car));
    heading_->setAccessibleName(heading_->text());
    const bool due = known && known->service.DueOn(today_(), store_->LastOdometer(serial_));
    due_->setVisible(due);
    due_->setText(due ? QStringLiteral("Пора ТО: %1").arg(known->service.Text()) : QString());
    due_->setAccessibleName(due_->text());
    const bool writable = store_ && !opened_.store->ReadOnly() && !serial_.isEmpty();
    for (QPushButton* button : {saveCard_, deleteOwner_, saveService_})
        button->setEnabled(writable);
}

VehicleCard HistoryWindow::TypedCard() const {
    const auto text = [this](std::size_t i) { return cardFields_[i].second->text().trimmed(); };
    return {text(0),           text(1), text(2), text(3), text(4),
            text(5).toUpper(), text(6), text(7), text(8)};
}

void HistoryWindow::SaveCard() {
    try {
        if (const std::optional<QString> refusal = store_->SaveCard(serial_, TypedCard())) {
            Say(QStringLiteral("Карточка не сохранена. %1").arg(*refusal));
            cardFields_[5].second->setFocus();
            return;
        }
        Say(QStringLiteral("Карточка прибора %1 сохранена.").arg(serial_));
        FillCard();
        Search(search_->text());
    } catch (const StoreError& error) {
        Say(error.text());
    }
}

void HistoryWindow::DeleteOwner() {
    try {
        store_->ClearOwner(serial_);
        FillCard();
        Search(search_->text());
        Say(QStringLiteral("Имя и телефон владельца удалены. Остались автомобиль, госномер, VIN, "
                           "заметки и визиты прибора %1.")
                .arg(serial_));
    } catch (const StoreError& error) {
        Say(error.text());
    }
}

void HistoryWindow::SaveService() {
    NextService service;
    service.text = serviceText_->text().trimmed();
    const QString dateText = serviceDate_->text().trimmed();
    if (!dateText.isEmpty()) {
        const QDate date = QDate::fromString(dateText, QStringLiteral("dd.MM.yyyy"));
        if (!date.isValid()) {
            Say(QStringLiteral("Дата ТО не сохранена: введите её как 01.03.2027."));
            return;
        }
        service.date = date;
    }
    const auto number = [this](QLineEdit* edit, std::optional<int>& into) {
        const QString text = edit->text().remove(u' ').remove(QChar(0xA0));
        if (text.isEmpty())
            return true;
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < 0) {
            Say(QStringLiteral("«%1» — не пробег в километрах.").arg(edit->text()));
            return false;
        }
        into = value;
        return true;
    };
    std::optional<int> odometer;
    if (!number(serviceKm_, service.odometer) || !number(odometer_, odometer))
        return;
    try {
        store_->SaveService(serial_, service);
        if (!visits_.empty())
            store_->SetOdometer(visits_.front().visit.id, odometer);
        Say(service.IsSet() ? QStringLiteral("Следующее ТО: %1.").arg(service.Text())
                            : QStringLiteral("Следующее ТО не назначено."));
        FillVisits();
        FillCard();
    } catch (const StoreError& error) {
        Say(error.text());
    }
}

void HistoryWindow::OpenItem(QTreeWidgetItem* item) {
    const std::size_t index = item->data(0, ItemRole).toULongLong();
    const std::size_t visit = item->data(0, SerialRole).toULongLong();
    if (index == 0 || visit >= visits_.size() || index > visits_[visit].items.size())
        return;
    const VisitItem& chosen = visits_[visit].items[index - 1];
    if (chosen.path.isEmpty())
        return;
    if (chosen.missing) {
        Say(QStringLiteral("%1: %2").arg(ControllerHistory::MissingText, chosen.path));
        return;
    }
    switch (chosen.kind) {
    case VisitItem::Kind::Point:
        if (openers_.point)
            openers_.point(serial_, chosen.path);
        break;
    case VisitItem::Kind::Log:
        if (openers_.log)
            openers_.log(chosen.path);
        break;
    default:
        if (openers_.file)
            openers_.file(chosen.path);
        break;
    }
}
