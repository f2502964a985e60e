#include "JournalFeed.h"

JournalFeed& JournalFeed::Instance() {
    static JournalFeed feed;
    return feed;
}
