#pragma once

#include <QObject>

class TestExtEdit : public QObject {
    Q_OBJECT
private slots:
    void Constructor();
    void ApplyText_data();
    void ApplyText();
    void RemarkStandsAtTheFieldForAMoment();
    void EnterCommitsAndIsConsumed_data();
    void EnterCommitsAndIsConsumed();
    void FocusMoveCommits();
    void FocusOutReasons_data();
    void FocusOutReasons();
    void PageKeyCommitsInSight_data();
    void PageKeyCommitsInSight();
    void Assign_data();
    void Assign();
    void ReportOnlyWhenShowingAndOwnEnabled();
    void ReportNotOnHiddenTabPage();
    void BoundsAssignmentClamps();
    void MaskAssignmentReportsNothing();
    void InitTakesHandlerResult();
    void InitWithoutHandlerOnlyEnables();
    void LeavingCommitsOnlyAnEdit_data();
    void LeavingCommitsOnlyAnEdit();
    void Pass_data();
    void Pass();
    void InitAllPassAllVisitExactClassInOrder();
    void InitAllToleratesGrowingList();
    void FontRule_data();
    void FontRule();
    void FontAssignedAfterPlacementStays();
};
