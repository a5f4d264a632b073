// rand_s() is declared only on request, before any C library header.
#ifdef _WIN32
#define _CRT_RAND_S
#endif

#include "private_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "leftovers.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* folderPrefix = "wickerby-";

#ifdef _WIN32

constexpr char separator = '\\';

unsigned long process_id() {
    return GetCurrentProcessId();
}

// 64 bits from the system's random source (RtlGenRandom); 0 for a part
// that could not be drawn.
std::uint64_t system_random_bits() {
    unsigned int high = 0, low = 0;
    if (rand_s(&high) != 0) high = 0;
    if (rand_s(&low) != 0) low = 0;
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The account's temporary folder with its trailing backslash.
std::optional<std::string> temporary_folder() {
    char path[MAX_PATH + 1];
    const DWORD size = GetTempPathA(sizeof path, path);
    if (size == 0 || size > MAX_PATH) return std::nullopt;
    return std::string(path, size);
}

bool make_folder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool is_own_folder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool write_whole(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
    return CloseHandle(file) && ok;
}

void remove_folder(const std::string& path) {
    RemoveDirectoryA(path.c_str());
}

void remove_in_folder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        DeleteFileA(path.c_str());
}

std::optional<std::string> read_whole(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

#else

constexpr char separator = '/';

unsigned long process_id() {
    return static_cast<unsigned long>(getpid());
}

// 64 bits from the kernel's random source; 0 when it could not be drawn.
std::uint64_t system_random_bits() {
    std::uint64_t bits = 0;
    ssize_t got = 0;
    while ((got = getrandom(&bits, sizeof bits, GRND_NONBLOCK)) < 0 && errno == EINTR) {
    }
    return got == static_cast<ssize_t>(sizeof bits) ? bits : 0;
}

// $TMPDIR or /tmp, with a trailing slash.
std::optional<std::string> temporary_folder() {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
}

// mkdir() never follows a link at the name and fails on anything there.
bool make_folder(const std::string& path) {
    return mkdir(path.c_str(), 0700) == 0;
}

// The temporary folder is shared by every account: only a real folder of
// this account's own is touched.
bool is_own_folder(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

bool write_whole(const std::string& path, const std::string& bytes) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
    return close(file) == 0 && done == bytes.size();
}

void remove_folder(const std::string& path) {
    rmdir(path.c_str());
}

void remove_in_folder(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) unlink(path.c_str());
}

std::optional<std::string> read_whole(const std::string& path) {
    const int file = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (file < 0) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(file, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(file);
    return bytes;
}

#endif

std::string hex_digits(std::uint64_t value) {
    const char* digits = "0123456789abcdef";
    std::string hex(16, '0');
    for (std::size_t i = hex.size(); i-- > 0; value >>= 4) hex[i] = digits[value & 0xf];
    return hex;
}

// The folder without its trailing separator, as the system names a folder.
std::string without_separator(const std::string& folder) {
    return !folder.empty() && folder.back() == separator ? folder.substr(0, folder.size() - 1) : folder;
}

// The folders this process made and has not removed. A folder of this
// process's id that is not among them was left by an earlier process of
// the same id: both systems give a dead process's id to a new one, Wine at
// once.
struct MadeFolders {
    std::mutex mutex;
    std::vector<std::string> names;
};

// Never destroyed: a folder may still be removed at the process's end,
// after the statics made after this one are gone.
MadeFolders& made_folders() {
    static MadeFolders* made = new MadeFolders;
    return *made;
}

bool made_here(const std::string& folder) {
    MadeFolders& made = made_folders();
    const std::lock_guard<std::mutex> hold(made.mutex);
    return std::find(made.names.begin(), made.names.end(), folder) != made.names.end();
}

void note_made(const std::string& folder, bool made) {
    MadeFolders& registry = made_folders();
    const std::lock_guard<std::mutex> hold(registry.mutex);
    if (made) registry.names.push_back(folder);
    else registry.names.erase(std::remove(registry.names.begin(), registry.names.end(), folder), registry.names.end());
}

}  // namespace

std::string private_folder_name() {
    // Drawn from the system's random source and the clock, so that no other
    // account can make the folder first and have this run use it. The
    // system is asked directly: the C++ library's random device throws when
    // the processor's generator does not answer, and an exception here
    // would end the run with nothing printed.
    const std::uint64_t drawn =
        system_random_bits() ^
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    return folderPrefix + std::to_string(process_id()) + "-" + hex_digits(drawn);
}

std::optional<std::string> private_folder_path() {
    const std::optional<std::string> temporary = temporary_folder();
    if (!temporary) return std::nullopt;
    return *temporary + private_folder_name() + separator;
}

bool make_private_folder(const std::string& folder) {
    if (!make_folder(without_separator(folder))) return false;
    note_made(without_separator(folder), true);
    return true;
}

bool write_private_file(const std::string& folder, const std::string& name, const std::string& bytes) {
    return write_whole(folder + name, bytes);
}

std::optional<std::string> read_private_file(const std::string& folder, const std::string& name) {
    return read_whole(folder + name);
}

void remove_private_folder(const std::string& folder) {
    for (const std::string& name : folder_entries(folder)) remove_in_folder(folder + name);
    remove_folder(without_separator(folder));
    note_made(without_separator(folder), false);
}

void remove_abandoned_private_folders() {
    const std::optional<std::string> temporary = temporary_folder();
    if (!temporary) return;
    for (const std::string& entry : folder_entries(*temporary)) {
        const std::optional<unsigned long> id = leftover_process_id(entry, folderPrefix, "-");
        const std::string folder = *temporary + entry;
        if (!id || made_here(folder) || (*id != process_id() && process_is_running(*id))) continue;
        if (is_own_folder(folder)) remove_private_folder(folder + separator);
    }
}
