#include "windows1252.h"

namespace {

// The characters of the bytes 0x80 to 0x9F; the others are their own value.
constexpr char16_t upperControls[32] = {u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020',
                                        u'\u2021', u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D',
                                        u'\u017D', u'\u008F', u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D',
                                        u'\u2022', u'\u2013', u'\u2014', u'\u02DC', u'\u2122', u'\u0161', u'\u203A',
                                        u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

char character_byte(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<char>(character);
    for (unsigned i = 0; i < 32; ++i)
        if (upperControls[i] == character) return static_cast<char>(0x80 + i);
    return '?';
}

bool is_high_surrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string utf16_from_windows1252(const std::string& text) {
    std::u16string converted;
    converted.reserve(text.size());
    for (const char byte : text) {
        const auto value = static_cast<unsigned char>(byte);
        converted.push_back(value >= 0x80 && value <= 0x9F ? upperControls[value - 0x80] : char16_t(value));
    }
    return converted;
}

std::string windows1252_from_utf16(const std::u16string& text) {
    std::string converted;
    converted.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
            converted.push_back('?');
            ++i;
            continue;
        }
        converted.push_back(character_byte(text[i]));
    }
    return converted;
}
