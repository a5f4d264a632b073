#include "system_run.h"

#include "failure_reason.h"
#include "messages.h"
#include "request_queue.h"
#include "rfc_backend.h"
#include "trace_finding.h"

std::optional<std::string> take_system_profile(const std::string& contents, std::size_t lineWidth,
                                               PasswordFailureMode mode, const std::string& profileName,
                                               const EnvironmentLookup& environment,
                                               const ConnectionOverrides& overrides, ConnectionProfile& inherited,
                                               ConnectionProfile& system) {
    std::optional<std::string> message = read_profile(contents, lineWidth, mode, profileName, inherited);
    // The next profile inherits a User or Password that names a variable
    // as written, and takes the variable's value itself.
    system = inherited;
    if (message) return message;
    if ((message = take_credentials(system, environment, profileName))) return message;
    if ((message = validate_profile(system, profileName))) return message;
    if ((message = host_override_refusal(overrides, system, profileName))) return message;
    return system_number_override_refusal(overrides, profileName);
}

void add_item_channel(const std::string& itemId, const std::string& label, SystemOutcome& outcome) {
    if (outcome.failure != SystemFailure::none) return;
    if (const auto total = item_total(outcome.totals, itemId))
        outcome.channels.emplace_back(label, std::to_string(*total));
}

namespace {

SystemOutcome failed(SystemFailure failure, std::string message) {
    SystemOutcome outcome;
    outcome.failure = failure;
    outcome.reason = message;
    outcome.message = std::move(message);
    return outcome;
}

}  // namespace

SystemOutcome measure_system(RfcSession& session, const SensorWorld& world, const ConnectionProfile& profile,
                             const std::string& profileName, const ConnectionOverrides& overrides,
                             const MeasureSteps& steps) {
    const std::optional<std::string> configuration =
        world.readRawFile(destination_configuration_name(profile.destination));
    if (configuration && !fits_connect_string(profile))
        return failed(SystemFailure::profileInvalid, invalid_parameters_message(profileName));
    if (configuration && steps.showConfigured) world.write(configured_destination_line(profile.destination));
    const auto writeConfiguration = [&world](const std::string& bytes) {
        return world.replaceFile(configurationFileName, bytes);
    };
    if (!rfc_open_connection(session, profile, overrides, configuration, writeConfiguration)) {
        SystemOutcome outcome = failed(SystemFailure::logonRefused, rfc_open_failed_message(profile.destination));
        // The library was never asked: its last error would be another call's.
        if (!session.openProblem.empty()) {
            outcome.reason = session.openProblem;
        } else if (steps.reasons) {
            const LibraryError error = library_last_error();
            const std::string reason = library_reason(error.key, error.message);
            if (!reason.empty()) outcome.reason = reason;
        }
        return outcome;
    }
    const QueueCall call = call_request_queue(session);
    const bool ok = call.status == CallStatus::Ok;
    SystemOutcome outcome;
    if (ok) {
        outcome.totals = sum_queue_lines(call.lines);
        if (steps.measured) steps.measured(outcome.totals);
    }
    // What other runs' libraries write to the trace file from now on is
    // theirs: the finding is read up to the size the file has at this moment.
    const bool traceFile = rfc_backend().writesTraceFile;
    const std::optional<std::uint64_t> traceSize =
        ok || !steps.traceFinding || !traceFile ? std::nullopt : world.fileSize(traceFileName);
    // A library without a trace file keeps the call's finding in its last error.
    const std::optional<std::string> recordFinding =
        ok || !steps.traceFinding || traceFile ? std::nullopt : std::optional(library_last_error().message);
    close_connection(session);
    if (ok) return outcome;
    std::string message = call_failure_text(call.code, call.exceptionText);
    if (steps.traceFinding)
        message += trace_finding_text(traceFile ? read_trace_finding(world, traceSize) : recordFinding);
    return failed(SystemFailure::callFailed, message);
}
