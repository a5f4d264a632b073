// The steps of a listing run that the sequential run and the run with
// workers share: taking each entry's profile in listing order, and telling
// a system's end (its count, its console line, its reason).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "connection.h"
#include "runs.h"
#include "system_outcome.h"
#include "worker.h"

struct ListingCounters {
    unsigned noSystems = 0;
    unsigned processed = 0;
    unsigned failed = 0;
};

// What every system of the listing is measured with.
struct SystemRun {
    const RunPlace& place;
    const ConnectionOverrides overrides;
    const std::string& itemId;
    LabelKind labelKind;
    const std::string& sensorDirectory;
    bool console;
    bool rates;            // a counter item's channels in PRTG's difference mode
    bool failedChannel;    // ",FAILED": the channel Failed Systems comes last
    bool reasons;          // ",REASON": the closing text names each failed system's reason
    unsigned entries = 0;  // the listing's systems, measured or not
    // What the run waits in for a system when it waits outside a library
    // call of its own: the library operation its worker waits in.
    std::function<std::string()> waitsOutside;
};

// What the listing has done so far.
struct ListingProgress {
    ListingCounters counters;
    std::string reasons;  // "LABEL: reason" for each system not measured, with ",REASON"
};

// How an entry's turn goes.
enum class EntryTurn {
    missing,  // no profile: counted in NoSystems only, no console line
    refused,  // it leads out of the sensor directory: failed, with nothing read for it
    profile,  // its profile was read: measured, or failed already
};

// An entry of the listing with its profile: ready to be measured, or failed already.
struct PreparedSystem {
    EntryTurn turn = EntryTurn::profile;
    std::string entry;
    std::string label;
    ConnectionProfile profile;  // as the run uses it
    SystemOutcome outcome;      // failed when the profile fails
    std::string timeText;       // when its turn began, for the console line
};

// Takes the next entry: its profile read on top of `inherited`, checked
// and labelled. Nothing is printed or counted yet.
PreparedSystem prepare_system(const SystemRun& run, const std::string& entry, ConnectionProfile& inherited);

// True when the prepared system is to be connected to.
bool connects(const PreparedSystem& system);

// The listing's ending at the deadline, for the counters so far and the
// system waited for (none when `destination` is empty).
void set_listing_deadline(const SystemRun& run, ListingCounters counters, const std::string& destination,
                          bool measuredSystem);

// The system's end, under the output's lock: `printed` (what its
// measurement printed, when it was not printed as it went), its count, the
// deadline's ending after it, and its console line; the same for every
// turn an entry can take.
void finish_system(const SystemRun& run, ListingProgress& progress, const PreparedSystem& system,
                   const SystemOutcome& outcome, const std::string& printed);

// The document's end: Failed Systems with ",FAILED", the summary with the
// reasons, the closing; the run's last words.
void end_listing(const SystemRun& run, const ListingProgress& progress);

// Measures a prepared system in this process, as the sequential run does,
// its channel printed as soon as it is made.
SystemOutcome measure_in_this_process(const SystemRun& run, const ListingProgress& progress,
                                      const PreparedSystem& system);

// An entry of a listing with workers, planned before any starts: the
// prepared system and, when it is to be connected to, what its worker is
// told, with the system number the connection records would hold after
// the systems before it in the sequential run.
struct PlannedTurn {
    PreparedSystem system;
    WorkerRequest request;
    // The working directory's copy of its destination's configuration, for
    // the worker's folder.
    std::optional<std::string> configuration;
};
std::vector<PlannedTurn> plan_worker_turns(const SystemRun& run, const std::vector<std::string>& entries);

// What a worker left in its folder that the sequential run leaves in the
// working directory.
struct WorkerFiles {
    std::optional<std::string> trace;          // its trace lines
    std::optional<std::string> configuration;  // its copy of SapRfc.ini
};
WorkerFiles read_worker_files(const std::string& folder);

// Puts them where the sequential run leaves them: the trace lines after the
// working directory's, the configuration over the working directory's.
void merge_worker_files(const SensorWorld& world, const WorkerFiles& files);

// Measures the prepared systems in worker processes, at most `parallel` at
// once, printing each in listing order; the run's exit code.
int run_listing_with_workers(const SystemRun& run, ListingProgress& progress, const std::vector<std::string>& entries,
                             unsigned parallel);
