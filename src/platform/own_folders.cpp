// Folders of the account's own in a folder that others may share: made,
// listed and removed only when they are real folders of this account that
// no one else may write in, and removed through handles that follow no
// link, so that a folder swapped for a link or junction, or a link in one,
// leads nowhere else.
#include "own_folders.h"

#include <cstring>

#include "leftovers.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* notOwnFolder = "something is there, but no folder that only this account may write in";

#ifdef _WIN32

constexpr char separator = '\\';

// The system's own words for an error code, without the line end.
std::string system_words(DWORD code) {
    char text[256] = "";
    const DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
    std::string words(text, size);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.')) words.pop_back();
    return words.empty() ? "system error " + std::to_string(code) : words;
}

// A folder, not a link or junction to one.
bool is_real_folder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

DWORD handle_attributes(HANDLE entry) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(entry, &information) ? information.dwFileAttributes : 0;
}

// The entry itself, a link or junction never followed.
HANDLE open_entry(const std::string& path, DWORD access, DWORD sharing) {
    return CreateFileA(path.c_str(), access | FILE_READ_ATTRIBUTES, sharing, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// A real folder, not a link or junction, as its handle tells.
bool is_real_folder(HANDLE entry) {
    const DWORD attributes = handle_attributes(entry);
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void delete_by_handle(HANDLE entry) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

std::optional<std::string> make_own_folder(const std::string& home) {
    if (!CreateDirectoryA(home.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return system_words(GetLastError());
    if (!is_real_folder(home)) return notOwnFolder;
    return std::nullopt;
}

std::optional<std::string> make_folder_in(const std::string& parent, const std::string& name) {
    const std::string path = parent + separator + name;
    if (!CreateDirectoryA(path.c_str(), nullptr)) return system_words(GetLastError());
    return std::nullopt;
}

// The folder is held open without leave to rename or delete it, so no
// link or junction can take its place while its files go; each file is
// opened without following a link and deleted through its handle. The
// folder itself goes through a handle opened anew, again only when it is
// no link or junction.
void remove_own_folder(const std::string& parent, const std::string& name) {
    const std::string path = parent + separator + name;
    const DWORD shared = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE folder = open_entry(path, FILE_LIST_DIRECTORY, shared);
    if (folder == INVALID_HANDLE_VALUE) return;
    const bool real = is_real_folder(folder);
    for (const std::string& entryName : real ? folder_entries(path) : std::vector<std::string>{}) {
        HANDLE entry = open_entry(path + separator + entryName, DELETE, shared | FILE_SHARE_DELETE);
        if (entry == INVALID_HANDLE_VALUE) continue;
        // A link goes as a link; a folder in it, or a junction, stays.
        if (!(handle_attributes(entry) & FILE_ATTRIBUTE_DIRECTORY)) delete_by_handle(entry);
        CloseHandle(entry);
    }
    CloseHandle(folder);
    if (!real || (folder = open_entry(path, DELETE, shared)) == INVALID_HANDLE_VALUE) return;
    if (is_real_folder(folder)) delete_by_handle(folder);
    CloseHandle(folder);
}

std::vector<std::string> own_folder_entries(const std::string& folder) {
    if (!is_real_folder(folder)) return {};
    return folder_entries(folder);
}

#else

// A folder opened without following a link at its name, and only when it
// is this account's own and no one else may write in it; -1 otherwise.
int open_own_folder(int at, const std::string& name) {
    const int folder = openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return -1;
    struct stat info {};
    if (fstat(folder, &info) != 0 || info.st_uid != geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        close(folder);
        return -1;
    }
    return folder;
}

// The names in an open folder, without "." and "..".
std::vector<std::string> entries_at(int folder) {
    std::vector<std::string> names;
    const int listed = dup(folder);
    DIR* list = listed < 0 ? nullptr : fdopendir(listed);
    if (!list) {
        if (listed >= 0) close(listed);
        return names;
    }
    while (const dirent* entry = readdir(list)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(list);
    return names;
}

// Everything goes through the folder's descriptor, opened without following
// a link: a folder swapped for a link after it was opened leads nowhere
// else, and a link in it is removed as a link.
void remove_folder_at(int parent, const std::string& name) {
    const int folder = open_own_folder(parent, name);
    if (folder < 0) return;
    for (const std::string& entry : entries_at(folder)) {
        struct stat info {};
        if (fstatat(folder, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode))
            unlinkat(folder, entry.c_str(), 0);
    }
    close(folder);
    unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

}  // namespace

std::optional<std::string> make_own_folder(const std::string& home) {
    // mkdir() never follows a link at the name and fails on anything there.
    if (mkdir(home.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
    const int folder = open_own_folder(AT_FDCWD, home);
    if (folder < 0) return notOwnFolder;
    close(folder);
    return std::nullopt;
}

std::optional<std::string> make_folder_in(const std::string& parent, const std::string& name) {
    const int home = open_own_folder(AT_FDCWD, parent);
    if (home < 0) return notOwnFolder;
    const bool made = mkdirat(home, name.c_str(), 0700) == 0;
    const int error = errno;
    close(home);
    if (!made) return std::strerror(error);
    return std::nullopt;
}

void remove_own_folder(const std::string& parent, const std::string& name) {
    const int at = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (at < 0) return;
    remove_folder_at(at, name);
    close(at);
}

std::vector<std::string> own_folder_entries(const std::string& path) {
    const int folder = open_own_folder(AT_FDCWD, path);
    if (folder < 0) return {};
    std::vector<std::string> names = entries_at(folder);
    close(folder);
    return names;
}

#endif
