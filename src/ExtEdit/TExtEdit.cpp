#include "TExtEdit.h"

#include "ExactClassVisit.h"
#include "FieldNote.h"
#include "FormatMask.h"
#include "PlacementFont.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QTabWidget>

#include <cmath>

namespace {

constexpr int kDefaultWidth = 121;
constexpr int kDefaultHeight = 25;
constexpr long double kZeroBelow = 1e-10L;

// A Russian keyboard types a decimal comma. No mask shows a comma, so in the field's text it
// can only be a typed decimal point.
QChar ReadAsPoint(QChar c) {
    return c == u',' ? QChar(u'.') : c;
}

bool StartsNumber(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

bool ContinuesNumber(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E';
}

bool IsDigit(const QString& text, int i) {
    return i >= 0 && i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9';
}

// A blank between a digit and a group of exactly three digits, in the whole part of the
// number, separates thousands as a Russian technician writes them ("1 600").
bool SeparatesThousands(const QString& text, int i, const QString& number) {
    return IsDigit(text, i - 1) && IsDigit(text, i + 1) && IsDigit(text, i + 2) &&
           IsDigit(text, i + 3) && !IsDigit(text, i + 4) && !number.contains(u'.') &&
           !number.contains(u'e', Qt::CaseInsensitive);
}

// The number string of a shown or typed text: from the first digit, sign or point (a comma
// counting as a point), collecting digits, points and exponent letters up to the first blank
// that separates no thousands, and skipping everything else ("Vref 4.50 Volt" gives "4.50",
// "7,5" gives "7.5", "1 600" gives "1600").
QString CollectNumber(const QString& text) {
    QString number;
    int i = 0;
    while (i < text.size() && !StartsNumber(ReadAsPoint(text.at(i))))
        ++i;
    if (i == text.size())
        return number;
    number.append(ReadAsPoint(text.at(i++)));
    for (; i < text.size(); ++i) {
        const QChar c = ReadAsPoint(text.at(i));
        if (c == u' ' && !SeparatesThousands(text, i, number))
            break;
        if (ContinuesNumber(c))
            number.append(c);
    }
    return number;
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the page of a page control that holds the field.
bool TurnsPage(const QKeyEvent& event, const QWidget& field) {
    if ((event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab) ||
        !(event.modifiers() & Qt::ControlModifier))
        return false;
    for (const QWidget* up = field.parentWidget(); up; up = up->parentWidget()) {
        if (const auto* pages = qobject_cast<const QTabWidget*>(up); pages && pages->count() > 1)
            return true;
    }
    return false;
}

} // namespace

TExtEdit::TExtEdit(QWidget* parent) : QLineEdit(parent) {
    setGeometry(0, 0, kDefaultWidth, kDefaultHeight);
    ApplyFontRule();
    UpdateText();
}

TExtEdit::~TExtEdit() {
    delete note_; // it lives in the window, which may outlive the field
}

QString TExtEdit::TextFor(long double v) const {
    return QStringLiteral(" ") + FormatMask::Format(valueFormat_, v);
}

void TExtEdit::SetValue(long double newValue) {
    const long double oldValue = value_;
    long double v = newValue;
    if (v > valueMax_ || std::isnan(v))
        v = valueMax_;
    if (v < valueMin_)
        v = valueMin_;
    if (std::fabs(v) < kZeroBelow)
        v = 0.0L;
    value_ = v;
    UpdateText();
    if (TextFor(oldValue) != text() && onChangeValue && Showing() && OwnEnabled())
        onChangeValue(this, oldValue, v);
}

void TExtEdit::SetValueMin(long double bound) {
    valueMin_ = bound;
    if (value_ < valueMin_)
        SetValue(valueMin_);
}

void TExtEdit::SetValueMax(long double bound) {
    valueMax_ = bound;
    if (value_ > valueMax_)
        SetValue(valueMax_);
}

void TExtEdit::SetValueFormat(const QString& mask) {
    valueFormat_ = mask;
    UpdateText();
}

void TExtEdit::UpdateText() {
    ShowText(TextFor(value_));
}

void TExtEdit::ShowText(const QString& shown) {
    setText(shown);
    setCursorPosition(0); // show the text from its start, leading blanks and sign included
    update();
}

void TExtEdit::ApplyText() {
    const QString typedText = text();
    const bool edited = isModified();
    const std::optional<long double> typed = FormatMask::StrToExtended(CollectNumber(typedText));
    QPointer<TExtEdit> self(this);
    SetValue(typed ? *typed : value_);
    if (!self) // the change's handler may close the window
        return;
    setModified(false);
    if (edited)
        RemarkOnTyped(typedText, typed);
}

// The value is committed as typed, held to the bounds; what the field then shows is said at
// the field when it is not what was typed: the bound that was taken instead, or that the text
// was no number and the held value stays.
void TExtEdit::RemarkOnTyped(const QString& typedText, std::optional<long double> typed) {
    const QString shown = TextFor(value_);
    QString remark;
    if (!typed) {
        if (typedText != shown) {
            const QString quoted = typedText.trimmed();
            remark = (quoted.isEmpty() ? QStringLiteral("Пусто — не число")
                                       : QStringLiteral("«%1» — не число").arg(quoted)) +
                     QStringLiteral(", осталось ") + shown.trimmed();
        }
    } else if (TextFor(*typed) != shown) {
        if (*typed > valueMax_)
            remark = QStringLiteral("не больше ") + shown.trimmed();
        else if (*typed < valueMin_)
            remark = QStringLiteral("не меньше ") + shown.trimmed();
    }
    if (remark.isEmpty()) {
        if (note_)
            note_->Withdraw();
        return;
    }
    if (note_ && note_->parentWidget() != window())
        delete note_;
    if (!note_)
        note_ = new FieldNote(*this);
    note_->Show(remark);
}

QString TExtEdit::Remark() const {
    return note_ ? note_->Remark() : QString();
}

void TExtEdit::Init() {
    Init([](const std::function<void()>& show) { show(); });
}

void TExtEdit::Init(const ShowLater& later) {
    setEnabled(true);
    if (!onInit)
        return;
    long double v = value_;
    onInit(this, queryCod_, valueAdr_, v);
    value_ = v;
    later([this, v] { ShowText(TextFor(v)); });
}

void TExtEdit::Pass() {
    setEnabled(false);
    SetValue(0.0L);
}

void TExtEdit::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
    ApplyFontRule();
}

void TExtEdit::SetFocus() {
    setFocus(Qt::OtherFocusReason);
    update();
}

void TExtEdit::InitAll(const ComponentList& owner) {
    VisitExactClass<TExtEdit>(owner, [](TExtEdit& edit) { edit.Init(); });
}

void TExtEdit::InitAll(const ComponentList& owner, const ShowLater& later) {
    VisitExactClass<TExtEdit>(owner, [&later](TExtEdit& edit) { edit.Init(later); });
}

void TExtEdit::PassAll(const ComponentList& owner) {
    VisitExactClass<TExtEdit>(owner, &TExtEdit::Pass);
}

void TExtEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ApplyText();
        event->accept();
        return;
    }
    // The page leaves sight before the field loses the focus: commit typed text while the
    // change can still be reported. The key goes on to the page control.
    if (isModified() && TurnsPage(*event, *this))
        ApplyText();
    QLineEdit::keyPressEvent(event);
    update();
}

void TExtEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another application or a popup taking the focus is no move within the window.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    // Passing through a field writes nothing: its text is what was last shown, and the held
    // value may lie outside the bounds when the controller holds such a word.
    if (isModified())
        ApplyText();
}

void TExtEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    // A resize delivered late (the widget was hidden when placed) is no new placement.
    if (event->size() != fontRuleSize_)
        ApplyFontRule();
}

void TExtEdit::ApplyFontRule() {
    PlacementFont::Apply(*this);
    fontRuleSize_ = size();
}
