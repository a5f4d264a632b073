#include "deadline.h"

#include <chrono>

#include "console.h"
#include "failure_report.h"

namespace {

// The run holds the output for moments only; one that holds it longer at
// the deadline is the failure report, waiting in the library's RfcClose.
constexpr auto outputGrace = std::chrono::seconds(2);

// Waits for the deadline or the end of the run, whichever comes first.
void watch(Deadline& deadline, const SensorWorld& world) {
    std::unique_lock<std::mutex> state(deadline.stateMutex);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(deadline.seconds);
    if (deadline.stopped.wait_until(state, end, [&] { return deadline.stopping; })) return;
    state.unlock();
    if (!deadline.outputMutex.try_lock_for(outputGrace))
        end_process_at_once(deadline.claimed ? deadline.claimedExitCode.load() : deadline.endingExitCode);
    // The run's own end is out already: it ends the process itself.
    if (deadline.claimed) {
        deadline.outputMutex.unlock();
        return;
    }
    // The lock is never given back: the run may still return from the
    // library and try to write, but nothing more reaches the output.
    deadline.claimed = true;
    if (deadline.ending) world.write(deadline.ending());
    // The document is out before anything the clean-up may wait for.
    flush_output();
    if (deadline.cleanUp) deadline.cleanUp();
    end_process_at_once(deadline.endingExitCode);
}

}  // namespace

SensorWorld start_deadline(Deadline& deadline, unsigned seconds, const SensorWorld& world) {
    deadline.seconds = seconds;
    deadline.watch = std::thread(watch, std::ref(deadline), world);
    SensorWorld guarded = world;
    guarded.write = [&deadline, write = world.write](const std::string& text) {
        const OutputHold output(deadline.outputMutex);
        write(text);
    };
    guarded.writeEnding = [&deadline, write = world.write](const std::string& text, int exitCode) {
        const OutputHold output(deadline.outputMutex);
        deadline.claimed = true;
        deadline.claimedExitCode = exitCode;
        write(text);
    };
    return guarded;
}

FailureReportClaim::FailureReportClaim(Deadline& deadline) {
    set_failure_report_claim([&deadline] {
        // Taken for good: the report ends the process.
        deadline.outputMutex.lock();
        deadline.claimed = true;
        deadline.claimedExitCode = 1;
        if (deadline.cleanUp) deadline.cleanUp();
    });
}

FailureReportClaim::~FailureReportClaim() {
    set_failure_report_claim(nullptr);
}

void set_deadline_ending(Deadline& deadline, std::function<std::string()> ending, int exitCode) {
    const OutputHold output(deadline.outputMutex);
    deadline.ending = std::move(ending);
    deadline.endingExitCode = exitCode;
}

ArmedEnding::ArmedEnding(Deadline& watched, std::function<std::string()> ending, int exitCode) : deadline(watched) {
    const OutputHold output(deadline.outputMutex);
    previous = std::move(deadline.ending);
    previousExitCode = deadline.endingExitCode;
    deadline.ending = std::move(ending);
    deadline.endingExitCode = exitCode;
}

ArmedEnding::ArmedEnding(Deadline& watched) : deadline(watched) {
    const OutputHold output(deadline.outputMutex);
    previous = deadline.ending;
    previousExitCode = deadline.endingExitCode;
}

ArmedEnding::~ArmedEnding() {
    set_deadline_ending(deadline, std::move(previous), previousExitCode);
}

DeadlineCleanUp::DeadlineCleanUp(Deadline& watched, std::function<void()> cleanUp) : deadline(watched) {
    const OutputHold output(deadline.outputMutex);
    previous = std::move(deadline.cleanUp);
    deadline.cleanUp = std::move(cleanUp);
}

DeadlineCleanUp::~DeadlineCleanUp() {
    const OutputHold output(deadline.outputMutex);
    deadline.cleanUp = std::move(previous);
}

Deadline::~Deadline() {
    stop_deadline(*this);
}

void stop_deadline(Deadline& deadline) {
    {
        const std::lock_guard<std::mutex> state(deadline.stateMutex);
        deadline.stopping = true;
    }
    deadline.stopped.notify_one();
    if (deadline.watch.joinable()) deadline.watch.join();
}
