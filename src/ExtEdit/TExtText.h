#pragma once
// A read-only framed text that shows " " + caption + " " + formatted value + " " and
// refreshes itself: its own timer asks onQuery every QueryInterval ms while AutoQuery is
// set, the display is enabled and it is on screen.

#include "ComponentList.h"
#include "ValueEvents.h"

#include <QLabel>

class QTimer;

class TExtText : public QLabel {
    Q_OBJECT
public:
    explicit TExtText(QWidget* parent = nullptr);
    ~TExtText() override;

    QString ValueCaption() const { return valueCaption_; }
    void SetValueCaption(const QString& caption);
    QString ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& mask);
    long double ValueMin() const { return valueMin_; }
    void SetValueMin(long double v) { valueMin_ = v; }
    long double ValueMax() const { return valueMax_; }
    void SetValueMax(long double v) { valueMax_ = v; }
    long double Value() const { return value_; }
    void SetValue(long double newValue);
    int QueryCod() const { return queryCod_; }
    void SetQueryCod(int tag) { queryCod_ = tag; }
    int ValueAdr() const { return valueAdr_; }
    void SetValueAdr(int tag) { valueAdr_ = tag; }
    bool AutoQuery() const { return autoQuery_; }
    void SetAutoQuery(bool on);
    int QueryInterval() const { return queryInterval_; }
    void SetQueryInterval(int ms);

    TChangeEvent onChangeValue;
    TQueryEvent onQuery;

    void UpdateText();
    void QueryTimer();
    void Init();
    void Pass();
    void SetBounds(int left, int top, int width, int height);
    bool Showing() const { return isVisible(); }
    // The display's own Enabled flag, whatever its parents' state.
    bool OwnEnabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

    enum class Border { None, Single, Sunken };
    void SetBorderStyle(Border border);
    void SetColor(const QColor& background);

    QTimer* Timer() const { return timer_; }

    static void InitAll(const ComponentList& owner);
    static void PassAll(const ComponentList& owner);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyTimerState();
    void ApplyFontRule();
    QString TextFor(long double v) const;

    QString valueCaption_;
    QString valueFormat_ = QStringLiteral("#####0.00 ");
    long double valueMin_ = -1.0L;
    long double valueMax_ = 1.0L;
    long double value_ = 0.0L;
    int queryCod_ = 0;
    int valueAdr_ = 0;
    bool autoQuery_ = false;
    int queryInterval_ = 1000;
    bool querying_ = false;
    QTimer* timer_ = nullptr; // child, owned by the display
    QSize fontRuleSize_;      // the size at which the font rule was last applied
};
