// Locks that the sensor processes running in one working directory share,
// also with other users' sensors there. A lock lives in an empty file in the
// temporary folder, named after the working directory and the lock's
// purpose, so nothing is left in the working directory; the file never grows
// and needs no cleaning. The system lets go of a lock when its holder ends,
// also when the holder is killed.
#pragma once

#include <cstdint>
#include <string>

enum class LockHold { none, shared, exclusive };

struct ProcessLock {
    // The lock file's descriptor or handle; -1 when it did not open, and
    // then the lock is never taken.
    std::intptr_t handle = -1;
    LockHold held = LockHold::none;
};

// The lock named `purpose` ("saprfc", "runs") for the current working
// directory. When its file does not open (no temporary folder), the lock
// reports "not taken" whenever it is asked for.
ProcessLock open_process_lock(const std::string& purpose);

// Takes the lock for this holder alone, waiting at most `milliseconds` (0:
// one try). False when not taken.
bool lock_exclusive(ProcessLock& lock, unsigned milliseconds);

// Takes the lock together with other shared holders, waiting at most
// `milliseconds` while someone holds it exclusively. False when not taken.
bool lock_shared(ProcessLock& lock, unsigned milliseconds);

// Asking for the other mode than the one held gives up the held one first,
// as the system cannot change it in one step: when the new mode is not
// taken, the lock is not held at all (`held` says so).

// Gives the lock up; nothing when it is not held.
void unlock(ProcessLock& lock);

// Gives the lock up and closes its file.
void close_process_lock(ProcessLock& lock);

// The lock file's name for a working directory, as the platform spells its
// full path (upper-cased on Windows, whose paths ignore case), and a
// purpose: wickerby-<16 hex digits of the directory's hash>-<purpose>.lock.
std::string process_lock_file_name(const std::string& directory, const std::string& purpose);
