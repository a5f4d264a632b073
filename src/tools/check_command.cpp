#include "run/command_line.h"
#include "run/profile_location.h"
#include "system/password.h"
#include "system/profile.h"
#include "tools/profile_tool.h"

namespace {

std::string path_file_line(const std::optional<std::string>& pathFile) {
    std::string line = std::string("Path file ") + pathFileName + ": ";
    if (!pathFile) return line + "none\n";
    const std::string directory = path_file_directory(*pathFile);
    if (directory.empty()) return line + "no directory line, so the root of the current drive\n";
    return line + "directory " + directory + "\n";
}

// A field as the sensor holds it, quoted so that blanks show; the password
// only as asterisks and its length.
std::string field_line(const ProfileField& field, const std::string& value) {
    std::string line = std::string(field.key) + " ";
    if (field.value != &ConnectionProfile::password)
        line += "\"" + value + "\"";
    else if (value.empty())
        line += "(empty)";
    else
        line += std::string(value.size(), '*') + " (" + std::to_string(value.size()) + " characters)";
    if (const std::string problem = profile_field_problem(field, value); !problem.empty())
        line += "  <- " + problem;
    return line + "\n";
}

}  // namespace

ToolOutcome run_check(const std::vector<std::string>& arguments, const ToolContext& context) {
    if (asks_for_help(arguments)) return {check_help(), "", 0};
    if (arguments.empty()) return usage_failure("check", "the profile NAME is missing");
    RunSettings settings;
    parse_command_line(arguments, settings);
    complete_profile_name(settings);
    if (settings.listingMode)
        return usage_failure("check", "GLOBAL and ITEM= select a listing; listings are not checked yet");

    ToolOutcome outcome;
    outcome.output = "Profile name: " + settings.profileName + "\n";
    const std::optional<std::string> pathFile = context.readTextFile(pathFileName);
    outcome.output += path_file_line(pathFile);
    const ProfileSearch search = search_profile(settings.profileName, pathFile, context.fileOpens);
    for (const std::string& path : search.tried) outcome.output += "Tried: " + path + "\n";
    const std::string profilePath = search.sensorDirectory + settings.profileName;
    const std::optional<std::string> contents =
        search.found ? context.readTextFile(profilePath) : std::optional<std::string>();
    if (!contents) {
        outcome.output += profile_missing_message(settings.profileName) + "\n";
        outcome.exitCode = toolFailure;
        return outcome;
    }
    outcome.output += "Found: " + profilePath + "\n";

    ConnectionProfile profile;
    const ProfileReading reading =
        read_profile(*contents, singleRunLineWidth, PasswordFailureMode::EndRun, settings.profileName, profile);
    for (const ProfileField& field : profileFields) outcome.output += field_line(field, profile.*(field.value));
    std::string message = reading.endingMessage;
    if (message.empty()) message = validate_profile(profile, settings.profileName);
    outcome.output += (message.empty() ? "OK" : message) + "\n";
    outcome.exitCode = message.empty() ? 0 : toolFailure;
    return outcome;
}
