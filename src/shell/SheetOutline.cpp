#include "SheetOutline.h"

#include "Form1Layout.h"

#include <QHash>

namespace {

const QString PagePath = QStringLiteral(" › ");
const QString MonitorPanel = QStringLiteral("Panel3");

// A box that starts below the lower edge of the box holding it is never seen.
bool NeverSeen(const ControlRow& box, const QHash<QString, const ControlRow*>& rows) {
    const ControlRow* parent = rows.value(QString::fromLatin1(box.parent));
    return parent && parent->kind == Kind::GroupBox && box.place.top() >= parent->place.height();
}

} // namespace

const Sheets::Outline& WindowOutline() {
    static const Sheets::Outline outline = [] {
        QHash<QString, const ControlRow*> rows;
        for (const ControlRow& row : MainWindowLayout())
            rows.insert(QString::fromLatin1(row.name), &row);
        Sheets::Outline placed;
        for (const ControlRow& row : MainWindowLayout()) {
            const Catalogue::Entry* entry = Catalogue::ForControl(row.name);
            if (!entry || entry->space != Catalogue::Space::Param || !entry->address)
                continue;
            const ControlRow* group = nullptr;
            QStringList pages;
            bool seen = true;
            bool onHiddenPage = false;
            for (const ControlRow* up = rows.value(QString::fromLatin1(row.parent)); up;
                 up = rows.value(QString::fromLatin1(up->parent))) {
                if (up->kind == Kind::GroupBox) {
                    seen = seen && !NeverSeen(*up, rows);
                    if (!group)
                        group = up;
                } else if (up->kind == Kind::TabSheet) {
                    pages.prepend(QString::fromUtf8(up->caption));
                } else if (up->kind == Kind::PageControl && up->start == Start::Hidden) {
                    onHiddenPage = true;
                } else if (QString::fromLatin1(up->name) == MonitorPanel) {
                    pages.prepend(QStringLiteral("Панель монитора"));
                }
            }
            if (seen && group)
                placed.push_back({pages.join(PagePath), QString::fromLatin1(group->name),
                                  QString::fromUtf8(group->caption), entry, onHiddenPage});
        }
        return placed;
    }();
    return outline;
}
