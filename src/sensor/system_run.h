// The run for one system, written once: the profile read and checked, then
// the connection opened, the request queues called and summed, the
// connection closed. The single run, the listing, check and test all take
// its outcome; only what each prints around it differs.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "connection.h"
#include "credentials.h"
#include "profile.h"
#include "queue_table.h"
#include "rfc_session.h"
#include "sensor_world.h"
#include "system_outcome.h"

// The profile of one system, read from the file's contents on top of what
// `inherited` holds (a listing's profiles inherit from the ones before,
// and `inherited` keeps what this file says), with PRTG's credentials
// taken and every check made, the host override's included. The system
// profile is filled in every case; the message of the first problem.
std::optional<std::string> take_system_profile(const std::string& contents, std::size_t lineWidth,
                                               PasswordFailureMode mode, const std::string& profileName,
                                               const EnvironmentLookup& environment,
                                               const ConnectionOverrides& overrides, ConnectionProfile& inherited,
                                               ConnectionProfile& system);

// What the caller wants of a measurement besides its outcome.
struct MeasureSteps {
    bool showConfigured = true;  // print the configured destination's line
    bool traceFinding = true;    // a failed call's message quotes the trace file
    bool reasons = false;        // a refused logon asks the library why (",REASON")
    // Told the totals at once, before the table is deleted and the
    // connection closed: a listing prints the system's channel then.
    std::function<void(const QueueTotals&)> measured;
};

// A listing's system measured: the channel its item names, under the
// system's label, in the outcome's channels.
void add_item_channel(const std::string& itemId, const std::string& label, SystemOutcome& outcome);

// Connects to the system of a checked profile, measures and closes.
SystemOutcome measure_system(RfcSession& session, const SensorWorld& world, const ConnectionProfile& profile,
                             const std::string& profileName, const ConnectionOverrides& overrides,
                             const MeasureSteps& steps);
