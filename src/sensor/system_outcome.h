// What the run for one system hands back: measured with its totals, or
// failed with a kind and the reason.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "queue_table.h"

// Why a system was not measured.
enum class SystemFailure {
    none,               // measured
    profileMissing,     // the listing's profile does not open
    profileUnreadable,  // saved as UTF-16
    profileInvalid,     // a bad password, a missing or wrong field, a credential not set, a host not allowed
    logonRefused,       // the library gave no connection
    callFailed,         // TH_REQUEST_QUEUE failed
    workerEnded,        // a listing's worker process ended without telling an outcome
};

struct SystemOutcome {
    SystemFailure failure = SystemFailure::none;
    // The numbered message a single run ends with; empty when measured.
    std::string message;
    // In words for PRTG (",REASON") and a person: the library's last error
    // for a refused logon, otherwise the message.
    std::string reason;
    QueueTotals totals;  // when measured
    // The channels it gave PRTG, name and value, as the run printed them.
    std::vector<std::pair<std::string, std::string>> channels;
};
