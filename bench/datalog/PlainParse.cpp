#include "PlainParse.h"

#include <charconv>
#include <cstdio>
#include <vector>

double PlainParse(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::vector<char> bytes(size_t(size > 0 ? size : 0));
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);

    double sum = 0;
    const char* p = bytes.data();
    const char* end = p + read;
    while (p < end) {
        const char* field = p;
        while (p < end && *p != ',' && *p != '\n')
            ++p;
        double value = 0;
        const auto [ptr, error] = std::from_chars(field, p, value);
        if (error == std::errc() && ptr == p)
            sum += value;
        ++p;
    }
    return sum;
}
