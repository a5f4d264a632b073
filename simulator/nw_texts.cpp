#include "nw_texts.h"

#include <algorithm>
#include <cctype>

namespace rfcsim {

namespace {

constexpr char32_t replacement = 0xFFFD;

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void append_utf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

// The code point of the sequence at `at`, and its length; a malformed,
// overlong or surrogate sequence is one replaced byte.
char32_t decode_utf8(std::string_view text, std::size_t at, std::size_t& length) {
    auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t extra = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (extra == 0 || at + extra >= text.size()) return replacement;
    char32_t c = lead & (0x3F >> extra);
    for (std::size_t i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return replacement;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return replacement;
    length = extra + 1;
    return c;
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string utf8_of(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        bool high = c >= 0xD800 && c < 0xDC00;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = replacement;
        }
        append_utf8(out, c);
    }
    return out;
}

std::string utf8_of(const SAP_UC* text) {
    return text ? utf8_of(std::u16string_view(text)) : std::string();
}

std::u16string utf16_of(std::string_view text) {
    std::u16string out;
    for (std::size_t at = 0, length = 0; at < text.size(); at += length)
        append_utf16(out, decode_utf8(text, at, length));
    return out;
}

std::string log_text16(const SAP_UC* text) {
    return text ? "[" + utf8_of(text) + "]" : "none";
}

std::string describe_parameters(const RFC_CONNECTION_PARAMETER* parameters, unsigned count) {
    if (!parameters) return count ? " params=none" : "";
    std::string text;
    for (unsigned i = 0; i < count; ++i) {
        const SAP_UC* name = parameters[i].name;
        text += " " + (name ? utf8_of(name) : std::string("none")) + "=" + log_text16(parameters[i].value);
    }
    return text;
}

ParameterValues parameter_values(const RFC_CONNECTION_PARAMETER* parameters, unsigned count) {
    ParameterValues values;
    for (unsigned i = 0; parameters && i < count; ++i)
        if (parameters[i].name) values[upper(utf8_of(parameters[i].name))] = utf8_of(parameters[i].value);
    return values;
}

std::string system_name(const ParameterValues& values) {
    for (const char* name : {"DEST", "SYSID", "ASHOST"}) {
        auto found = values.find(name);
        if (found != values.end() && !found->second.empty()) return found->second;
    }
    return {};
}

void copy_text16(SAP_UC* field, std::size_t size, std::string_view utf8) {
    std::u16string text = utf16_of(utf8);
    std::size_t length = std::min(text.size(), size - 1);
    std::copy_n(text.begin(), length, field);
    std::fill(field + length, field + size, u'\0');
}

}  // namespace rfcsim
