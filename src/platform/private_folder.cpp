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
#include "own_folders.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* folderPrefix = "wickerby-";
constexpr std::size_t drawnDigits = 16;

#ifdef _WIN32

constexpr char separator = '\\';

unsigned long process_id() {
    return GetCurrentProcessId();
}

// The temporary folder is the account's own on Windows.
std::string home_name() {
    return "wickerby-private";
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

bool write_whole(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
    return CloseHandle(file) && ok;
}

std::optional<std::string> read_whole(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
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

// The temporary folder may be shared by every account: each has its own home.
std::string home_name() {
    return "wickerby-private-" + std::to_string(geteuid());
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

// The folder part of a path without its trailing separator, and the name
// after it.
void split_folder(const std::string& folder, std::string& parent, std::string& name) {
    const std::string path =
        !folder.empty() && folder.back() == separator ? folder.substr(0, folder.size() - 1) : folder;
    const std::size_t cut = path.find_last_of(separator);
    parent = cut == std::string::npos ? "." : path.substr(0, cut);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string hex_digits(std::uint64_t value) {
    const char* digits = "0123456789abcdef";
    std::string hex(drawnDigits, '0');
    for (std::size_t i = hex.size(); i-- > 0; value >>= 4) hex[i] = digits[value & 0xf];
    return hex;
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

bool made_here(const std::string& name) {
    MadeFolders& made = made_folders();
    const std::lock_guard<std::mutex> hold(made.mutex);
    return std::find(made.names.begin(), made.names.end(), name) != made.names.end();
}

void note_made(const std::string& name, bool made) {
    MadeFolders& registry = made_folders();
    const std::lock_guard<std::mutex> hold(registry.mutex);
    if (made) registry.names.push_back(name);
    else registry.names.erase(std::remove(registry.names.begin(), registry.names.end(), name), registry.names.end());
}

}  // namespace

std::string private_folder_name() {
    // Drawn from the system's random source and the clock, so that no other
    // run can foresee the name. The system is asked directly: the C++
    // library's random device throws when the processor's generator does
    // not answer, and an exception here would end the run with nothing
    // printed.
    const std::uint64_t drawn =
        system_random_bits() ^
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    return folderPrefix + std::to_string(process_id()) + "-" + hex_digits(drawn);
}

std::optional<unsigned long> private_folder_process(const std::string& name) {
    const std::string prefix = folderPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    const std::size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || name.size() != dash + 1 + drawnDigits) return std::nullopt;
    const std::string id = name.substr(prefix.size(), dash - prefix.size());
    // A process id as the system writes it: no sign, no leading zero, 32 bits.
    if (id.empty() || id.size() > 10 || id[0] == '0') return std::nullopt;
    if (!std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dash + 1), name.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }))
        return std::nullopt;
    const unsigned long long value = std::stoull(id);
    if (value > 0xffffffffULL) return std::nullopt;
    return static_cast<unsigned long>(value);
}

std::optional<std::string> temporary_folder_path() {
    return temporary_folder();
}

const char* temporary_folder_setting() {
#ifdef _WIN32
    return "TMP or TEMP";
#else
    return "TMPDIR";
#endif
}

std::optional<std::string> private_folders_home() {
    const std::optional<std::string> temporary = temporary_folder();
    if (!temporary) return std::nullopt;
    return *temporary + home_name() + separator;
}

std::optional<std::string> private_folder_path() {
    const std::optional<std::string> home = private_folders_home();
    if (!home) return std::nullopt;
    return *home + private_folder_name() + separator;
}

std::optional<std::string> make_private_folder_told(const std::string& folder) {
    std::string parent, name;
    split_folder(folder, parent, name);
    if (const std::optional<std::string> problem = make_own_folder(parent)) return problem;
    if (const std::optional<std::string> problem = make_folder_in(parent, name)) return problem;
    note_made(name, true);
    return std::nullopt;
}

bool make_private_folder(const std::string& folder) {
    return !make_private_folder_told(folder);
}

bool write_private_file(const std::string& folder, const std::string& name, const std::string& bytes) {
    return write_whole(folder + name, bytes);
}

std::optional<std::string> read_private_file(const std::string& folder, const std::string& name) {
    return read_whole(folder + name);
}

void remove_private_folder(const std::string& folder) {
    std::string parent, name;
    split_folder(folder, parent, name);
    remove_own_folder(parent, name);
    note_made(name, false);
}

void remove_abandoned_private_folders() {
    const std::optional<std::string> home = private_folders_home();
    if (!home) return;
    std::string parent, homeName;
    split_folder(*home, parent, homeName);
    const std::string folder = parent + separator + homeName;
    for (const std::string& name : own_folder_entries(folder)) {
        const std::optional<unsigned long> id = private_folder_process(name);
        if (!id || made_here(name) || (*id != process_id() && process_is_running(*id))) continue;
        remove_own_folder(folder, name);
    }
}
