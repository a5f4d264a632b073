#include "own_configuration.h"

#include "environment.h"
#include "private_folder.h"

namespace {

constexpr const char* fileName = "SapRfc.ini";

// The run's own configuration; its folder goes when the process ends,
// through main or the failure report's exit (a process ended at once by
// its deadline or killed leaves it to the next run's clean-up).
struct OwnConfiguration {
    std::string folder;
    bool made = false;
    ~OwnConfiguration() {
        if (made) remove_private_folder(folder);
    }
};

OwnConfiguration& own_configuration() {
    static OwnConfiguration configuration;
    return configuration;
}

}  // namespace

bool name_own_configuration() {
    OwnConfiguration& own = own_configuration();
    const std::optional<std::string> folder = private_folder_path();
    if (!folder || !set_environment_variable(configurationVariable, *folder + fileName)) return false;
    own.folder = *folder;
    return true;
}

std::optional<std::string> own_configuration_path() {
    const OwnConfiguration& own = own_configuration();
    if (own.folder.empty()) return std::nullopt;
    return own.folder + fileName;
}

bool write_own_configuration(const std::string& bytes) {
    OwnConfiguration& own = own_configuration();
    if (own.folder.empty()) return true;
    if (!own.made) {
        remove_abandoned_private_folders();
        if (!make_private_folder(own.folder)) return false;
        own.made = true;
    }
    return write_private_file(own.folder, fileName, bytes);
}
