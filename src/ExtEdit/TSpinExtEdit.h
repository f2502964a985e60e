#pragma once
// The value edit with a spin button set into its right edge: up and down buttons that step
// the held value by ValueStep, repeating 400 ms after the press and then every 100 ms.
// With key steps on, Up and Down click the arrows once and Page Up and Page Down ten times;
// off (the default), those keys act on the caret as in any edit field.

#include "TExtEdit.h"

class TSpinButton;

class TSpinExtEdit : public TExtEdit {
    Q_OBJECT
public:
    explicit TSpinExtEdit(QWidget* parent = nullptr);
    ~TSpinExtEdit() override;

    long double ValueStep() const { return valueStep_; }
    void SetValueStep(long double step) { valueStep_ = step; }

    virtual void StepUp();
    virtual void StepDown();
    void SetBounds(int left, int top, int width, int height) override;

    TSpinButton* SpinButton() const { return spinButton_; }

    bool KeySteps() const { return keySteps_; }
    void SetKeySteps(bool on) { keySteps_ = on; }

    static void InitAll(const ComponentList& owner);
    static void InitAll(const ComponentList& owner, const ShowLater& later);
    static void PassAll(const ComponentList& owner);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceSpinButton();
    long double valueStep_ = 0.1L;
    bool keySteps_ = false;
    TSpinButton* spinButton_ = nullptr; // child widget, owned by the edit
};
