// The run's own deadline. A library call can wait for ever on a system that
// does not answer, and PRTG then kills the sensor and shows only its own
// timeout. A watch on a second thread ends the run at the deadline instead,
// with a document that says where the run waited.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "sensor_world.h"

struct Deadline {
    unsigned seconds = 0;
    // Every write of the run holds it, so that the watch's text never lands
    // inside another; at the deadline the watch takes it for good. The run
    // holds it around a write and what the watch's ending must agree with.
    std::recursive_timed_mutex outputMutex;
    // What the watch prints at the deadline and the exit code it ends with;
    // the run keeps them true as it goes, under outputMutex.
    std::function<std::string()> ending;
    int endingExitCode = 2;
    // What the watch does after the ending, and the failure report before
    // its block, before the process ends: a listing's workers ended and
    // their folders removed. It runs holding outputMutex, so it must never
    // wait for a lock that a thread holds while it waits for outputMutex.
    std::function<void()> cleanUp;
    // The process's last words are written once: the run's own end (its
    // document, or the failure report's block) or the watch's, whichever
    // claims them first; the other writes nothing more.
    std::atomic<bool> claimed{false};
    std::atomic<int> claimedExitCode{0};

    std::mutex stateMutex;
    std::condition_variable stopped;
    bool stopping = false;
    std::thread watch;

    Deadline() = default;
    // The watch ends with the run, whichever way the run returns.
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
};

// Holds the run's output, and the watch with it, for as long as it lives.
using OutputHold = std::lock_guard<std::recursive_timed_mutex>;

// Starts the watch; the returned world writes under the deadline's lock,
// and its writeEnding claims the process's last words.
SensorWorld start_deadline(Deadline& deadline, unsigned seconds, const SensorWorld& world);

// What the run prints, and the exit code it ends with, if the deadline
// passes from now on.
void set_deadline_ending(Deadline& deadline, std::function<std::string()> ending, int exitCode);

// While it lives, the failure report claims the process's last words
// before it prints its block, so that no deadline's text follows the block.
struct FailureReportClaim {
    explicit FailureReportClaim(Deadline& deadline);
    ~FailureReportClaim();
    FailureReportClaim(const FailureReportClaim&) = delete;
    FailureReportClaim& operator=(const FailureReportClaim&) = delete;
};

// A run's ending, armed for as long as it lives (the run may change it as
// it goes); the ending before it is armed again when it goes, so that no
// ending outlives what it refers to, whichever way the run returns.
struct ArmedEnding {
    // Arms the ending; without one, keeps the ending armed now, which the run
    // then changes as it goes.
    ArmedEnding(Deadline& deadline, std::function<std::string()> ending, int exitCode);
    explicit ArmedEnding(Deadline& deadline);
    ~ArmedEnding();
    ArmedEnding(const ArmedEnding&) = delete;
    ArmedEnding& operator=(const ArmedEnding&) = delete;

    Deadline& deadline;
    std::function<std::string()> previous;
    int previousExitCode = 2;
};

// What the watch does at the deadline after printing the ending (and the
// failure report before its block), for as long as it lives; the clean-up
// before it is set again when it goes.
struct DeadlineCleanUp {
    DeadlineCleanUp(Deadline& deadline, std::function<void()> cleanUp);
    ~DeadlineCleanUp();
    DeadlineCleanUp(const DeadlineCleanUp&) = delete;
    DeadlineCleanUp& operator=(const DeadlineCleanUp&) = delete;

    Deadline& deadline;
    std::function<void()> previous;
};

// Ends the watch before the run returns.
void stop_deadline(Deadline& deadline);
