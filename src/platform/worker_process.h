// Processes of this program's own that measure one system each for a
// listing run: started with arguments and a working directory, handed their
// input through a pipe (never the command line or the environment, which
// other users can read), their standard output read back through another.
// No worker outlives the process that started it: on Windows a job object
// ends them when it closes, and on both systems a worker ends as soon as
// the pipe to it closes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct WorkerProcess {
    std::intptr_t process = -1;  // the process id or handle
    std::intptr_t input = -1;    // the pipe to its standard input
    std::intptr_t output = -1;   // the pipe from its standard output
};

// Starts this program's own file with the arguments, in the folder (a host
// path), with the worker's mark in its environment. Nothing when it cannot
// be started. From the first start on, a worker that ends before it has
// read what is written to it does not end this process with it (SIGPIPE):
// the write fails instead.
std::optional<WorkerProcess> start_worker(const std::vector<std::string>& arguments, const std::string& folder);

// Writes the bytes to the worker's standard input and keeps the pipe open:
// the worker takes its closing as the sign to end.
bool send_to_worker(const WorkerProcess& worker, const std::string& bytes);

// Reads the worker's standard output to its end.
std::string read_worker_output(const WorkerProcess& worker);

// How a worker's process ended: by a signal (POSIX), or with an exit code.
struct WorkerEnd {
    int signal = 0;
    int exitCode = 0;
};

// Waits for the worker to end, keeping its process id (or handle) taken, so
// that no other process can get it while someone may still stop it.
void wait_for_worker_end(const WorkerProcess& worker);

// How the ended worker ended; gives its process id back to the system.
WorkerEnd collect_worker(WorkerProcess& worker);

// Ends the worker's process and waits for it to end, leaving its pipes,
// its process id and handle to whoever collects it.
void stop_worker_process(std::intptr_t process);

// Closes the worker's pipes and handle after it has ended.
void close_worker(WorkerProcess& worker);

// True in a process that start_worker started: it alone finds the mark that
// start_worker puts in its environment, which no sensor's parameters can set.
bool started_as_worker();

// In a worker: ends the process at once when standard input reaches its
// end or breaks, that is when the parent has gone; watched by a thread of
// its own after the input has been read.
void end_when_input_closes();

// Reads standard input up to `size` bytes; fewer when it ends first.
std::string read_standard_input(std::size_t size);

// Standard output without text-mode translation, for a worker whose bytes
// the parent prints as they are.
void make_standard_output_binary();
