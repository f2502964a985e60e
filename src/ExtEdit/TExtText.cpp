#include "TExtText.h"

#include "ExactClassVisit.h"
#include "FormatMask.h"
#include "PlacementFont.h"

#include <QPointer>
#include <QResizeEvent>
#include <QTimer>

namespace {

constexpr int kDefaultWidth = 70;
constexpr int kDefaultHeight = 25;
constexpr int kTimerPeriodMs = 1000;

} // namespace

TExtText::TExtText(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
    UpdateText();
    timer_->setInterval(kTimerPeriodMs);
    connect(timer_, &QTimer::timeout, this, &TExtText::QueryTimer);
}

TExtText::~TExtText() = default;

QString TExtText::TextFor(long double v) const {
    return QStringLiteral(" ") + valueCaption_ + QStringLiteral(" ") +
           FormatMask::Format(valueFormat_, v) + QStringLiteral(" ");
}

void TExtText::SetValueCaption(const QString& caption) {
    valueCaption_ = caption;
    UpdateText();
}

void TExtText::SetValueFormat(const QString& mask) {
    valueFormat_ = mask;
    UpdateText();
}

void TExtText::SetValue(long double newValue) {
    const QString oldText = TextFor(value_);
    const long double oldValue = value_;
    value_ = newValue;
    UpdateText();
    if (Showing() && OwnEnabled() && oldText != text() && onChangeValue)
        onChangeValue(this, oldValue, newValue);
}

void TExtText::SetAutoQuery(bool on) {
    if (on == autoQuery_)
        return;
    autoQuery_ = on;
    ApplyTimerState();
}

void TExtText::SetQueryInterval(int ms) {
    if (ms == queryInterval_)
        return;
    queryInterval_ = ms;
    if (ms > 0)
        timer_->setInterval(ms); // restarts a running timer with the new period
    ApplyTimerState();
}

void TExtText::ApplyTimerState() {
    const bool run = autoQuery_ && queryInterval_ > 0 && !querying_;
    if (!run)
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start();
}

void TExtText::UpdateText() {
    setText(TextFor(value_));
    update();
}

void TExtText::QueryTimer() {
    if (!OwnEnabled() || !onQuery || !Showing())
        return;
    long double v = value_;
    QPointer<TExtText> self(this);
    querying_ = true;
    timer_->stop();
    onQuery(this, queryCod_, valueAdr_, v);
    if (!self)
        return;
    querying_ = false;
    ApplyTimerState(); // a full interval from the end of this query
    SetValue(v);
}

void TExtText::Init() {
    setEnabled(true);
    long double v = value_;
    if (onQuery)
        onQuery(this, queryCod_, valueAdr_, v);
    SetValue(v);
}

void TExtText::Pass() {
    value_ = 0.0L;
    UpdateText();
    setEnabled(false);
}

void TExtText::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
    ApplyFontRule();
    update();
}

void TExtText::InitAll(const ComponentList& owner) {
    VisitExactClass<TExtText>(owner, &TExtText::Init);
}

void TExtText::PassAll(const ComponentList& owner) {
    VisitExactClass<TExtText>(owner, &TExtText::Pass);
}

void TExtText::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (event->size() != fontRuleSize_)
        ApplyFontRule();
}

void TExtText::ApplyFontRule() {
    PlacementFont::Apply(*this);
    fontRuleSize_ = size();
}

void TExtText::SetBorderStyle(Border border) {
    switch (border) {
    case Border::None:
        setFrameStyle(QFrame::NoFrame);
        break;
    case Border::Single:
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        break;
    case Border::Sunken:
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
        break;
    }
}

void TExtText::SetColor(const QColor& background) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    setAutoFillBackground(true);
}
