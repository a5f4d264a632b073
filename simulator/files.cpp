#include "files.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace rfcsim {

std::string environment_value(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void append_lines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    for (const auto& line : lines) file << line << '\n';
}

}  // namespace rfcsim
