#include "field_list.h"

std::string encode_fields(const std::vector<std::string>& fields) {
    std::string text;
    for (const std::string& field : fields) text += std::to_string(field.size()) + ":" + field;
    return text;
}

std::optional<std::vector<std::string>> decode_fields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t size = 0;
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 9)
            size = size * 10 + static_cast<std::size_t>(text[at++] - '0');
        if (at == start || at >= text.size() || text[at] != ':' || text.size() - at - 1 < size) return std::nullopt;
        fields.push_back(text.substr(at + 1, size));
        at += 1 + size;
    }
    return fields;
}
