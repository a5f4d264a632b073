#include "profile_search.h"

#include "text_helpers.h"
#include "text_pieces.h"

namespace {

const char* const firstSubPath = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const char* const secondSubPath = "Custom Sensors\\ExeXml\\";
const char* const fixedSensorDirectories[] = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

void recognise_global(CompletedName& completed) {
    if (upper_cased(completed.fileName) == "GLOBAL.P00") {
        completed.global = true;
        completed.fileName = globalListingName;
    }
}

// A completed name keeps a separator only as its first character; in front
// of the working directory's empty path it would name the root of the
// drive, and every other directory searched ends in one already.
std::string name_in_directory(const std::string& fileName) {
    return !fileName.empty() && (fileName[0] == '\\' || fileName[0] == '/') ? fileName.substr(1) : fileName;
}

bool is_directory_line(const std::string& line) {
    return (line.size() >= 1 && line[0] == '\\') || (line.size() >= 3 && line[2] == '\\') ||
           (line.size() >= 2 && line[1] == ':');
}

}  // namespace

CompletedName complete_profile_name(const std::string& profileName) {
    CompletedName completed{profileName};
    std::string& name = completed.fileName;
    if (name.size() < 4 || name[name.size() - 4] != '.') name += ".P00";
    recognise_global(completed);
    // Windows takes '/' for a directory separator as well as '\\'.
    const std::size_t lastSeparator = name.find_last_of("\\/");
    if (lastSeparator != std::string::npos && lastSeparator > 0) name.erase(0, lastSeparator + 1);
    recognise_global(completed);
    return completed;
}

std::string path_file_directory(const std::string& pathFileContents) {
    std::string directory;
    TextPieces pieces{pathFileContents};
    std::string piece;
    while (next_piece(pieces, pathFileLineWidth, piece)) {
        std::string line = without_line_end(piece);
        if (is_directory_line(line)) directory = line;
    }
    return directory;
}

ProfileSearch search_profile(const std::string& profileName, const std::optional<std::string>& pathFileContents,
                             const std::function<bool(const std::string&)>& opens) {
    ProfileSearch search;
    // A ':' names another drive, or a stream of a file, instead of a file of
    // the directory: such a name is looked for nowhere.
    if (profileName.find(':') != std::string::npos) return search;
    const std::string name = name_in_directory(profileName);
    auto tries = [&](const std::string& path) {
        search.tried.push_back(path);
        return opens(path);
    };
    std::string directory;
    if (pathFileContents) {
        directory = path_file_directory(*pathFileContents);
        if (directory.empty() || directory.back() != '\\') directory += '\\';
        if (tries(directory + firstSubPath + name)) directory += firstSubPath;
        if (tries(directory + secondSubPath + name)) directory += secondSubPath;
        if (!tries(directory + name)) return search;
    }
    if (tries(directory + name)) {
        search.found = true;
        search.sensorDirectory = directory;
        search.path = directory + name;
        return search;
    }
    for (const char* fixed : fixedSensorDirectories) {
        if (tries(fixed + name)) {
            search.found = true;
            search.sensorDirectory = fixed;
            search.path = fixed + name;
            return search;
        }
    }
    return search;
}
