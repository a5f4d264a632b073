#include "deadline.h"

#include <chrono>

#include "console.h"

namespace {

// Waits for the deadline or the end of the run, whichever comes first.
void watch(Deadline& deadline, const SensorWorld& world) {
    std::unique_lock<std::mutex> state(deadline.stateMutex);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(deadline.seconds);
    if (deadline.stopped.wait_until(state, end, [&] { return deadline.stopping; })) return;
    state.unlock();
    // The lock is never given back: the run may still return from the
    // library and try to write, but nothing more reaches the output.
    deadline.outputMutex.lock();
    if (deadline.ending) world.write(deadline.ending());
    end_process_at_once(deadline.endingExitCode);
}

}  // namespace

SensorWorld start_deadline(Deadline& deadline, unsigned seconds, const SensorWorld& world) {
    deadline.seconds = seconds;
    deadline.watch = std::thread(watch, std::ref(deadline), world);
    SensorWorld guarded = world;
    guarded.write = [&deadline, write = world.write](const std::string& text) {
        const std::lock_guard<std::mutex> output(deadline.outputMutex);
        write(text);
    };
    return guarded;
}

void set_deadline_ending(Deadline& deadline, std::function<std::string()> ending, int exitCode) {
    const std::lock_guard<std::mutex> output(deadline.outputMutex);
    deadline.ending = std::move(ending);
    deadline.endingExitCode = exitCode;
}

void stop_deadline(Deadline& deadline) {
    {
        const std::lock_guard<std::mutex> state(deadline.stateMutex);
        deadline.stopping = true;
    }
    deadline.stopped.notify_one();
    if (deadline.watch.joinable()) deadline.watch.join();
}
