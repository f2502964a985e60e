#pragma once
// Initial controller words from a text file, one assignment a line:
//   P47=503      parameter word 47
//   L162=850     live word 162
//   # comment    (also after an assignment); blank lines are skipped
// Values are decimal or 0x-prefixed hexadecimal, 0..65535; addresses 0..255.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace q5emu {

enum class Space { Param, Live };

struct WordAssignment {
    Space space;
    uint8_t address;
    uint16_t value;
};

// Throws std::runtime_error naming the line of the first malformed assignment.
std::vector<WordAssignment> ParseWords(std::string_view text);
// Throws std::runtime_error when the file cannot be read or is malformed.
std::vector<WordAssignment> LoadWordsFile(const std::string& path);

} // namespace q5emu
