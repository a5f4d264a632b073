#include "connection.h"
#include "console_lines.h"
#include "credentials.h"
#include "failure_reason.h"
#include "failure_report.h"
#include "messages.h"
#include "queue_table.h"
#include "request_queue.h"
#include "runs.h"
#include "trace_finding.h"

int run_single_system(const StartUp& start, const std::string& profileContents, const RunPlace& place) {
    const Invocation& invocation = start.invocation;
    const SensorWorld& world = place.world;
    RfcSession& session = place.session;
    ConnectionProfile profile;
    if (const auto message =
            read_profile(profileContents, singleRunLineWidth, PasswordFailureMode::EndRun, start.profileName, profile))
        return fail_run(world, *message);
    if (const auto message = take_credentials(profile, world.environmentVariable, start.profileName))
        return fail_run(world, *message);
    if (const auto message = validate_profile(profile, start.profileName)) return fail_run(world, *message);
    const ConnectionOverrides overrides = connection_overrides(invocation.optionString, invocation.optionText);
    if (const auto message = host_override_refusal(overrides, profile, start.profileName))
        return fail_run(world, *message);

    const unsigned seconds = invocation.deadlineSeconds;
    set_deadline_ending(
        place.deadline,
        [&session, destination = profile.destination, seconds] {
            const char* operation = session.waitingIn;
            return error_document_text(operation ? system_hangs_message(destination, seconds, operation)
                                                 : run_deadline_message(seconds));
        },
        2);

    install_failure_report();
    if (invocation.consoleReport) {
        const std::string timeText = world.timeOfDay(world.now());
        world.write(banner_line(world.timeOfDay(start.startTime)) + "\n");
        world.write(system_line(timeText, start.profileName, profile) + " State=Processing\n");
        world.write("* " + timeText + " " + programName + " - " + parameter_text(invocation.optionText) +
                    " State=Executing\n");
        world.write(runs_lock_console_line(place.runsLock));
    }

    const std::optional<std::string> configuration = destination_configuration(profile.destination);
    if (configuration && !fits_connect_string(profile))
        return fail_run(world, invalid_parameters_message(start.profileName));
    if (configuration) world.write(configured_destination_line(profile.destination));
    const RfcHandle handle =
        rfc_open_connection(session, profile, overrides, configuration);
    if (!handle) {
        std::string message = rfc_open_failed_message(profile.destination);
        if (invocation.channels.reasons) {
            const LibraryError error = library_last_error();
            const std::string reason = library_reason(error.key, error.message);
            if (!reason.empty()) message += " - " + reason;
        }
        return fail_run(world, within_text_limit(message));
    }

    const TableHandle table = create_queue_table();
    const QueueCall call = call_request_queue(session, handle, table);
    // What other runs' libraries write to the trace file from now on is
    // theirs: the finding is read up to the size the file has at this moment.
    const std::optional<std::uint64_t> traceSize =
        call.status == CallStatus::Ok ? std::nullopt : world.fileSize(traceFileName);
    delete_queue_table(table);
    close_connection(session, handle);
    if (call.status != CallStatus::Ok)
        return fail_run(world, call_failure_text(call.code, call.exceptionText) +
                                   trace_finding_text(read_trace_finding(world, traceSize)));

    ResultDocument document;
    build_queue_document(document, sum_queue_lines(call.lines), profile.destination,
                         queue_label_code(invocation.optionString), invocation.channels);
    // The document is out: past the deadline now the run only ends.
    write_ending(world, document.text, 0);
    // The trace file goes only when no other run in the directory may still
    // quote it; otherwise a later successful run deletes it.
    unlock(place.runsLock);
    // Without a lock file there is no telling, and the run deletes it as before.
    if (place.runsLock.handle < 0 || lock_exclusive(place.runsLock, 0)) world.removeFile(traceFileName);
    if (invocation.consoleReport) world.write(processed_line(world.timeOfDay(world.now())));
    return 0;
}
