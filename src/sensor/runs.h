// The sensor's runs: start-up, then the run for one system or the run over
// the systems of a listing. Each returns the process's exit code; only the
// RFC failure report ends the process from inside.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "command_line.h"
#include "deadline.h"
#include "listing.h"
#include "process_lock.h"
#include "rfc_session.h"
#include "sensor_world.h"

// The lock file that every run in the working directory holds shared.
inline constexpr const char* runsLockFileName = "wickerby-runs.lock";

// Another run holds the lock alone only while it deletes the trace file, a
// moment; a run waits this long at most, so that a process holding it for
// longer holds no sensor up.
inline constexpr unsigned runsLockMilliseconds = 250;

// The console line that says the runs lock is not held, or nothing when it is.
std::string runs_lock_console_line(const ProcessLock& lock);

// What start-up found, written once and then only read.
struct StartUp {
    Invocation invocation;
    std::time_t startTime;        // when the run started
    std::string profileName;      // the completed file name of the profile or listing
    std::string sensorDirectory;  // ends in a backslash, or empty for the working directory
};

// The whole run for the arguments after the program name.
int run_sensor(const std::vector<std::string>& arguments, const SensorWorld& world);

// What a run works with besides what start-up found: the library session,
// the world it writes to (under the deadline's lock) and the deadline.
struct RunPlace {
    RfcSession& session;
    const SensorWorld& world;
    Deadline& deadline;
    // Held shared by every run in the working directory for its lifetime, so
    // that a run can tell whether it is alone there.
    ProcessLock& runsLock;
};

// Measures the one system of the profile that start-up found.
int run_single_system(const StartUp& start, const std::string& profileContents, const RunPlace& place);

// Measures every system of the listing, one channel each.
int run_listing(const StartUp& start, const ServerListing& listing, const RunPlace& place);
