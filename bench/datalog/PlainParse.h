#pragma once
// The least a program can do to read a data log: the whole file into memory, every line split
// at its commas, every field that is a number taken with std::from_chars. The baseline for
// opening a log.

#include <string>

// Returns a checksum of the numbers read, so that nothing is optimised away.
double PlainParse(const std::string& path);
