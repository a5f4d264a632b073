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
    std::size_t lastBackslash = name.rfind('\\');
    if (lastBackslash != std::string::npos && lastBackslash > 0) name.erase(0, lastBackslash + 1);
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
    auto tries = [&](const std::string& path) {
        search.tried.push_back(path);
        return opens(path);
    };
    std::string directory;
    if (pathFileContents) {
        directory = path_file_directory(*pathFileContents);
        if (directory.empty() || directory.back() != '\\') directory += '\\';
        if (tries(directory + firstSubPath + profileName)) directory += firstSubPath;
        if (tries(directory + secondSubPath + profileName)) directory += secondSubPath;
        if (!tries(directory + profileName)) return search;
    }
    if (tries(directory + profileName)) {
        search.found = true;
        search.sensorDirectory = directory;
        return search;
    }
    for (const char* fixed : fixedSensorDirectories) {
        if (tries(fixed + profileName)) {
            search.found = true;
            search.sensorDirectory = fixed;
            return search;
        }
    }
    return search;
}
