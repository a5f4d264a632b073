// A worker: the sensor started by a listing run with ",PARALLEL" to measure
// one system in a process and working directory of its own. The parent
// hands it the system as the listing resolved it through a pipe; the worker
// prints exactly what the listing run would print for that system while
// measuring it (its configured destination's line, its channel, or the RFC
// error block), then its outcome after a mark.
#pragma once

#include <optional>
#include <string>

#include "connection.h"
#include "profile.h"
#include "sensor_world.h"
#include "system_outcome.h"

// The one argument that starts a worker, together with the mark that only
// the parent puts in its environment (started_as_worker): typed as a
// sensor's parameter it is a profile name like any other.
inline constexpr const char* workerArgument = "<wickerby worker>";

struct WorkerRequest {
    ConnectionProfile profile;  // resolved and checked, the password in plain text
    std::string profileName;    // the listing's entry
    std::string label;          // the channel's name
    std::string itemId;
    bool console = false;
    bool rates = false;
    bool reasons = false;
    ConnectionOverrides overrides;
    // The system number the connection records hold from the systems
    // before, kept when this profile has none.
    int systemNumber = 0;
    // The RFC library the parent loaded, which the worker loads too.
    LibraryChoice library = LibraryChoice::either;
};

std::string encode_request(const WorkerRequest& request);
std::optional<WorkerRequest> decode_request(const std::string& text);

// The file of the worker's folder that names the library operation it
// waits in, for the parent's deadline.
inline constexpr const char* waitingFileName = "wickerby-waiting-in";

// Between what the worker printed and its outcome.
inline constexpr const char* outcomeMark = "\x1e\x1fwickerby worker outcome\x1f\x1e";

// Before the RFC error block of a worker ended by the library's failure
// handler, so that the parent tells it from a worker that died otherwise.
inline constexpr const char* failureReportMark = "\x1e\x1fwickerby worker failure report\x1f\x1e";

std::string encode_outcome(const SystemOutcome& outcome);

// The worker's standard output taken apart: what it printed (without the
// marks), its outcome when it got as far as telling it, and whether the
// failure report began.
struct WorkerAnswer {
    std::string printed;
    std::optional<SystemOutcome> outcome;
    bool failureReported = false;
};
WorkerAnswer decode_answer(const std::string& output);

// A worker that ended, by a signal or an exit code, without an outcome or
// the failure report's block: a failed system, whose reason says how.
SystemOutcome worker_ended_outcome(int signal, int exitCode);

// The worker's whole run: the request read from standard input, the system
// measured, the outcome told; the exit code (1 from inside the library's
// failure handler).
int run_worker(const SensorWorld& world);
