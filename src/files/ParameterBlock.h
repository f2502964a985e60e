#pragma once
// The controller's parameter block, words 33..99, moved as a whole: every read comes back
// before anything is used, and a write stops at the first word without a reply.

#include "SettingsRecords.h"

namespace ParameterBlock {

// Reads every word with the checksum byte of its reply. Throws ENoReply at the first read
// without a valid reply.
SettingsRecords::Entries Read();

// Writes the words in address order. Throws EWriteStopped, with the count of words written,
// at the first write without a valid reply; nothing after it is sent.
void Write(const SettingsRecords::Words& words);

} // namespace ParameterBlock
