#include "PortField.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

PortField::PortField(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // A long path in the list does not widen the field: it is shortened instead. Nine
    // characters and the room of an icon are the twelve characters the field always had.
    setMinimumContentsLength(9);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    view()->setTextElideMode(Qt::ElideMiddle);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::currentTextChanged, this, &PortField::Follow);
}

void PortField::AddDevice(const QString& device) {
    addItem(device);
    setItemData(count() - 1, device, Qt::ToolTipRole);
}

QString PortField::Device() const {
    return device_.trimmed();
}

void PortField::SetDevice(const QString& device) {
    setCurrentText(device);
    Follow(device);
}

void PortField::Follow(const QString& text) {
    if (showing_)
        return;
    device_ = text;
    setToolTip(device_);
    setAccessibleDescription(device_);
    // Not while the field is still taking the text in: it would put the whole text back.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!lineEdit()->hasFocus())
                ShowShortened();
        },
        Qt::QueuedConnection);
}

void PortField::Show(const QString& text) {
    if (lineEdit()->text() == text)
        return;
    showing_ = true;
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(0);
    showing_ = false;
}

void PortField::ShowShortened() {
    const int room = lineEdit()->width() - 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    Show(lineEdit()->fontMetrics().elidedText(device_, Qt::ElideMiddle, std::max(room, 0)));
}

void PortField::ShowWhole() {
    Show(device_);
}

bool PortField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        if (event->type() == QEvent::FocusIn)
            ShowWhole();
        else if (event->type() == QEvent::FocusOut)
            ShowShortened();
    }
    return QComboBox::eventFilter(watched, event);
}

void PortField::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    if (!lineEdit()->hasFocus())
        ShowShortened();
}
