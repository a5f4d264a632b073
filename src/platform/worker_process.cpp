#include "worker_process.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include "environment.h"
#include "library_loader.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// The mark in a worker's environment, set by start_worker alone.
constexpr const char* workerMarkName = "WICKERBY_WORKER";
constexpr const char* workerMark = "WICKERBY_WORKER=1";

}  // namespace

bool started_as_worker() {
    const std::optional<std::string> mark = environment_variable(workerMarkName);
    return mark && *mark == "1";
}

#ifdef _WIN32

namespace {

HANDLE handle_of(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t value_of(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

// The job every worker joins: closed with the process, it ends them all.
HANDLE worker_job() {
    static HANDLE job = [] {
        HANDLE made = CreateJobObjectA(nullptr, nullptr);
        if (made) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        return made;
    }();
    return job;
}

// One argument as the C runtime splits a command line again.
std::string quoted(const std::string& argument) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

// This process's environment block with the worker's mark, and no mark of
// its own.
std::string worker_environment() {
    std::string block;
    if (char* strings = GetEnvironmentStringsA()) {
        const std::size_t nameSize = std::strlen(workerMarkName);
        for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
            if (_strnicmp(entry, workerMarkName, nameSize) == 0 && entry[nameSize] == '=') continue;
            block.append(entry);
            block.push_back('\0');
        }
        FreeEnvironmentStringsA(strings);
    }
    block.append(workerMark);
    block.push_back('\0');
    block.push_back('\0');
    return block;
}

}  // namespace

std::optional<WorkerProcess> start_worker(const std::vector<std::string>& arguments, const std::string& folder) {
    const std::string program = executable_path();
    if (program.empty()) return std::nullopt;
    std::string environment = worker_environment();
    // A worker inherits every inheritable handle of the process: one
    // started at the same moment as another would hold that one's pipe
    // open, and its parent would wait for its end. So the inheritable ends
    // exist only while one worker is being started.
    static std::mutex starting;
    const std::lock_guard<std::mutex> one(starting);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inputRead = nullptr, inputWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inherit, 0)) return std::nullopt;
    if (!CreatePipe(&outputRead, &outputWrite, &inherit, 0)) {
        CloseHandle(inputRead);
        CloseHandle(inputWrite);
        return std::nullopt;
    }
    // The parent's own ends stay with the parent.
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
    std::string commandLine = quoted(program);
    for (const std::string& argument : arguments) commandLine += " " + quoted(argument);
    // Standard error is the null device, not the sensor's own: PRTG waits
    // for the end of that pipe, and a worker that outlived its parent (its
    // job not taken, as where the parent's own job forbids one) would hold
    // it open.
    HANDLE nothing = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = nothing;
    PROCESS_INFORMATION started{};
    const BOOL made = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                                     environment.data(), folder.c_str(), &startup, &started);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
    if (!made) {
        CloseHandle(inputWrite);
        CloseHandle(outputRead);
        return std::nullopt;
    }
    if (HANDLE job = worker_job()) AssignProcessToJobObject(job, started.hProcess);
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return WorkerProcess{value_of(started.hProcess), value_of(inputWrite), value_of(outputRead)};
}

bool send_to_worker(const WorkerProcess& worker, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle_of(worker.input), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string read_worker_output(const WorkerProcess& worker) {
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(handle_of(worker.output), buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    return output;
}

void wait_for_worker_end(const WorkerProcess& worker) {
    WaitForSingleObject(handle_of(worker.process), INFINITE);
}

WorkerEnd collect_worker(WorkerProcess& worker) {
    DWORD code = 1;
    GetExitCodeProcess(handle_of(worker.process), &code);
    WorkerEnd end;
    end.exitCode = static_cast<int>(code);
    return end;
}

void stop_worker_process(std::intptr_t process) {
    if (process == -1) return;
    TerminateProcess(handle_of(process), 1);
    WaitForSingleObject(handle_of(process), 5000);
}

void close_worker(WorkerProcess& worker) {
    for (std::intptr_t* handle : {&worker.process, &worker.input, &worker.output}) {
        if (*handle != -1) CloseHandle(handle_of(*handle));
        *handle = -1;
    }
}

void end_when_input_closes() {
    std::thread([] {
        char unused;
        DWORD got = 0;
        HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        while (ReadFile(input, &unused, 1, &got, nullptr) && got > 0) {
        }
        ExitProcess(1);
    }).detach();
}

std::string read_standard_input(std::size_t size) {
    std::string bytes;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[4096];
    while (bytes.size() < size) {
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min(sizeof buffer, size - bytes.size()));
        if (!ReadFile(input, buffer, wanted, &got, nullptr) || got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

void make_standard_output_binary() {
    _setmode(_fileno(stdout), _O_BINARY);
}

#else

namespace {

// This process's environment with the worker's mark, and no mark of its own.
std::vector<char*> worker_environment() {
    std::vector<char*> environment;
    const std::size_t nameSize = std::strlen(workerMarkName);
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, workerMarkName, nameSize) != 0 || (*entry)[nameSize] != '=')
            environment.push_back(*entry);
    environment.push_back(const_cast<char*>(workerMark));
    environment.push_back(nullptr);
    return environment;
}

}  // namespace

std::optional<WorkerProcess> start_worker(const std::vector<std::string>& arguments, const std::string& folder) {
    const std::string program = executable_path();
    if (program.empty()) return std::nullopt;
    // A worker that ends before its request is written (its library ended
    // it, its folder went, its program file was replaced) makes the write
    // fail with EPIPE, which the caller sees, instead of ending the parent.
    static const bool brokenPipesIgnored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    static_cast<void>(brokenPipesIgnored);
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0) return std::nullopt;
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return std::nullopt;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> environment = worker_environment();
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        // A parent killed before this point leaves no worker either.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);
        // The worker writes to its parent as any program does.
        std::signal(SIGPIPE, SIG_DFL);
        if (dup2(input[0], STDIN_FILENO) < 0 || dup2(output[1], STDOUT_FILENO) < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        execve(program.c_str(), argv.data(), environment.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    if (child < 0) {
        close(input[1]);
        close(output[0]);
        return std::nullopt;
    }
    return WorkerProcess{child, input[1], output[0]};
}

bool send_to_worker(const WorkerProcess& worker, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(static_cast<int>(worker.input), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::string read_worker_output(const WorkerProcess& worker) {
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(static_cast<int>(worker.output), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    return output;
}

namespace {

// Waits for the process to end and leaves it a zombie: its id is not
// given to another process before it is collected.
void wait_without_collecting(pid_t process) {
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(process), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
}

}  // namespace

void wait_for_worker_end(const WorkerProcess& worker) {
    if (worker.process != -1) wait_without_collecting(static_cast<pid_t>(worker.process));
}

WorkerEnd collect_worker(WorkerProcess& worker) {
    WorkerEnd end;
    if (worker.process == -1) return end;
    int status = 0;
    while (waitpid(static_cast<pid_t>(worker.process), &status, 0) < 0 && errno == EINTR) {
    }
    worker.process = -1;
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    else end.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    return end;
}

void stop_worker_process(std::intptr_t process) {
    if (process == -1) return;
    kill(static_cast<pid_t>(process), SIGKILL);
    wait_without_collecting(static_cast<pid_t>(process));
}

void close_worker(WorkerProcess& worker) {
    for (std::intptr_t* descriptor : {&worker.input, &worker.output}) {
        if (*descriptor != -1) close(static_cast<int>(*descriptor));
        *descriptor = -1;
    }
}

void end_when_input_closes() {
    std::thread([] {
        char unused;
        for (;;) {
            const ssize_t got = read(STDIN_FILENO, &unused, 1);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) _exit(1);
        }
    }).detach();
}

std::string read_standard_input(std::size_t size) {
    std::string bytes;
    char buffer[4096];
    while (bytes.size() < size) {
        const ssize_t got = read(STDIN_FILENO, buffer, std::min(sizeof buffer, size - bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void make_standard_output_binary() {}

#endif
