#include "document.h"

std::string xml_escaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

void begin_document(ResultDocument& document) {
    document.text = "\n<Prtg>\n";
}

void begin_text(ResultDocument& document) {
    document.text += "\n<Text>";
}

void append_text(ResultDocument& document, const std::string& text) {
    document.text += xml_escaped(text);
}

void end_text(ResultDocument& document) {
    document.text += "</Text>\n";
}

void add_channel(ResultDocument& document, const std::string& channel, const std::string& value,
                 const std::string& unit) {
    document.text += "\n<Result><Channel>" + xml_escaped(channel) + "</Channel>";
    if (!unit.empty()) {
        document.text += "\n<Unit>Custom</Unit>";
        document.text += "\n<CustomUnit>" + xml_escaped(unit) + "</CustomUnit>";
    }
    document.text += "\n<Value>" + xml_escaped(value) + "</Value></Result>\n";
}

void end_document(ResultDocument& document) {
    document.text += "\n</Prtg>\n";
}

void set_error_document(ResultDocument& document, const std::string& message) {
    document.text = "<Prtg>\n<Error>1</Error>\n<Text>" + xml_escaped(message) + "</Text>\n</Prtg>\n";
}

void clear_document(ResultDocument& document) {
    document.text.clear();
}

std::string group_thousands(const std::string& digits) {
    const std::size_t length = digits.size();
    if (length <= 3) return digits;
    if (length <= 6) return digits.substr(0, length - 3) + "." + digits.substr(length - 3);
    return digits.substr(0, length - 6) + "." + digits.substr(length - 6, 3) + "." +
           digits.substr(length - 3);
}
