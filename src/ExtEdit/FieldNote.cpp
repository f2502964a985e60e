#include "FieldNote.h"

#include <QAccessible>
#include <QEvent>
#include <QToolTip>

#include <algorithm>

FieldNote::FieldNote(QWidget& field) : QLabel(field.window()), field_(&field) {
    setObjectName(QStringLiteral("FieldNote"));
    setFont(QToolTip::font());
    setPalette(QToolTip::palette());
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(2);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    expiry_.setSingleShot(true);
    expiry_.setInterval(ShownMs);
    connect(&expiry_, &QTimer::timeout, this, &FieldNote::Withdraw);
    field.installEventFilter(this);
}

FieldNote::~FieldNote() {
    if (field_)
        field_->removeEventFilter(this);
}

void FieldNote::Show(const QString& remark) {
    if (!field_)
        return;
    if (!isVisible())
        fieldDescription_ = field_->accessibleDescription();
    setText(remark);
    setAccessibleName(remark);
    field_->setAccessibleDescription(remark);
    adjustSize();
    Place();
    show();
    raise();
    expiry_.start();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void FieldNote::Withdraw() {
    expiry_.stop();
    if (isHidden())
        return;
    hide();
    if (field_)
        field_->setAccessibleDescription(fieldDescription_);
}

QString FieldNote::Remark() const {
    return isHidden() ? QString() : text();
}

bool FieldNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::Hide)
        Withdraw();
    else if (watched == field_ &&
             (event->type() == QEvent::Move || event->type() == QEvent::Resize) && !isHidden())
        Place();
    return QLabel::eventFilter(watched, event);
}

void FieldNote::Place() {
    const QWidget* window = parentWidget();
    const QPoint fieldTop = field_->mapTo(window, QPoint(0, 0));
    int top = fieldTop.y() + field_->height();
    if (top + height() > window->height())
        top = fieldTop.y() - height();
    const int left = std::max(0, std::min(fieldTop.x(), window->width() - width()));
    move(left, std::max(0, top));
}
