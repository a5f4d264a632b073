#include "process_lock.h"

#include <chrono>
#include <string>
#include <thread>

#include "files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace {

// A lock file of the tests' own, so that no sensor running in this
// directory is disturbed.
const std::string lockName = "wickerby-platform-test.lock";

bool make_folder(const std::string& name) {
#ifdef _WIN32
    return CreateDirectoryA(name.c_str(), nullptr) != 0;
#else
    return mkdir(name.c_str(), 0700) == 0;
#endif
}

void remove_folder(const std::string& name) {
#ifdef _WIN32
    RemoveDirectoryA(name.c_str());
#else
    rmdir(name.c_str());
#endif
}

struct TwoLocks {
    ProcessLock first = open_process_lock(lockName);
    ProcessLock second = open_process_lock(lockName);
    ~TwoLocks() {
        close_process_lock(first);
        close_process_lock(second);
        remove_file(lockName);
    }
};

bool take(ProcessLock& lock, LockHold mode) {
    return mode == LockHold::exclusive ? lock_exclusive(lock, 0) : lock_shared(lock, 0);
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

TEST(ProcessLock, AWaitEndsWhenTheHolderLetsGoOrTheTimeIsUp) {
    TwoLocks locks;
    ASSERT_TRUE(lock_exclusive(locks.first, 0));
    EXPECT_FALSE(lock_shared(locks.second, 50));
    EXPECT_EQ(locks.second.held, LockHold::none);
    std::thread holder([&locks] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        unlock(locks.first);
    });
    // Far longer than the holder keeps it: the wait ends when it lets go.
    EXPECT_TRUE(lock_shared(locks.second, 60000));
    holder.join();
    EXPECT_EQ(locks.second.held, LockHold::shared);
    EXPECT_FALSE(lock_exclusive(locks.first, 0));
}

TEST(ProcessLock, AnEntryThatIsNoPlainFileIsNeverTakenOrReplaced) {
    const std::string folder = "wickerby-platform-test-folder.lock";
    ASSERT_TRUE(make_folder(folder));
    ProcessLock lock = open_process_lock(folder);
    EXPECT_EQ(lock.handle, -1);
    EXPECT_EQ(lock.problem, "something other than a plain file lies at its name");
    EXPECT_FALSE(lock_exclusive(lock, 0));
    EXPECT_FALSE(lock_shared(lock, 10));
    EXPECT_EQ(lock.held, LockHold::none);
    close_process_lock(lock);
    remove_folder(folder);
#ifndef _WIN32
    // A dangling link: its target is never made.
    const std::string link = "wickerby-platform-test-link.lock";
    ASSERT_EQ(symlink("wickerby-platform-test-target", link.c_str()), 0);
    ProcessLock linked = open_process_lock(link);
    EXPECT_EQ(linked.handle, -1);
    EXPECT_FALSE(file_opens("wickerby-platform-test-target"));
    close_process_lock(linked);
    unlink(link.c_str());
#endif
}
