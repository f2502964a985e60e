#pragma once
// The settings sheet: every parameter of the window, page by page and group by group in the
// window's order, each with its caption and its value with its unit (PaperValue); the settings
// of the service pages that the window never shows follow in a section of their own, page by
// page. The header names the controller or the file.

#include "Catalogue.h"
#include "SettingsRecords.h"
#include "Sheet.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace Sheets {

// A parameter's place on the window: the path of its page, and its group box.
struct Placed {
    QString page;      // "Двигатель › Параметры"
    QString groupName; // the group box's object name
    QString group;     // its caption as the window has it at start
    const Catalogue::Entry* entry = nullptr;
    bool onHiddenPage = false; // on a service page that the window never shows
};

// The title of the hidden service pages' section.
QString HiddenPagesTitle();

// Every parameter control of the window that a person can see, in the window's order.
using Outline = std::vector<Placed>;

Sheet SettingsSheet(const Outline& outline, const SettingsRecords::Words& words,
                    const Identity& identity, const QString& madeAt);

// A group caption for paper: a run of blanks that sets a second heading over a second
// control becomes " / ", a double blank a single one.
QString Tidy(const QString& caption);

// A word read that got no reply: the sheet is not made.
class EWordUnread : public std::runtime_error {
public:
    explicit EWordUnread(uint8_t address);
    uint8_t address() const { return address_; }

private:
    uint8_t address_;
};

// Reads the block word by word through `read`, which gives nullopt for a read without a valid
// reply; throws EWordUnread at the first such word, naming it.
SettingsRecords::Words ReadWords(const std::function<std::optional<uint16_t>(uint8_t)>& read);

} // namespace Sheets
