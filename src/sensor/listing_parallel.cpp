// A listing run with ",PARALLEL": each system that is to be connected to is
// measured by a worker process in a working directory of its own, at most
// `parallel` at once, and the parent prints every system's output in
// listing order, so that standard output is byte for byte the sequential
// run's.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "listing_steps.h"
#include "private_folder.h"
#include "text_helpers.h"
#include "trace_finding.h"
#include "worker.h"
#include "worker_process.h"

namespace {

// One system's place in the run.
struct Turn {
    PreparedSystem system;
    WorkerRequest request;
    std::string folder;  // the worker's working directory, a host path; empty without a worker
    bool done = false;   // the worker has ended and its answer is in
    std::string output;  // its standard output
    int exitCode = 0;
    std::intptr_t process = -1;  // while it runs, for the deadline to end it
};

// What the worker threads and the parent share.
struct Workers {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Turn> turns;
    unsigned running = 0;
};

// The system number the connection records would hold after this system
// in the sequential run: its own, unless it has none or goes through the
// gateway, or fails before the records are filled.
int carried_system_number(const SensorWorld& world, const PreparedSystem& system, const ConnectionOverrides& overrides,
                          int before) {
    if (!connects(system)) return before;
    const ConnectionProfile& profile = system.profile;
    const bool configured = world.readRawFile(destination_configuration_name(profile.destination)).has_value();
    if (configured && !fits_connect_string(profile)) return before;
    const std::string sysnr = overrides.hasSystemNumber ? overrides.systemNumber : profile.sysnr;
    if (profile.mode == "R/2" || sysnr.empty()) return before;
    return c_integer(sysnr, NumberOverflow::Clamp);
}

// Makes the worker's folder with the destination's configuration in it, as
// the sensor finds it in the working directory.
std::string worker_folder(const SensorWorld& world, const PreparedSystem& system) {
    const std::optional<std::string> folder = private_folder_path();
    if (!folder || !make_private_folder(*folder)) return "";
    const std::string name = destination_configuration_name(system.profile.destination);
    if (const std::optional<std::string> configuration = world.readRawFile(name))
        write_private_file(*folder, name, *configuration);
    return *folder;
}

void run_worker_turn(Workers& workers, std::size_t index) {
    Turn& turn = workers.turns[index];
    std::string output;
    int exitCode = 2;
    if (std::optional<WorkerProcess> worker = start_worker({workerArgument}, turn.folder)) {
        {
            const std::lock_guard<std::mutex> hold(workers.mutex);
            turn.process = worker->process;
        }
        send_to_worker(*worker, encode_request(turn.request));
        output = read_worker_output(*worker);
        exitCode = wait_for_worker(*worker);
        close_worker(*worker);
    }
    const std::lock_guard<std::mutex> hold(workers.mutex);
    turn.process = -1;
    turn.output = std::move(output);
    turn.exitCode = exitCode;
    turn.done = true;
    --workers.running;
    workers.changed.notify_all();
}

// What the worker left in its folder goes where the sequential run leaves
// it: its trace lines appended to the working directory's, its copy of the
// configuration over the working directory's; then the folder goes.
void take_over_folder(const SensorWorld& world, const Turn& turn) {
    if (turn.folder.empty()) return;
    if (const std::optional<std::string> trace = read_private_file(turn.folder, traceFileName))
        world.appendFile(traceFileName, *trace);
    if (const std::optional<std::string> configuration = read_private_file(turn.folder, configurationFileName))
        world.replaceFile(configurationFileName, *configuration);
    remove_private_folder(turn.folder);
}

// At the deadline: every worker ended, every folder removed.
void end_all(Workers& workers) {
    for (Turn& turn : workers.turns) {
        stop_worker_process(turn.process);
        if (!turn.folder.empty()) remove_private_folder(turn.folder);
    }
}

}  // namespace

int run_listing_with_workers(const SystemRun& listingRun, ListingProgress& progress,
                             const std::vector<std::string>& entries, unsigned parallel) {
    SystemRun run = listingRun;
    auto workers = std::make_shared<Workers>();
    // The worker the run waits for names the operation it waits in.
    auto waitedFolder = std::make_shared<std::string>();
    run.waitsOutside = [waitedFolder] {
        const std::optional<std::string> operation = read_private_file(*waitedFolder, waitingFileName);
        return operation && !operation->empty() ? *operation : std::string("its worker process");
    };
    const RunPlace& place = run.place;
    // The profiles are read in listing order, each on top of the one before.
    ConnectionProfile inherited;
    int systemNumber = 0;
    for (const std::string& entry : entries) {
        Turn turn;
        turn.system = prepare_system(run, entry, inherited);
        if (connects(turn.system)) {
            WorkerRequest& request = turn.request;
            request.profile = turn.system.profile;
            request.profileName = entry;
            request.label = turn.system.label;
            request.itemId = run.itemId;
            request.console = run.console;
            request.rates = run.rates;
            request.reasons = run.reasons;
            request.overrides = run.overrides;
            request.systemNumber = systemNumber;
        }
        systemNumber = carried_system_number(place.world, turn.system, run.overrides, systemNumber);
        workers->turns.push_back(std::move(turn));
    }
    set_deadline_cleanup(place.deadline, [workers] {
        const std::lock_guard<std::mutex> hold(workers->mutex);
        end_all(*workers);
    });

    // A parent that PRTG killed left its workers' folders behind.
    remove_abandoned_private_folders();
    std::vector<std::thread> threads;
    std::size_t next = 0;  // the next turn to start
    for (std::size_t printed = 0; printed < workers->turns.size(); ++printed) {
        std::unique_lock<std::mutex> hold(workers->mutex);
        // Start as many as may run, in listing order.
        for (; next < workers->turns.size() && workers->running < parallel; ++next) {
            Turn& turn = workers->turns[next];
            if (!connects(turn.system)) continue;
            turn.folder = worker_folder(place.world, turn.system);
            ++workers->running;
            threads.emplace_back(run_worker_turn, std::ref(*workers), next);
        }
        Turn& turn = workers->turns[printed];
        ++progress.counters.noSystems;
        if (connects(turn.system)) {
            {
                const OutputHold output(place.deadline.outputMutex);
                *waitedFolder = turn.folder;
                set_listing_deadline(run, progress.counters, turn.system.profile.destination, false);
            }
            workers->changed.wait(hold, [&] { return turn.done; });
        }
        hold.unlock();
        if (!connects(turn.system)) {
            finish_system(run, progress, turn.system, turn.system.outcome, "");
            continue;
        }
        const WorkerAnswer answer = decode_answer(turn.output);
        take_over_folder(place.world, turn);
        if (!answer.outcome) {
            // The worker ended inside the library's failure handler: its
            // block is the run's last words, as in the sequential run.
            {
                const std::lock_guard<std::mutex> all(workers->mutex);
                end_all(*workers);
            }
            for (std::thread& thread : threads) thread.join();
            return write_ending(place.world, answer.printed, turn.exitCode == 0 ? 1 : turn.exitCode);
        }
        finish_system(run, progress, turn.system, *answer.outcome, answer.printed);
    }
    for (std::thread& thread : threads) thread.join();
    set_deadline_cleanup(place.deadline, nullptr);
    end_listing(run, progress);
    return 0;
}
