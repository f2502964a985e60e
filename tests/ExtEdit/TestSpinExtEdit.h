#pragma once

#include <QObject>

class TestSpinExtEdit : public QObject {
    Q_OBJECT
private slots:
    void Placement_data();
    void Placement();
    void SpinButtonFollowsPlacement();
    void StepCommitsTypedTextFirst();
    void StepAtBoundReportsNothing_data();
    void StepAtBoundReportsNothing();
    void StepFromValueBelowBound_data();
    void StepFromValueBelowBound();
    void StepAddsToHeldValue();
    void ButtonClick_data();
    void ButtonClick();
    void PressMovesFocusFirst();
    void HoldRepeats();
    void PointerOffSuspends();
    void SlowHandlerStepsNeverOverlap();
    void KeysDoNotStep_data();
    void KeysDoNotStep();
};
