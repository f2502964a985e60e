#pragma once
// Every journal record as it is made, for whoever follows the writes live (a data recording
// marks them as events). Records come on the GUI thread, right after the write they describe.

#include "ChangeJournal.h"

#include <QObject>

class JournalFeed : public QObject {
    Q_OBJECT
public:
    static JournalFeed& Instance();

signals:
    void recorded(const JournalRecord& record);
};
