#include "process_lock.h"

#include <chrono>
#include <cstdlib>
#include <optional>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#endif

namespace {

// How often a waiting holder tries again; the locks are held for moments.
constexpr unsigned pollMilliseconds = 5;

// FNV-1a: short, stable across versions and platforms, so that sensors of
// different builds in one directory find the same lock.
std::uint64_t name_hash(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

#ifdef _WIN32

HANDLE handle_of(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// The full path of the working directory, upper-cased as Windows ignores case.
std::optional<std::string> working_directory_key() {
    std::vector<char> path(MAX_PATH);
    DWORD size = GetFullPathNameA(".", static_cast<DWORD>(path.size()), path.data(), nullptr);
    if (size >= path.size()) {
        path.resize(size + 1);
        size = GetFullPathNameA(".", static_cast<DWORD>(path.size()), path.data(), nullptr);
    }
    if (size == 0 || size >= path.size()) return std::nullopt;
    CharUpperBuffA(path.data(), size);
    return std::string(path.data(), size);
}

// The temporary folder with its trailing backslash.
std::optional<std::string> temporary_folder() {
    char path[MAX_PATH + 1];
    const DWORD size = GetTempPathA(sizeof path, path);
    if (size == 0 || size > MAX_PATH) return std::nullopt;
    return std::string(path, size);
}

std::intptr_t open_lock_file(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    return reinterpret_cast<std::intptr_t>(file);
}

// The lock is the file's first byte; LockFileEx locks belong to the handle,
// so two handles of one process exclude each other too.
bool try_lock(std::intptr_t handle, bool exclusive) {
    OVERLAPPED start{};
    const DWORD flags = (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
    return LockFileEx(handle_of(handle), flags, 0, 1, 0, &start) != 0;
}

void release(std::intptr_t handle) {
    OVERLAPPED start{};
    UnlockFileEx(handle_of(handle), 0, 1, 0, &start);
}

void close_lock_file(std::intptr_t handle) {
    CloseHandle(handle_of(handle));
}

void pause_briefly() {
    Sleep(pollMilliseconds);
}

#else

// The full path of the working directory; getcwd() gives it with every link
// resolved, so each directory has one name.
std::optional<std::string> working_directory_key() {
    std::vector<char> path(4096);
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE) return std::nullopt;
        path.resize(path.size() * 2);
    }
    return std::string(path.data());
}

// $TMPDIR or /tmp, with a trailing slash.
std::optional<std::string> temporary_folder() {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
}

// Opens the lock file, never through a link and never a FIFO or device put
// at its name. flock() needs only reading, so the file is made readable by
// everyone whatever the umask, and other users' sensors open it too.
std::intptr_t open_lock_file(const std::string& path) {
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int file = -1;
    // Created by this process or opened as another left it; tried again only
    // when the file went away in between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        file = open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
        if (file >= 0) {
            fchmod(file, 0644);
            break;
        }
        if (errno != EEXIST) return -1;
        file = open(path.c_str(), flags);
        if (file >= 0 || errno != ENOENT) break;
    }
    struct stat info {};
    if (file >= 0 && (fstat(file, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(file);
        return -1;
    }
    return file;
}

// flock() locks belong to the open file, so two opens of one process
// exclude each other too.
bool try_lock(std::intptr_t handle, bool exclusive) {
    return flock(static_cast<int>(handle), (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
}

void release(std::intptr_t handle) {
    flock(static_cast<int>(handle), LOCK_UN);
}

void close_lock_file(std::intptr_t handle) {
    close(static_cast<int>(handle));
}

void pause_briefly() {
    const timespec pause{0, static_cast<long>(pollMilliseconds) * 1000000L};
    nanosleep(&pause, nullptr);
}

#endif

bool take(ProcessLock& lock, LockHold wanted, unsigned milliseconds) {
    if (lock.handle == -1) return false;
    if (lock.held == wanted) return true;
    unlock(lock);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!try_lock(lock.handle, wanted == LockHold::exclusive)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        pause_briefly();
    }
    lock.held = wanted;
    return true;
}

}  // namespace

std::string process_lock_file_name(const std::string& directory, const std::string& purpose) {
    const char* digits = "0123456789abcdef";
    std::string hex(16, '0');
    std::uint64_t hash = name_hash(directory);
    for (std::size_t i = hex.size(); i-- > 0; hash >>= 4) hex[i] = digits[hash & 0xf];
    return "wickerby-" + hex + "-" + purpose + ".lock";
}

ProcessLock open_process_lock(const std::string& purpose) {
    ProcessLock lock;
    const std::optional<std::string> directory = working_directory_key();
    const std::optional<std::string> folder = temporary_folder();
    if (directory && folder) lock.handle = open_lock_file(*folder + process_lock_file_name(*directory, purpose));
    return lock;
}

bool lock_exclusive(ProcessLock& lock, unsigned milliseconds) {
    return take(lock, LockHold::exclusive, milliseconds);
}

bool lock_shared(ProcessLock& lock, unsigned milliseconds) {
    return take(lock, LockHold::shared, milliseconds);
}

void unlock(ProcessLock& lock) {
    if (lock.handle != -1 && lock.held != LockHold::none) release(lock.handle);
    lock.held = LockHold::none;
}

void close_process_lock(ProcessLock& lock) {
    unlock(lock);
    if (lock.handle != -1) close_lock_file(lock.handle);
    lock.handle = -1;
}
