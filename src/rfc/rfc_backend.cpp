#include "rfc_backend.h"

namespace {

// Chosen once, when the library has loaded, and read by every run after.
const RfcBackend* processBackend = nullptr;

}  // namespace

const RfcBackend& rfc_backend() {
    return processBackend ? *processBackend : classic_backend();
}

void use_rfc_backend(const RfcBackend& backend) {
    processBackend = &backend;
}

bool rfc_open_connection(RfcSession& session, const ConnectionProfile& profile, const ConnectionOverrides& overrides,
                         const std::optional<std::string>& configuration,
                         const ConfigurationWriter& writeConfiguration) {
    return rfc_backend().open(session, profile, overrides, configuration, writeConfiguration);
}

QueueCall call_request_queue(RfcSession& session) {
    return rfc_backend().callRequestQueue(session);
}

void close_connection(RfcSession& session) {
    rfc_backend().close(session);
}

LibraryError library_last_error() {
    return rfc_backend().lastError();
}

void install_failure_report() {
    rfc_backend().installFailureReport();
}
