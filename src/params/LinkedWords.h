#pragma once
// Parameter words that the window always writes together: a change of the control writes
// every word of its group, in a fixed order. A write of chosen words (a compare write) writes
// whole groups too, so that the controller never holds one word of a group without the others.

#include <cstdint>
#include <vector>

namespace LinkedWords {

struct Group {
    uint8_t shown;               // the word the control shows, which names the group
    std::vector<uint8_t> writes; // every word of the group, in the order the window writes them
};

// Every group: the cylinder count (P71) goes after its constant (P96).
const std::vector<Group>& Groups();

// The group that holds the word, or nullptr for a word written alone.
const Group* Of(uint8_t address);

} // namespace LinkedWords
