#include "document.h"

namespace {

// The characters of Windows-1252 from 0x80 to 0x9F; the five bytes it
// leaves unassigned keep their own code, as Windows reads them.
constexpr unsigned short windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

unsigned windows1252_code_point(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return windows1252High[byte - 0x80];
    return byte;
}

void append_escaped(std::string& out, const std::string& text) {
    // Most texts need nothing: they go in whole.
    const auto plain = [](char c) {
        const unsigned char byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x80 && c != '&' && c != '<' && c != '>';
    };
    bool allPlain = true;
    for (char c : text) allPlain = allPlain && (plain(c) || c == '\t');
    if (allPlain) {
        out += text;
        return;
    }
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\t': out += c; break;
        default:
            if (byte >= 0x80) out += "&#" + std::to_string(windows1252_code_point(byte)) + ";";
            else out += byte < 0x20 ? ' ' : c;
        }
    }
}

std::string xml_escaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    append_escaped(escaped, text);
    return escaped;
}

void begin_document(ResultDocument& document) {
    document.text = "\n<Prtg>\n";
}

void begin_text(ResultDocument& document) {
    document.text += "\n<Text>";
}

void append_text(ResultDocument& document, const std::string& text) {
    append_escaped(document.text, text);
}

void end_text(ResultDocument& document) {
    document.text += "</Text>\n";
}

void add_channel(ResultDocument& document, const std::string& channel, const std::string& value,
                 const ChannelSettings& settings) {
    std::string& text = document.text;
    text += "\n<Result><Channel>";
    append_escaped(text, channel);
    text += "</Channel>";
    if (!settings.unit.empty()) {
        text += "\n<Unit>";
        append_escaped(text, settings.unit);
        text += "</Unit>";
    }
    if (!settings.customUnit.empty()) {
        text += "\n<CustomUnit>";
        append_escaped(text, settings.customUnit);
        text += "</CustomUnit>";
    }
    if (settings.difference) text += "\n<Mode>Difference</Mode>";
    if (!settings.upperErrorLimit.empty()) {
        text += "\n<LimitMaxError>";
        append_escaped(text, settings.upperErrorLimit);
        text += "</LimitMaxError>\n<LimitMode>1</LimitMode>";
    }
    if (settings.warning) text += "\n<Warning>1</Warning>";
    text += "\n<Value>";
    append_escaped(text, value);
    text += "</Value></Result>\n";
}

void end_document(ResultDocument& document) {
    document.text += "\n</Prtg>\n";
}

void set_error_document(ResultDocument& document, const std::string& message) {
    document.text = "<Prtg>\n<Error>1</Error>\n<Text>";
    append_escaped(document.text, message);
    document.text += "</Text>\n</Prtg>\n";
}

std::string error_document_text(const std::string& message) {
    ResultDocument document;
    set_error_document(document, message);
    return document.text;
}

std::string group_thousands(const std::string& digits) {
    const std::size_t length = digits.size();
    if (length <= 3) return digits;
    if (length <= 6) return digits.substr(0, length - 3) + "." + digits.substr(length - 3);
    return digits.substr(0, length - 6) + "." + digits.substr(length - 6, 3) + "." + digits.substr(length - 3);
}
