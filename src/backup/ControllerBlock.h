#pragma once
// The connected controller's parameter block, words 33..99, read whole for a comparison or a
// restore point's view: each word is read as the identity is (WordRead), so a reply that comes
// late on a loaded machine costs one read more, not the comparison.

#include "SettingsRecords.h"

class ControllerLink;

namespace ControllerBlock {

// Every word with the checksum byte of its reply. Throws ENoReply at a word that had no valid
// reply to its second read either; nothing after it is asked.
SettingsRecords::Entries Read(ControllerLink& link);

} // namespace ControllerBlock
