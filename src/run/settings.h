// The run's settings, filled once at start-up from the command line, the
// profile search and, in listing mode, the listing file.
#pragma once

#include <optional>
#include <string>

// How the multi-system run names each system's channel.
enum class LabelKind { Profile, Alias, Host, Sid };

struct RunSettings {
    std::string profileName;
    std::string optionString;   // upper-cased
    std::string optionText;     // as typed
    std::string secondArgument; // as typed, named by Error 1030
    std::string itemId;
    bool listingMode = false;
    bool consoleReport = false;
    std::string bannerLine;
    std::string sensorDirectory;  // ends in a backslash, or empty for the working directory
    std::string profilePath;
    std::optional<std::string> profileFile;  // contents of the opened profile
    std::string serverListing;
    LabelKind labelKind = LabelKind::Profile;
};

inline constexpr const char* programName = "Wickerby";
inline constexpr const char* programVersion = "Vers 4.3 / 29.08.22";
