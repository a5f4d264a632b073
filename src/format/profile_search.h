// Where the sensor finds its profile: the profile name completed to a file
// name, and the sensor directory found through the path file or the fixed
// installation directories of PRTG.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* pathFileName = "C:\\PRTG_Path.Txt";
inline constexpr const char* globalListingName = "SAP Pendrake.Gbl";
inline constexpr const char* profileListName = "Pendrake.Prf";
// A line of the path file is read up to this many characters.
inline constexpr std::size_t pathFileLineWidth = 99;

struct CompletedName {
    std::string fileName;  // without any directory part
    bool global = false;   // the name GLOBAL: the global server listing
};

// ".P00" added to a name without an extension, GLOBAL recognised, the
// directory part dropped.
CompletedName complete_profile_name(const std::string& profileName);

// The directory named by the last directory line of the path file, as it
// stands there; empty when there is none.
std::string path_file_directory(const std::string& pathFileContents);

struct ProfileSearch {
    bool found = false;
    std::string sensorDirectory;     // ends in a backslash, or empty for the working directory
    std::string path;                // the path that opened, when found
    std::vector<std::string> tried;  // every path that was test-opened, in order
};

// Looks for the profile: below the path file's directory when there is a
// path file, otherwise in the working directory and then the fixed sensor
// directories. `opens` tells whether a path opens for reading. The name is
// looked for in those directories only: without its leading separator, if
// it has one, and nowhere when it holds a ':'.
ProfileSearch search_profile(const std::string& profileName, const std::optional<std::string>& pathFileContents,
                             const std::function<bool(const std::string&)>& opens);
