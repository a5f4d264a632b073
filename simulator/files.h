// The simulator's few contacts with the process: environment variables and
// whole-file reads and appends. Kept apart so that the rest stays pure.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rfcsim {

// The variable's value; an unset or empty variable gives an empty text.
std::string environment_value(const char* name);

// The whole file as raw bytes, or nothing when it cannot be opened.
std::optional<std::string> read_file(const std::string& path);

// Appends each line with a line feed; the file is opened and closed here, so
// that what was written survives a process that ends right afterwards.
void append_lines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace rfcsim
