// Locks that the sensor processes running in one working directory share,
// whatever account runs each of them. A lock lives in an empty file of the
// working directory itself, which every sensor there can reach; the file
// never grows and needs no cleaning. The system lets go of a lock when its
// holder ends, also when the holder is killed.
#pragma once

#include <cstdint>
#include <string>

enum class LockHold { none, shared, exclusive };

struct ProcessLock {
    // The lock file's descriptor or handle; -1 when it did not open, and
    // then the lock is never taken.
    std::intptr_t handle = -1;
    LockHold held = LockHold::none;
    // The lock file's host path, opened anew for a wait.
    std::string path;
    // Why the file did not open: something other than a plain file lies at
    // its name, or it cannot be made there. Empty when it opened.
    std::string problem;
};

// The lock of the given file in the working directory. An entry that is no
// plain file (a folder, a link, a FIFO) is never followed or replaced: the
// lock then reports "not taken" whenever it is asked for, and `problem`
// says why.
ProcessLock open_process_lock(const std::string& fileName);

// Takes the lock for this holder alone, waiting at most `milliseconds` (0:
// one try). False when not taken.
bool lock_exclusive(ProcessLock& lock, unsigned milliseconds);

// Takes the lock together with other shared holders, waiting at most
// `milliseconds` while someone holds it exclusively. False when not taken.
bool lock_shared(ProcessLock& lock, unsigned milliseconds);

// A wait blocks in the system until the lock is free or the time is up; it
// does not poll. Asking for the other mode than the one held gives up the
// held one first, as the system cannot change it in one step: when the new
// mode is not taken, the lock is not held at all (`held` says so).

// Gives the lock up; nothing when it is not held.
void unlock(ProcessLock& lock);

// Gives the lock up and closes its file.
void close_process_lock(ProcessLock& lock);

// Holds a lock open for as long as it lives.
struct ScopedProcessLock {
    ProcessLock lock;
    explicit ScopedProcessLock(const std::string& fileName) : lock(open_process_lock(fileName)) {}
    ~ScopedProcessLock() { close_process_lock(lock); }
    ScopedProcessLock(const ScopedProcessLock&) = delete;
    ScopedProcessLock& operator=(const ScopedProcessLock&) = delete;
};
