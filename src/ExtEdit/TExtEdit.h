#pragma once
// A single-line edit field that holds one real number between inclusive bounds and shows
// it through a format mask. Typed text is committed with Enter, when the focus moves to
// another control of the same window, or just before Ctrl+Tab turns the field's page away; a
// field left without an edit commits nothing. Typed text that is no number, or a number beyond
// the bounds, is remarked on at the field for a moment (FieldNote).

#include "ComponentList.h"
#include "ValueEvents.h"

#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <optional>

class FieldNote;

class TExtEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TExtEdit(QWidget* parent = nullptr);
    ~TExtEdit() override;

    long double Value() const { return value_; }
    void SetValue(long double newValue);
    long double ValueMin() const { return valueMin_; }
    void SetValueMin(long double bound);
    long double ValueMax() const { return valueMax_; }
    void SetValueMax(long double bound);
    QString ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& mask);
    int QueryCod() const { return queryCod_; }
    void SetQueryCod(int tag) { queryCod_ = tag; }
    int ValueAdr() const { return valueAdr_; }
    void SetValueAdr(int tag) { valueAdr_ = tag; }

    TChangeEvent onChangeValue;
    TQueryEvent onInit;

    void UpdateText();
    void ApplyText();
    void Init();
    // Init, but the text is handed to `later`, which shows it when the caller chooses: while
    // the next control's reply is on its way. The held value is set at once.
    using ShowLater = std::function<void(std::function<void()> show)>;
    void Init(const ShowLater& later);
    void Pass();
    // Places the control, then sets the font size to height * 2 / 3 points.
    virtual void SetBounds(int left, int top, int width, int height);
    void SetFocus();
    // The remark at the field on show ("не больше 500 %"), empty when none.
    QString Remark() const;

    // The control, every parent and the window are visible.
    bool Showing() const { return isVisible(); }
    // The control's own Enabled flag, whatever its parents' state.
    bool OwnEnabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

    // Init / Pass of every component of exactly this class, in creation order.
    static void InitAll(const ComponentList& owner);
    static void InitAll(const ComponentList& owner, const ShowLater& later);
    static void PassAll(const ComponentList& owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QString TextFor(long double v) const;

private:
    void ApplyFontRule();
    void ShowText(const QString& shown);
    void RemarkOnTyped(const QString& typedText, std::optional<long double> typed);

    long double value_ = 0.0L;
    long double valueMin_ = -1.0L;
    long double valueMax_ = 1.0L;
    QString valueFormat_ = QStringLiteral("#####0.00");
    int queryCod_ = 0;
    int valueAdr_ = 0;
    QSize fontRuleSize_; // the size at which the font rule was last applied
    QPointer<FieldNote> note_;
};
