#pragma once
// The safety net in the window: a restore point at every connection, the change journal, and
// "Отменить"/"Повторить" in the "Сервис" menu.

#include <cstdint>
#include <optional>
#include <vector>

class TForm1;

// Before a block write: reads the words about to be overwritten that this connection does not
// know yet, so that the write can be undone. False at the first read without a reply.
bool ReadBeforeOverwrite(const std::vector<uint8_t>& addresses);

// The parameter word the connected controller holds as far as this connection knows.
std::optional<uint16_t> KnownParameterWord(uint8_t address);

// "Резервная копия при подключении", remembered; on unless switched off.
bool BackupAtConnection();

void InstallSafetyNet(TForm1& form);
