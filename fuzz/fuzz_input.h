// Helpers shared by the fuzz targets: the input as text, split into lines or
// arguments, and a check that stops the run when a property does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

inline std::string input_text(const uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The text up to the first line feed, and the rest after it.
inline std::string take_first_line(std::string& text) {
    const std::size_t end = text.find('\n');
    std::string line = text.substr(0, end);
    text.erase(0, end == std::string::npos ? text.size() : end + 1);
    return line;
}

// The arguments: each one ends with a NUL byte, the last one may also end
// with the input; at most maxCount of them. An empty input is no argument,
// a lone NUL one empty argument.
inline std::vector<std::string> split_at_nul(const std::string& text, std::size_t maxCount) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (pieces.size() < maxCount && start < text.size()) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos) end = text.size();
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

// libFuzzer reports the abort as a crash and keeps the input.
inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "fuzz property violated: %s\n", property);
    std::abort();
}

// Escaped text carries no markup: no '<' or '>', no byte from 0x80 up, and
// every '&' starts one of the three entities the document writes or a
// numeric character reference.
inline bool is_escaped_text(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' || text[i] == '>') return false;
        // Bytes from 0x80 up go in as character references, so the text
        // is the same for every XML reader.
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
        if (text[i] != '&') continue;
        if (text.compare(i, 2, "&#") == 0) {
            std::size_t end = i + 2;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
            if (end == i + 2 || end >= text.size() || text[end] != ';') return false;
            continue;
        }
        if (text.compare(i, 5, "&amp;") != 0 && text.compare(i, 4, "&lt;") != 0 && text.compare(i, 4, "&gt;") != 0)
            return false;
    }
    return true;
}
