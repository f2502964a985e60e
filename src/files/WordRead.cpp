#include "WordRead.h"

#include "Protocol.h"

namespace WordRead {

bool Read(const Exchange& exchange, uint8_t address, uint16_t& reply) {
    return exchange(CmdReadParam, address, 0, reply) || exchange(CmdReadParam, address, 0, reply);
}

} // namespace WordRead
