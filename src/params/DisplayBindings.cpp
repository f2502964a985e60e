#include "DisplayBindings.h"

#include "Catalogue.h"
#include "LivePoller.h"
#include "Selectors.h"
#include "TExtText.h"
#include "WindowControls.h"

#include <QWidget>

namespace {

struct DisplayRow {
    const char* control;
    const char* caption; // UTF-8
    int interval;
    void (*query)(QObject*, int, int, long double&) = nullptr;
};

// clang-format off
const DisplayRow Table[] = {
    {"ExtText2",  "",                   500},
    {"ExtText4",  "Исх.",               400, &ExtText4Query},
    {"ExtText3",  "Тек.",               400},
    {"ExtText1",  "Напряжение датчика", 500},
    {"ExtText5",  "Напряжение датчика", 500},
    {"ExtText8",  "",                   500},
    {"ExtText9",  "",                   1000},
    {"ExtText6",  "",                   600},
    {"ExtText10", "",                   600},
    {"ExtText7",  "",                   600},
};
// clang-format on

// A failed exchange leaves the shown value as it was.
void Query(const Catalogue::Entry& entry, long double& value) {
    if (const auto word = Controls().Poller->Read(*entry.address))
        value = DecodeWord(entry.decode, *word);
}

} // namespace

void InstallDisplayBindings(const WindowControls& controls) {
    for (const DisplayRow& row : Table) {
        auto* display = controls.window->findChild<TExtText*>(QString::fromUtf8(row.control));
        const Catalogue::Entry* entry = Catalogue::ForControl(row.control);
        if (!display || !entry)
            continue;
        display->SetValueCaption(QString::fromUtf8(row.caption));
        display->SetValueFormat(entry->Mask());
        display->SetAutoQuery(true);
        display->SetQueryInterval(row.interval);
        if (row.query)
            display->onQuery = row.query;
        else
            display->onQuery = [entry](QObject*, int, int, long double& v) { Query(*entry, v); };
    }
}
