#include "process_lock.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

// A purpose of the tests' own, so that no sensor running in this directory
// is disturbed.
const std::string purpose = "platform-test";

struct TwoLocks {
    ProcessLock first = open_process_lock(purpose);
    ProcessLock second = open_process_lock(purpose);
    ~TwoLocks() {
        close_process_lock(first);
        close_process_lock(second);
    }
};

bool take(ProcessLock& lock, LockHold mode) {
    return mode == LockHold::exclusive ? lock_exclusive(lock, 0) : lock_shared(lock, 0);
}

// Sets an environment variable of this process; empty removes it.
void set_environment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    if (value.empty()) unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
#endif
}

}  // namespace

TEST(ProcessLock, HoldersOfOneLockExcludeEachOther) {
    struct Case {
        LockHold first;
        LockHold second;
        bool bothHold;
    };
    const Case cases[] = {
        {LockHold::shared, LockHold::shared, true},
        {LockHold::shared, LockHold::exclusive, false},
        {LockHold::exclusive, LockHold::shared, false},
        {LockHold::exclusive, LockHold::exclusive, false},
    };
    for (const Case& c : cases) {
        TwoLocks locks;
        ASSERT_NE(locks.first.handle, -1);
        const int mode = static_cast<int>(c.first) * 10 + static_cast<int>(c.second);
        EXPECT_TRUE(take(locks.first, c.first)) << mode;
        EXPECT_EQ(take(locks.second, c.second), c.bothHold) << mode;
        EXPECT_EQ(locks.second.held, c.bothHold ? c.second : LockHold::none) << mode;
        unlock(locks.first);
        EXPECT_EQ(locks.first.held, LockHold::none) << mode;
        EXPECT_TRUE(take(locks.second, c.second)) << mode;
        EXPECT_EQ(take(locks.first, c.first), c.bothHold) << mode;
    }
}

TEST(ProcessLock, ClosingLetsGoAndChangingModeGivesUpFirst) {
    TwoLocks locks;
    EXPECT_TRUE(lock_shared(locks.first, 0));
    EXPECT_TRUE(lock_shared(locks.second, 0));
    // The other shared holder keeps the first from holding it alone, and the
    // first's shared hold is gone with the attempt.
    EXPECT_FALSE(lock_exclusive(locks.first, 0));
    EXPECT_EQ(locks.first.held, LockHold::none);
    EXPECT_TRUE(lock_exclusive(locks.second, 0));
    close_process_lock(locks.second);
    EXPECT_EQ(locks.second.handle, -1);
    EXPECT_TRUE(lock_exclusive(locks.first, 0));
    EXPECT_TRUE(lock_shared(locks.first, 0));
    EXPECT_EQ(locks.first.held, LockHold::shared);
}

TEST(ProcessLock, ALockWhoseFileDoesNotOpenIsNeverTaken) {
    const char* names[] = {"TMPDIR", "TMP", "TEMP"};
    std::string saved[3];
    for (int i = 0; i < 3; ++i) {
        const char* value = std::getenv(names[i]);
        saved[i] = value ? value : "";
        set_environment(names[i], "wickerby-no-such-folder");
    }
    ProcessLock lock = open_process_lock(purpose);
    for (int i = 0; i < 3; ++i) set_environment(names[i], saved[i]);
    EXPECT_EQ(lock.handle, -1);
    EXPECT_FALSE(lock_exclusive(lock, 0));
    EXPECT_FALSE(lock_shared(lock, 0));
    EXPECT_EQ(lock.held, LockHold::none);
    unlock(lock);
    close_process_lock(lock);
    ProcessLock never{};
    EXPECT_FALSE(lock_exclusive(never, 0));
}

TEST(ProcessLock, FileNamesTellDirectoriesApart) {
    EXPECT_EQ(process_lock_file_name("", "runs"), "wickerby-cbf29ce484222325-runs.lock");
    EXPECT_EQ(process_lock_file_name("a", "saprfc"), "wickerby-af63dc4c8601ec8c-saprfc.lock");
    const std::string directories[] = {"C:\\PRTG\\CUSTOM SENSORS\\EXE", "C:\\PRTG\\CUSTOM SENSORS\\EXE2",
                                       "/srv/sensors/a", "/srv/sensors/b", "/srv/sensors/A"};
    for (const std::string& one : directories) {
        EXPECT_EQ(process_lock_file_name(one, "runs"), process_lock_file_name(one, "runs"));
        for (const std::string& other : directories) {
            if (&one == &other) continue;
            EXPECT_NE(process_lock_file_name(one, "runs"), process_lock_file_name(other, "runs")) << one << other;
        }
    }
}
