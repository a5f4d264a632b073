#include "document.h"

void append_escaped(std::string& out, const std::string& text) {
    // Most texts need nothing: they go in whole.
    const auto plain = [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != '&' && c != '<' && c != '>'; };
    bool allPlain = true;
    for (char c : text) allPlain = allPlain && (plain(c) || c == '\t');
    if (allPlain) {
        out += text;
        return;
    }
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\t': out += c; break;
        default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
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
                 const std::string& unit) {
    ChannelSettings settings;
    if (!unit.empty()) settings.unit = "Custom";
    settings.customUnit = unit;
    add_channel(document, channel, value, settings);
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

void clear_document(ResultDocument& document) {
    document.text.clear();
}

std::string group_thousands(const std::string& digits) {
    const std::size_t length = digits.size();
    if (length <= 3) return digits;
    if (length <= 6) return digits.substr(0, length - 3) + "." + digits.substr(length - 3);
    return digits.substr(0, length - 6) + "." + digits.substr(length - 6, 3) + "." + digits.substr(length - 3);
}
