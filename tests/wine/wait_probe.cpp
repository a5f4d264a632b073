// The waits the sensor relies on, each alone in a few lines, so that a Wine
// that cannot be trusted with them is shown without the sensor: Wine under
// qemu-user, where the kernel runs no 32-bit programs. Each probe prints one
// line, "PROBE: ok ..." or "PROBE: FAULT ...", and the exit code counts the
// faults. Usage: wait_probe [lock|timed-wait|job|threads ...] (all when none).
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long elapsed_ms(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

// A thread blocked in LockFileEx on a second handle of a file, as the
// sensor's bounded lock wait does, is woken when the first handle lets go.
bool probe_lock() {
    const char* name = "wait_probe.lock";
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE first = CreateFileA(name, GENERIC_READ, share, nullptr, OPEN_ALWAYS, 0, nullptr);
    HANDLE second = CreateFileA(name, GENERIC_READ, share, nullptr, OPEN_ALWAYS, 0, nullptr);
    OVERLAPPED start{};
    LockFileEx(first, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &start);
    std::mutex mutex;
    std::condition_variable woken;
    bool taken = false;
    std::thread waiter([&] {
        OVERLAPPED at{};
        LockFileEx(second, 0, 0, 1, 0, &at);
        const std::lock_guard<std::mutex> hold(mutex);
        taken = true;
        woken.notify_one();
    });
    Sleep(100);
    const Clock::time_point released = Clock::now();
    OVERLAPPED at{};
    UnlockFileEx(first, 0, 1, 0, &at);
    std::unique_lock<std::mutex> hold(mutex);
    const bool ok = woken.wait_for(hold, std::chrono::seconds(5), [&] { return taken; });
    std::printf("lock: %s %lld ms after the holder let go\n", ok ? "ok, waiter woken" : "FAULT, waiter not woken",
                elapsed_ms(released));
    hold.unlock();
    if (!ok) {
        // The waiter cannot be joined; the process ends with it.
        std::fflush(stdout);
        ExitProcess(1);
    }
    waiter.join();
    CloseHandle(first);
    CloseHandle(second);
    DeleteFileA(name);
    return ok;
}

// A timed wait on another thread ends at its time, as the deadline's watch
// does.
bool probe_timed_wait() {
    std::mutex mutex;
    std::condition_variable never;
    long long waited = -1;
    const Clock::time_point started = Clock::now();
    std::thread watch([&] {
        std::unique_lock<std::mutex> hold(mutex);
        never.wait_for(hold, std::chrono::milliseconds(300), [] { return false; });
        waited = elapsed_ms(started);
    });
    watch.join();
    const bool ok = waited >= 300 && waited < 3000;
    std::printf("timed-wait: %s after %lld ms (300 ms asked)\n", ok ? "ok" : "FAULT", waited);
    return ok;
}

// A child in a job that kills on close ends when its parent ends, as a
// listing's workers do. The parent is a second copy of this program that
// starts the child, names its process id and ends.
bool probe_job(const std::string& self) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    std::string line = "\"" + self + "\" job-parent";
    PROCESS_INFORMATION parent{};
    if (!CreateProcessA(self.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &parent)) {
        std::printf("job: FAULT, the parent did not start\n");
        return false;
    }
    CloseHandle(write);
    char text[32] = {};
    DWORD got = 0;
    ReadFile(read, text, sizeof text - 1, &got, nullptr);
    WaitForSingleObject(parent.hProcess, 10000);
    const DWORD id = std::strtoul(text, nullptr, 10);
    HANDLE child = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    const Clock::time_point since = Clock::now();
    const bool ended = !child || WaitForSingleObject(child, 5000) == WAIT_OBJECT_0;
    std::printf("job: %s %lld ms after its parent ended\n", ended ? "ok, child ended" : "FAULT, child still runs",
                elapsed_ms(since));
    if (child && !ended) TerminateProcess(child, 1);
    return ended;
}

int job_parent(const std::string& self) {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + self + "\" sleep";
    PROCESS_INFORMATION child{};
    CreateProcessA(self.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                   &child);
    AssignProcessToJobObject(job, child.hProcess);
    ResumeThread(child.hThread);
    std::printf("%lu\n", child.dwProcessId);
    std::fflush(stdout);
    return 0;
}

// Threads that take one lock many times, as the listing's turn threads and
// printing loop do; the C++ library throws std::system_error when the
// system refuses an operation on a thread or a lock.
bool probe_threads() {
    std::mutex mutex;
    std::condition_variable turn;
    long counter = 0;
    std::string failure;
    try {
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 2000; ++i) {
                    std::unique_lock<std::mutex> hold(mutex);
                    ++counter;
                    turn.notify_all();
                }
            });
        for (std::thread& thread : threads) thread.join();
    } catch (const std::system_error& error) {
        failure = error.what();
    }
    const bool ok = failure.empty() && counter == 16000;
    std::printf("threads: %s (%ld of 16000 turns%s%s)\n", ok ? "ok" : "FAULT", counter, failure.empty() ? "" : ", ",
                failure.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self = path;
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "job-parent") return job_parent(self);
    if (first == "sleep") {
        Sleep(60000);
        return 0;
    }
    std::vector<std::string> probes(argv + 1, argv + argc);
    if (probes.empty()) probes = {"timed-wait", "threads", "job", "lock"};
    int faults = 0;
    for (const std::string& probe : probes) {
        bool ok = false;
        if (probe == "lock") ok = probe_lock();
        else if (probe == "timed-wait") ok = probe_timed_wait();
        else if (probe == "job") ok = probe_job(self);
        else if (probe == "threads") ok = probe_threads();
        else std::printf("%s: unknown probe\n", probe.c_str());
        std::fflush(stdout);
        faults += ok ? 0 : 1;
    }
    return faults;
}
