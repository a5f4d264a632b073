// The files and environment variables of the simulator's tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <sstream>
#include <string>

namespace rfcsim_test {

// putenv is in both C libraries of the two targets; it keeps the text, so
// the texts live as long as the process. An empty value counts as unset.
inline void set_environment(const std::string& name, const std::string& value) {
    static std::list<std::string> texts;
    texts.push_back(name + "=" + value);
    putenv(texts.back().data());
}

inline std::string file_text(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace rfcsim_test
