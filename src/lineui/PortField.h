#pragma once
// A station's port: chosen from the machine's ports or typed. A device path too long for the
// field is shown shortened in its middle while the field is not being edited, so that both
// its start and its end show; the whole path is in the tooltip, the accessible description
// and Device().

#include <QComboBox>

class PortField : public QComboBox {
    Q_OBJECT
public:
    explicit PortField(QWidget* parent = nullptr);

    // Adds a device to choose from.
    void AddDevice(const QString& device);
    // The whole path as chosen or typed, blanks trimmed.
    QString Device() const;
    void SetDevice(const QString& device);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Follow(const QString& text);
    void ShowShortened();
    void ShowWhole();
    void Show(const QString& text);

    QString device_;
    bool showing_ = false; // the field's text is being set here, not typed or chosen
};
