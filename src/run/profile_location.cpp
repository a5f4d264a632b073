#include "run/profile_location.h"

#include "platform/files.h"
#include "platform/text_pieces.h"
#include "run/command_line.h"
#include "run/run_control.h"

namespace {

const char* const firstSubPath = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const char* const secondSubPath = "Custom Sensors\\ExeXml\\";
const char* const fixedSensorDirectories[] = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

void recognise_global(RunSettings& settings) {
    if (upper_cased(settings.profileName) == "GLOBAL.P00") {
        settings.listingMode = true;
        settings.profileName = globalListingName;
    }
}

bool is_directory_line(const std::string& line) {
    return (line.size() >= 1 && line[0] == '\\') || (line.size() >= 3 && line[2] == '\\') ||
           (line.size() >= 2 && line[1] == ':');
}

}  // namespace

void complete_profile_name(RunSettings& settings) {
    std::string& name = settings.profileName;
    if (name.size() < 4 || name[name.size() - 4] != '.') name += ".P00";
    recognise_global(settings);
    std::size_t lastBackslash = name.rfind('\\');
    if (lastBackslash != std::string::npos && lastBackslash > 0) name.erase(0, lastBackslash + 1);
    recognise_global(settings);
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

std::string profile_missing_message(const std::string& profileName) {
    return "Error 1002: Profile " + profileName + " is missing...";
}

void locate_profile(RunSettings& settings) {
    ProfileSearch search = search_profile(settings.profileName, read_text_file(pathFileName), file_opens);
    if (search.found) {
        settings.sensorDirectory = search.sensorDirectory;
        settings.profilePath = search.sensorDirectory + settings.profileName;
        settings.profileFile = read_text_file(settings.profilePath);
    }
    if (!settings.profileFile) fail_run(profile_missing_message(settings.profileName));
}
