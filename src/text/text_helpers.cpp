#include "text_helpers.h"

#include <cctype>

std::string upper_cased(const std::string& text) {
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool begins_with(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

std::string keyword_value(const std::string& stopText, const std::string& asTyped, std::size_t start,
                          std::size_t maxLength) {
    std::string value;
    for (std::size_t i = start; i < stopText.size() && i < asTyped.size() && value.size() < maxLength; ++i) {
        if (stopText[i] == ' ' || stopText[i] == ',') break;
        value += asTyped[i];
    }
    return value;
}

std::string replaced(std::string text, char from, char to) {
    for (char& c : text)
        if (c == from) c = to;
    return text;
}

int32_t c_integer(const std::string& text, NumberOverflow overflow) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr uint32_t largest = INT32_MAX;
    uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const uint32_t digit = static_cast<uint32_t>(text[i] - '0');
        if (overflow == NumberOverflow::Clamp && magnitude > (largest - digit) / 10) magnitude = largest;
        else magnitude = magnitude * 10 + digit;
    }
    return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}

bool has_utf16_mark(const std::string& text) {
    return text.compare(0, 2, "\xff\xfe") == 0 || text.compare(0, 2, "\xfe\xff") == 0;
}
