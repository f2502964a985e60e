#pragma once
// Every journal record of one link as it is made, for whoever follows the writes live (a data
// recording marks them as events). Records come on the link's thread, right after the write
// they describe.

#include "ChangeJournal.h"

#include <QObject>

class JournalFeed : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void recorded(const JournalRecord& record);
};
