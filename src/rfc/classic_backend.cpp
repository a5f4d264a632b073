// The classic library librfc32 behind the seam: its records filled from the
// profile, RfcOpen or RfcOpenEx, the table created before the call and
// deleted after it, and its own failure handler.
#include "connection.h"
#include "failure_report.h"
#include "rfc_backend.h"
#include "rfc_loader.h"

namespace {

bool classic_open(RfcSession& session, const ConnectionProfile& profile, const ConnectionOverrides& overrides,
                  const std::optional<std::string>& configuration, const ConfigurationWriter& writeConfiguration) {
    session.handle = classic_open_connection(session, profile, overrides, configuration, writeConfiguration);
    return session.handle != 0;
}

QueueCall classic_call(RfcSession& session) {
    session.table = create_queue_table();
    return classic_call_request_queue(session, session.handle, session.table);
}

void classic_close(RfcSession& session) {
    delete_queue_table(session.table);
    session.table = nullptr;
    classic_close_connection(session, session.handle);
    session.handle = 0;
}

void classic_close_every() {
    rfc_operations().RfcClose(0);
}

// The library reports no version of its own: its file's, where Windows has one.
std::string classic_version() {
    const std::optional<std::string> version = library_file_version(rfc_library_path());
    return version ? "file version " + *version : "without a file version";
}

}  // namespace

const RfcBackend& classic_backend() {
    static const RfcBackend backend{rfcLibraryName,
                                    classic_open,
                                    classic_call,
                                    classic_close,
                                    classic_last_error,
                                    true,
                                    install_classic_failure_report,
                                    classic_close_every,
                                    classic_version};
    return backend;
}
