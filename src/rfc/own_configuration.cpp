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
    return !environmentCopiedAtLoad || name_now();
}

namespace {

// The private folder, made at first use; false when it cannot be.
bool own_folder_made(OwnConfiguration& own) {
    if (own.made) return true;
    remove_abandoned_private_folders();
    if (!make_private_folder(own.folder)) return false;
    own.made = true;
    return true;
}

}  // namespace

bool write_own_configuration(const std::string& bytes) {
    OwnConfiguration& own = own_configuration();
    if (own.folder.empty() && !environmentCopiedAtLoad) name_now();
    if (own.folder.empty()) return true;
    return own_folder_made(own) && write_private_file(own.folder, fileName, bytes);
}

std::optional<std::string> write_own_netweaver_configuration(const std::string& bytes) {
    OwnConfiguration& own = own_configuration();
    if (own.folder.empty() && !environmentCopiedAtLoad) name_now();
    if (own.folder.empty() || !own_folder_made(own) || !write_private_file(own.folder, "sapnwrfc.ini", bytes))
        return std::nullopt;
    return own.folder;
}
