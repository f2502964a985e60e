#include "WordsFile.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace q5emu {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::optional<uint32_t> ParseUnsigned(std::string_view text, uint32_t max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

std::optional<WordAssignment> ParseAssignment(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq < 2)
        return std::nullopt;
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
    if (kind != 'P' && kind != 'L')
        return std::nullopt;
    const auto address = ParseUnsigned(Trimmed(line.substr(1, eq - 1)), 255);
    const auto value = ParseUnsigned(Trimmed(line.substr(eq + 1)), 65535);
    if (!address || !value)
        return std::nullopt;
    return WordAssignment{kind == 'P' ? Space::Param : Space::Live, static_cast<uint8_t>(*address),
                          static_cast<uint16_t>(*value)};
}

} // namespace

std::vector<WordAssignment> ParseWords(std::string_view text) {
    std::vector<WordAssignment> words;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? "" : text.substr(end + 1);
        line = Trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const auto word = ParseAssignment(line);
        if (!word)
            throw std::runtime_error("line " + std::to_string(lineNumber) +
                                     ": expected P<addr>=<value> or L<addr>=<value>, got \"" +
                                     std::string(line) + "\"");
        words.push_back(*word);
    }
    return words;
}

std::vector<WordAssignment> LoadWordsFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read words file " + path);
    std::ostringstream content;
    content << file.rdbuf();
    try {
        return ParseWords(content.str());
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

} // namespace q5emu
