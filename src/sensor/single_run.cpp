#include "console_lines.h"
#include "failure_reason.h"
#include "failure_report.h"
#include "messages.h"
#include "runs.h"
#include "system_run.h"
#include "trace_finding.h"

namespace {

// A profile that fails before any library call: told as its outcome, then
// the run's error document.
int end_system(const SensorWorld& world, const std::string& profileName, SystemFailure failure,
               const std::string& message) {
    SystemOutcome outcome;
    outcome.failure = failure;
    outcome.message = outcome.reason = message;
    if (world.systemDone) world.systemDone(profileName, outcome);
    return fail_run(world, message);
}

}  // namespace

int run_single_system(const StartUp& start, const std::string& profileContents, const RunPlace& place) {
    const Invocation& invocation = start.invocation;
    const SensorWorld& world = place.world;
    RfcSession& session = place.session;
    const ConnectionOverrides& overrides = invocation.overrides;
    ConnectionProfile read;
    ConnectionProfile profile;
    if (const auto message =
            take_system_profile(profileContents, singleRunLineWidth, PasswordFailureMode::EndRun, start.profileName,
                                world.environmentVariable, overrides, read, profile))
        return end_system(world, start.profileName, SystemFailure::profileInvalid, *message);

    const unsigned seconds = invocation.deadlineSeconds;
    const ArmedEnding armed(
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

    MeasureSteps steps;
    steps.reasons = invocation.channels.reasons;
    SystemOutcome outcome = measure_system(session, world, profile, start.profileName, overrides, steps);
    // The channels in words only for whoever is told of the outcome.
    if (world.systemDone && outcome.failure == SystemFailure::none) {
        std::vector<QueueChannel> channels = queue_channels(outcome.totals);
        if (invocation.channels.queueLengths)
            for (const QueueChannel& channel : queue_length_channels(outcome.totals)) channels.push_back(channel);
        for (const QueueChannel& channel : channels)
            outcome.channels.emplace_back(channel.name, std::to_string(channel.total));
    }
    if (world.systemDone) world.systemDone(start.profileName, outcome);
    if (outcome.failure != SystemFailure::none) {
        // ",REASON": the library's own words after the message.
        const bool told = invocation.channels.reasons && outcome.reason != outcome.message;
        return fail_run(world, within_text_limit(outcome.message + (told ? " - " + outcome.reason : "")));
    }

    ResultDocument document;
    build_queue_document(document, outcome.totals, profile.destination, queue_label_code(invocation.optionString),
                         invocation.channels);
    // The document is out: past the deadline now the run only ends.
    write_ending(world, document.text, 0);
    // The trace file goes only when no other run in the directory may still
    // quote it; otherwise a later successful run deletes it.
    unlock(place.runsLock);
    // Without the lock file there is no telling (something else lies at its
    // name, or it cannot be made), and the file stays for a later run.
    if (place.runsLock.handle >= 0 && lock_exclusive(place.runsLock, 0)) world.removeFile(traceFileName);
    if (invocation.consoleReport) world.write(processed_line(world.timeOfDay(world.now())));
    return 0;
}
