#pragma once

#include <QObject>

class TestExtText : public QObject {
    Q_OBJECT
private slots:
    void Constructor();
    void ShownText_data();
    void ShownText();
    void ValueIsNotBounded();
    void ReportRules();
    void PassZeroesSilently();
    void QueryTimerAsksOnlyWhenAllowed_data();
    void QueryTimerAsksOnlyWhenAllowed();
    void TimerStoppedDuringQuery();
    void QueryLeavingValueKeepsIt();
    void AutoQueryAndInterval();
    void PollingFollowsTabPage();
    void InitQueriesHiddenDisplayOnce();
};
