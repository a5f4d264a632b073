#include "process_lock.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* notPlainFile = "something other than a plain file lies at its name";
constexpr const char* cannotMake = "it cannot be made or opened in the working directory";

#ifdef _WIN32

HANDLE handle_of(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Made afresh, or opened as it lies without following a link: CREATE_NEW
// fails on any entry at the name, a dangling link included, so no link's
// target is ever made.
std::intptr_t open_lock_file(const std::string& path, std::string& problem) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        file = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        problem = attributes != INVALID_FILE_ATTRIBUTES ? notPlainFile : cannotMake;
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        problem = notPlainFile;
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(file);
}

// The lock is the file's first byte; LockFileEx locks belong to the file
// object, so two opens of one process exclude each other too.
bool lock_now(std::intptr_t handle, bool exclusive, bool wait) {
    OVERLAPPED start{};
    const DWORD flags = (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    return LockFileEx(handle_of(handle), flags, 0, 1, 0, &start) != 0;
}

void release(std::intptr_t handle) {
    OVERLAPPED start{};
    UnlockFileEx(handle_of(handle), 0, 1, 0, &start);
}

void close_lock_file(std::intptr_t handle) {
    CloseHandle(handle_of(handle));
}

#else

// Opens the lock file, never through a link and never a FIFO or device put
// at its name. flock() needs only reading, so the file is made readable by
// everyone whatever the umask, and other accounts' sensors open it too.
std::intptr_t open_lock_file(const std::string& path, std::string& problem) {
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int file = -1;
    // Made by this process or opened as another left it; tried again only
    // when the file went away in between.
    for (int attempt = 0; attempt < 3 && file < 0; ++attempt) {
        file = open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
        if (file >= 0) {
            fchmod(file, 0644);
            break;
        }
        if (errno != EEXIST) break;
        file = open(path.c_str(), flags);
        if (file < 0 && errno != ENOENT) {
            problem = errno == ELOOP ? notPlainFile : cannotMake;
            return -1;
        }
    }
    struct stat info {};
    if (file >= 0 && (fstat(file, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(file);
        problem = notPlainFile;
        return -1;
    }
    if (file < 0 && problem.empty()) problem = cannotMake;
    return file;
}

// flock() locks belong to the open file, so two opens of one process
// exclude each other too.
bool lock_now(std::intptr_t handle, bool exclusive, bool wait) {
    const int operation = (exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
    int result = 0;
    while ((result = flock(static_cast<int>(handle), operation)) != 0 && errno == EINTR) {
    }
    return result == 0;
}

void release(std::intptr_t handle) {
    flock(static_cast<int>(handle), LOCK_UN);
}

void close_lock_file(std::intptr_t handle) {
    close(static_cast<int>(handle));
}

#endif

// A wait that the system blocks in. Neither system bounds a lock's wait, so
// a thread of its own waits on a second open of the file, whose lock is its
// own; the run waits for that thread at most the given time. A wait given up
// goes on alone and lets go of what it takes then, touching no lock of the
// run's.
struct LockWait {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool taken = false;
    bool givenUp = false;
};

bool wait_for_lock(ProcessLock& lock, bool exclusive, unsigned milliseconds) {
    std::string problem;
    const std::intptr_t second = open_lock_file(lock.path, problem);
    if (second == -1) return false;
    const auto wait = std::make_shared<LockWait>();
    std::thread([wait, second, exclusive] {
        const bool taken = lock_now(second, exclusive, true);
        const std::lock_guard<std::mutex> hold(wait->mutex);
        if (wait->givenUp) {
            if (taken) release(second);
            close_lock_file(second);
            return;
        }
        wait->taken = taken;
        wait->done = true;
        wait->finished.notify_one();
    }).detach();
    std::unique_lock<std::mutex> hold(wait->mutex);
    if (!wait->finished.wait_for(hold, std::chrono::milliseconds(milliseconds), [&] { return wait->done; })) {
        wait->givenUp = true;
        return false;
    }
    // The second open holds the lock now and takes the first one's place.
    close_lock_file(lock.handle);
    lock.handle = second;
    return wait->taken;
}

bool take(ProcessLock& lock, LockHold wanted, unsigned milliseconds) {
    if (lock.handle == -1) return false;
    if (lock.held == wanted) return true;
    unlock(lock);
    const bool exclusive = wanted == LockHold::exclusive;
    if (!lock_now(lock.handle, exclusive, false) &&
        (milliseconds == 0 || !wait_for_lock(lock, exclusive, milliseconds)))
        return false;
    lock.held = wanted;
    return true;
}

}  // namespace

ProcessLock open_process_lock(const std::string& fileName) {
    ProcessLock lock;
    lock.path = host_path(fileName);
    lock.handle = open_lock_file(lock.path, lock.problem);
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
