#include "own_configuration.h"

#include <optional>

#include "environment.h"
#include "files.h"
#include "private_folder.h"

namespace {

constexpr const char* fileName = "SapRfc.ini";
constexpr const char* netWeaverFileName = "sapnwrfc.ini";

// The run's own configuration; its folder goes when the process ends,
// through main or the failure report's exit (a process ended at once by
// its deadline or killed leaves it to the next run's clean-up).
struct OwnConfiguration {
    std::string folder;
    bool made = false;
    bool inWorkingDirectory = false;
    ~OwnConfiguration() {
        if (made) remove_private_folder(folder);
    }
};

OwnConfiguration& own_configuration() {
    static OwnConfiguration configuration;
    return configuration;
}

bool name_now() {
    OwnConfiguration& own = own_configuration();
    const std::optional<std::string> folder = private_folder_path();
    if (!folder || !set_environment_variable(configurationVariable, *folder + fileName)) return false;
    own.folder = *folder;
    return true;
}

}  // namespace

bool name_own_configuration() {
    // Where the library reads the environment when it asks, the name is set
    // when a configured destination first needs it: the runs without one
    // pay nothing for it.
    if (own_configuration().inWorkingDirectory) return true;
    return !environmentCopiedAtLoad || name_now();
}

void keep_configuration_in_working_directory() {
    OwnConfiguration& own = own_configuration();
    own.inWorkingDirectory = true;
    own.folder.clear();
    const std::string directory = working_directory_text();
    if (!directory.empty()) set_environment_variable(configurationVariable, directory + fileName);
}

namespace {

// Writes the file `name` in the private folder, making it at first use.
std::optional<std::string> write_own_file(OwnConfiguration& own, const char* name, const std::string& bytes) {
    // The administrator corrects the temporary folder's setting, not the
    // folder the sensor makes in it.
    const std::string where =
        "the temporary folder " + temporary_folder_path().value_or("") + " (" + temporary_folder_setting() + ")";
    if (!own.made) {
        remove_abandoned_private_folders();
        if (const std::optional<std::string> problem = make_private_folder_told(own.folder))
            return where + " takes no private folder of the sensor: " + *problem;
        own.made = true;
    }
    if (!write_private_file(own.folder, name, bytes))
        return where + ": " + name + " cannot be written in " + own.folder;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> write_own_configuration(const std::string& bytes) {
    OwnConfiguration& own = own_configuration();
    if (own.inWorkingDirectory) return std::nullopt;
    if (own.folder.empty() && !environmentCopiedAtLoad) name_now();
    if (own.folder.empty()) return std::nullopt;
    return write_own_file(own, fileName, bytes);
}

std::optional<std::string> write_own_netweaver_configuration(const std::string& bytes, std::string& folder) {
    OwnConfiguration& own = own_configuration();
    folder.clear();
    if (own.inWorkingDirectory) {
        // A worker's working directory is a private folder already.
        const std::string directory = working_directory_text();
        if (directory.empty() || !write_private_file(directory, netWeaverFileName, bytes))
            return std::string(netWeaverFileName) + " cannot be written in the working directory";
        folder = directory;
        return std::nullopt;
    }
    if (own.folder.empty() && !environmentCopiedAtLoad) name_now();
    if (own.folder.empty()) return std::nullopt;
    std::optional<std::string> problem = write_own_file(own, netWeaverFileName, bytes);
    if (!problem) folder = own.folder;
    return problem;
}
