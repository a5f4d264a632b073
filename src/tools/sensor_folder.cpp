#include "sensor_folder.h"

#include <vector>

#include "text_helpers.h"

namespace {

// The path's folder names, upper-cased, with "." and ".." resolved as
// Windows resolves them and empty names (doubled separators) dropped.
std::vector<std::string> folder_names(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find_first_of("\\/", start);
        const std::string name = upper_cased(path.substr(start, end == std::string::npos ? end : end - start));
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return names;
}

}  // namespace

bool is_prtg_program_folder(const std::string& directory) {
    const std::vector<std::string> names = folder_names(directory);
    if (names.size() < 2) return false;
    const std::string& folder = names.back();
    return (folder == "EXE" || folder == "EXEXML") && names[names.size() - 2] == "CUSTOM SENSORS";
}
