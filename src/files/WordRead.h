#pragma once
// Reading words that must all come good (an identity, a block to compare against): a read
// without a valid reply is asked once more. The exchange waits out a reply that may still be
// on its way before it sends again (ControllerLink::SendCommand), so a late reply costs one
// read; a second failure means the controller does not answer now.

#include <cstdint>
#include <functional>

namespace WordRead {

// One exchange: true when the reply was valid; `reply` gets the reply word either way.
using Exchange =
    std::function<bool(uint8_t command, uint8_t address, uint16_t value, uint16_t& reply)>;

// Reads the parameter word at `address`; false when neither read had a valid reply.
bool Read(const Exchange& exchange, uint8_t address, uint16_t& reply);

} // namespace WordRead
