#include "leftovers.h"

#include "files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

// The folder part of a host path (with its separator) and the name after it.
void split_path(const std::string& path, std::string& folder, std::string& name) {
#ifdef _WIN32
    const std::size_t cut = path.find_last_of("\\/");
#else
    const std::size_t cut = path.find_last_of('/');
#endif
    folder = cut == std::string::npos ? "" : path.substr(0, cut + 1);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
}

#ifdef _WIN32

// A plain file, not a folder and not a link, that may go.
bool is_plain_file(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

#else

bool is_plain_file(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
}

#endif

}  // namespace

#ifdef _WIN32

bool process_is_running(unsigned long processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    // Another account's process may refuse to be looked at: it runs.
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::vector<std::string> folder_entries(const std::string& hostFolder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    std::string pattern = hostFolder.empty() ? "." : hostFolder;
    if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    HANDLE search = FindFirstFileA((pattern + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

#else

bool process_is_running(unsigned long processId) {
    const pid_t process = static_cast<pid_t>(processId);
    if (process <= 0 || static_cast<unsigned long>(process) != processId) return false;
    return kill(process, 0) == 0 || errno == EPERM;
}

std::vector<std::string> folder_entries(const std::string& hostFolder) {
    std::vector<std::string> names;
    DIR* folder = opendir(hostFolder.empty() ? "." : hostFolder.c_str());
    if (!folder) return names;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(folder);
    return names;
}

#endif

std::optional<unsigned long> leftover_process_id(const std::string& name, const std::string& prefix,
                                                 const std::string& suffix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    std::size_t end = prefix.size();
    unsigned long id = 0;
    while (end < name.size() && name[end] >= '0' && name[end] <= '9' && end - prefix.size() < 10)
        id = id * 10 + static_cast<unsigned long>(name[end++] - '0');
    if (end == prefix.size() || name.compare(end, suffix.size(), suffix) != 0) return std::nullopt;
    return id;
}

void remove_abandoned_temporaries(const std::string& windowsPath) {
    std::string folder, target;
    split_path(host_path(windowsPath), folder, target);
    const std::string suffix = replacementSuffix;
    for (const std::string& name : folder_entries(folder)) {
        const std::optional<unsigned long> id = leftover_process_id(name, target + ".", suffix);
        if (!id || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
        if (process_is_running(*id) || !is_plain_file(folder + name)) continue;
        remove_host_file(folder + name);
    }
}
