// The one seam between the runs and an RFC library. Each library the sensor
// can talk through (the classic librfc32, SAP's NetWeaver library) is one
// RfcBackend; the runs call the functions below, which hand on to the
// process's back end, and never see a library's own records.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "channel_options.h"
#include "profile.h"
#include "request_queue.h"
#include "rfc_session.h"

// The library's last error, in the classic library's four fields; a
// library without one of them leaves it empty.
struct LibraryError {
    std::string key;
    std::string status;
    std::string message;
    std::string internalStatus;
};

// Replaces a file with the configuration's bytes; false when it cannot.
using ConfigurationWriter = std::function<bool(const std::string& bytes)>;

struct RfcBackend {
    const char* name;  // "librfc32", "sapnwrfc"
    // Opens the connection to the profile's system, through the configured
    // destination when `configuration` holds its file; false when the
    // library gave no connection.
    bool (*open)(RfcSession& session, const ConnectionProfile& profile, const ConnectionOverrides& overrides,
                 const std::optional<std::string>& configuration, const ConfigurationWriter& writeConfiguration);
    // Calls TH_REQUEST_QUEUE over the open connection; on success with the
    // table's lines, which stay the library's until close.
    QueueCall (*callRequestQueue)(RfcSession& session);
    // Releases what the call left and closes the connection.
    void (*close)(RfcSession& session);
    LibraryError (*lastError)();
    // Whether a failed call's finding is in the trace file Dev_Rfc.Trc;
    // otherwise it is the last error's message.
    bool writesTraceFile;
    // Makes the failure report the library's handler where it has one.
    void (*installFailureReport)();
    // Closes every connection of the process, from the failure report.
    void (*closeEvery)();
    // The loaded library's version as a person reads it: "file version
    // 7.200.5.0", "version 7500.0.0 (...)". Only the profile tool asks.
    std::string (*version)();
};

// The classic library's back end, and the NetWeaver library's.
const RfcBackend& classic_backend();
const RfcBackend& netweaver_backend();

// The back end of the library loaded last; the classic one before any.
const RfcBackend& rfc_backend();
void use_rfc_backend(const RfcBackend& backend);

// The runs' calls, each handed to the process's back end.
bool rfc_open_connection(RfcSession& session, const ConnectionProfile& profile, const ConnectionOverrides& overrides,
                         const std::optional<std::string>& configuration,
                         const ConfigurationWriter& writeConfiguration);
QueueCall call_request_queue(RfcSession& session);
void close_connection(RfcSession& session);
LibraryError library_last_error();
void install_failure_report();
