// A listing run with ",PARALLEL": each system that is to be connected to is
// measured by a worker process in a working directory of its own, at most
// `parallel` at once, and the parent prints every system's output in
// listing order, so that standard output is byte for byte the sequential
// run's.
//
// Two locks meet here: the workers' mutex and the deadline's output lock.
// The output lock may be held while the workers' mutex is taken (the
// deadline's clean-up, the failure report's), never the other way round:
// no thread holding the workers' mutex waits for the output lock, so the
// deadline's ending always gets through.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "failure_report.h"
#include "listing_steps.h"
#include "private_folder.h"
#include "rfc_loader.h"
#include "text_helpers.h"
#include "trace_finding.h"
#include "worker.h"
#include "worker_process.h"

namespace {

// How a turn's worker went, as its thread found it.
struct TurnResult {
    bool inParent = false;  // no worker could be started: the parent measures the system
    std::string output;     // the worker's standard output
    WorkerEnd end;
    WorkerFiles files;
};

// One system's place in the run.
struct Turn {
    PlannedTurn plan;
    std::string folder;  // the worker's working directory, a host path, named before its thread starts
    // Under the workers' mutex:
    std::intptr_t process = -1;  // while it runs, for whoever stops the run
    bool done = false;           // its thread has finished and result is in
    TurnResult result;
};

// What the turn threads and the parent share, under `mutex`.
struct Workers {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Turn> turns;
    unsigned running = 0;
    bool stopping = false;  // no worker starts any more
};

// A worker process and its folder: ended, closed and removed when it goes.
struct Worker {
    WorkerProcess process;
    std::string folder;
    Worker() = default;
    ~Worker() {
        if (process.process != -1) {
            stop_worker_process(process.process);
            collect_worker(process);
        }
        close_worker(process);
        if (!folder.empty()) remove_private_folder(folder);
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
};

// Ends every worker and removes every folder; the caller holds the mutex.
// A turn thread checks `stopping` under the mutex before it makes a folder
// or starts a process, so none is made after this.
void stop_all(Workers& workers) {
    workers.stopping = true;
    for (Turn& turn : workers.turns) {
        if (turn.process != -1) stop_worker_process(turn.process);
        if (!turn.done && !turn.folder.empty()) remove_private_folder(turn.folder);
    }
}

// Makes the worker's folder, with the destination's configuration in it as
// the sensor finds it in the working directory, and starts the worker
// there; under the mutex, so that whoever stops the run finds both.
bool start_turn_worker(Workers& workers, Turn& turn, Worker& worker) {
    const std::lock_guard<std::mutex> hold(workers.mutex);
    if (workers.stopping || !make_private_folder(turn.folder)) return false;
    worker.folder = turn.folder;
    const PlannedTurn& plan = turn.plan;
    const std::string name = destination_configuration_name(plan.system.profile.destination);
    if (plan.configuration && !write_private_file(worker.folder, name, *plan.configuration)) return false;
    std::optional<WorkerProcess> started = start_worker({workerArgument}, worker.folder);
    if (!started) return false;
    worker.process = *started;
    turn.process = started->process;
    return true;
}

// The worker's whole life, on a thread of its own.
TurnResult run_turn_worker(Workers& workers, Turn& turn) {
    TurnResult result;
    Worker worker;
    if (!start_turn_worker(workers, turn, worker)) {
        result.inParent = true;
        return result;
    }
    // A worker that ended before it read its request tells how it ended.
    if (!send_to_worker(worker.process, encode_request(turn.plan.request))) stop_worker_process(worker.process.process);
    result.output = read_worker_output(worker.process);
    wait_for_worker_end(worker.process);
    {
        // From now on nobody stops it: its process id may be collected.
        const std::lock_guard<std::mutex> hold(workers.mutex);
        turn.process = -1;
    }
    result.end = collect_worker(worker.process);
    result.files = read_worker_files(worker.folder);
    return result;
}

void run_turn(Workers& workers, std::size_t index) {
    Turn& turn = workers.turns[index];
    TurnResult result = run_turn_worker(workers, turn);
    const std::lock_guard<std::mutex> hold(workers.mutex);
    turn.result = std::move(result);
    turn.done = true;
    --workers.running;
    workers.changed.notify_all();
}

// The turn threads: when they go, every worker is ended and every thread joined.
struct TurnThreads {
    Workers& workers;
    std::vector<std::thread> threads;
    ~TurnThreads() {
        {
            const std::lock_guard<std::mutex> hold(workers.mutex);
            stop_all(workers);
        }
        for (std::thread& thread : threads) thread.join();
    }
};

// Starts as many turns as may run, in listing order; a turn without a
// folder name runs in the parent. The name is given under the mutex, as
// whoever stops the run reads it.
void start_turns(TurnThreads& threads, std::size_t& next, unsigned parallel) {
    Workers& workers = threads.workers;
    for (; next < workers.turns.size(); ++next) {
        Turn& turn = workers.turns[next];
        if (!connects(turn.plan.system)) continue;
        const std::string folder = private_folder_path().value_or("");
        {
            const std::lock_guard<std::mutex> hold(workers.mutex);
            if (workers.running >= parallel) return;
            turn.folder = folder;
            turn.done = folder.empty();
            turn.result.inParent = folder.empty();
            if (folder.empty()) continue;
            ++workers.running;
        }
        threads.threads.emplace_back(run_turn, std::ref(workers), next);
    }
}

TurnResult wait_for_turn(Workers& workers, Turn& turn) {
    std::unique_lock<std::mutex> hold(workers.mutex);
    workers.changed.wait(hold, [&] { return turn.done; });
    return std::move(turn.result);
}

// The system number the connection records would hold after this system
// in the sequential run: its own, unless it has none or goes through the
// gateway, or fails before the records are filled.
int carried_system_number(const PlannedTurn& turn, const ConnectionOverrides& overrides, int before) {
    if (!connects(turn.system)) return before;
    const ConnectionProfile& profile = turn.system.profile;
    if (turn.configuration && !fits_connect_string(profile)) return before;
    const std::string sysnr = overrides.hasSystemNumber ? overrides.systemNumber : profile.sysnr;
    if (profile.mode == "R/2" || sysnr.empty()) return before;
    return c_integer(sysnr, NumberOverflow::Clamp);
}

}  // namespace

std::vector<PlannedTurn> plan_worker_turns(const SystemRun& run, const std::vector<std::string>& entries) {
    std::vector<PlannedTurn> turns;
    // The profiles are read in listing order, each on top of the one before.
    ConnectionProfile inherited;
    int systemNumber = 0;
    for (const std::string& entry : entries) {
        PlannedTurn turn;
        turn.system = prepare_system(run, entry, inherited);
        if (connects(turn.system)) {
            turn.configuration =
                run.place.world.readRawFile(destination_configuration_name(turn.system.profile.destination));
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
            request.library = loaded_rfc_library();
        }
        systemNumber = carried_system_number(turn, run.overrides, systemNumber);
        turns.push_back(std::move(turn));
    }
    return turns;
}

WorkerFiles read_worker_files(const std::string& folder) {
    return {read_private_file(folder, traceFileName), read_private_file(folder, configurationFileName)};
}

void merge_worker_files(const SensorWorld& world, const WorkerFiles& files) {
    if (files.trace) world.appendFile(traceFileName, *files.trace);
    if (files.configuration) world.replaceFile(configurationFileName, *files.configuration);
}

int run_listing_with_workers(const SystemRun& listingRun, ListingProgress& progress,
                             const std::vector<std::string>& entries, unsigned parallel) {
    SystemRun run = listingRun;
    const RunPlace& place = run.place;
    auto workers = std::make_shared<Workers>();
    // The worker the run waits for names the operation it waits in; set and
    // read under the output lock.
    auto waitedFolder = std::make_shared<std::string>();
    run.waitsOutside = [waitedFolder]() -> std::string {
        // A system measured in the parent: its session tells.
        if (waitedFolder->empty()) return "";
        const std::optional<std::string> operation = read_private_file(*waitedFolder, waitingFileName);
        return operation && !operation->empty() ? *operation : std::string("its worker process");
    };
    for (PlannedTurn& plan : plan_worker_turns(run, entries)) {
        Turn turn;
        turn.plan = std::move(plan);
        workers->turns.push_back(std::move(turn));
    }

    // A parent that PRTG killed left its workers' folders behind.
    remove_abandoned_private_folders();
    const DeadlineCleanUp cleanUp(place.deadline, [workers] {
        const std::lock_guard<std::mutex> hold(workers->mutex);
        stop_all(*workers);
    });
    TurnThreads threads{*workers, {}};
    std::size_t next = 0;  // the next turn to start
    for (Turn& turn : workers->turns) {
        start_turns(threads, next, parallel);
        ++progress.counters.noSystems;
        const PreparedSystem& system = turn.plan.system;
        if (!connects(system)) {
            finish_system(run, progress, system, system.outcome, "");
            continue;
        }
        {
            const OutputHold output(place.deadline.outputMutex);
            *waitedFolder = turn.folder;
            set_listing_deadline(run, progress.counters, system.profile.destination, false);
        }
        const TurnResult result = wait_for_turn(*workers, turn);
        if (result.inParent) {
            // As the sequential run measures it, from the records the systems
            // before it left; the deadline names the operation it waits in.
            {
                const OutputHold output(place.deadline.outputMutex);
                waitedFolder->clear();
            }
            place.session.records.r3.systemNumber = turn.plan.request.systemNumber;
            install_failure_report();
            finish_system(run, progress, system, measure_in_this_process(run, progress, system), "");
            continue;
        }
        merge_worker_files(place.world, result.files);
        const WorkerAnswer answer = decode_answer(result.output);
        if (answer.outcome) {
            finish_system(run, progress, system, *answer.outcome, answer.printed);
        } else if (answer.failureReported && result.end.signal == 0 && result.end.exitCode == 1) {
            // The worker ended inside the library's failure handler: its
            // block is the run's last words, as in the sequential run.
            return write_ending(place.world, answer.printed, 1);
        } else {
            finish_system(run, progress, system, worker_ended_outcome(result.end.signal, result.end.exitCode), "");
        }
    }
    end_listing(run, progress);
    return 0;
}
