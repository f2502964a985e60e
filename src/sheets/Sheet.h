#pragma once
// A sheet for paper: a title, the header's fields, then sections of table rows. The settings
// of a controller and the result of a comparison are both made into one; the page code lays
// any sheet on A4.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace Sheets {

// How a row stands in its table.
enum class RowKind {
    Cells,       // one cell a column
    Heading,     // a caption across the whole row: a group's, or a note
    PageHeading, // a page's name across the whole row, over its groups' headings
};

struct Row {
    QStringList cells;
    RowKind kind = RowKind::Cells;
};

struct Section {
    QString title;
    QStringList columns;
    std::vector<Row> rows;
    std::vector<int> widths = {}; // of the columns, in percent of the page's width
    bool newPage = false;         // starts on a page of its own
};

struct Sheet {
    QString title;
    std::vector<std::pair<QString, QString>> header; // name and value, in print order
    std::vector<Section> sections;
    QString footer; // beside the page number on every page
};

// Who and what a sheet is about; empty fields are left off the header.
struct Identity {
    QString tool;     // name and version
    QString serial;   // as the controller holds it
    QString made;     // date of manufacture
    QString fileName; // the settings file's name, when the sheet is of a file
    QString workshop;
    QString technician;
    // The car the controller is fitted to, as its card names it ("Госномер", "VIN", …).
    std::vector<std::pair<QString, QString>> vehicle;
};

// The header's fields of an identity, with the time the sheet was made.
std::vector<std::pair<QString, QString>> HeaderOf(const Identity& identity, const QString& madeAt);

// Every line of the sheet as plain text, one row a line with its cells separated by tabs.
QString PlainText(const Sheet& sheet);

} // namespace Sheets
