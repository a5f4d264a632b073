// A list of texts as one text and back: each text as its length in decimal,
// a colon and its bytes, so that any byte, a line feed or a NUL included,
// goes through unchanged.
#pragma once

#include <optional>
#include <string>
#include <vector>

std::string encode_fields(const std::vector<std::string>& fields);

// Nothing when the text is not such a list.
std::optional<std::vector<std::string>> decode_fields(const std::string& text);
