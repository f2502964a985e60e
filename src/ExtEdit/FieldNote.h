#pragma once
// A short remark at a value field for a few seconds, like a tooltip that needs no mouse: what
// the field made of the text typed into it. It stands just below the field (above it at the
// window's lower edge), follows the field, takes no input and goes away by itself or when the
// field leaves sight. A screen reader hears it as an alert, and the field's accessible description
// carries it while it shows.

#include <QLabel>
#include <QPointer>
#include <QTimer>

class FieldNote : public QLabel {
    Q_OBJECT
public:
    static constexpr int ShownMs = 4000;

    // The note lives in the field's window; it is made when the field first needs one.
    explicit FieldNote(QWidget& field);
    ~FieldNote() override;

    void Show(const QString& remark);
    void Withdraw();
    // The remark on show, empty when none.
    QString Remark() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QPointer<QWidget> field_;
    QString fieldDescription_; // the field's own accessible description, given back after
    QTimer expiry_;
};
