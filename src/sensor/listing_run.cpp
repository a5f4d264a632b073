#include "console_lines.h"
#include "failure_reason.h"
#include "failure_report.h"
#include "messages.h"
#include "runs.h"
#include "system_run.h"
#include "text_helpers.h"

namespace {

struct ListingCounters {
    unsigned noSystems = 0;
    unsigned processed = 0;
    unsigned failed = 0;
};

// What every system of the listing is measured with.
struct SystemRun {
    const RunPlace& place;
    const ConnectionOverrides overrides;
    const std::string& itemId;
    bool console;
    bool rates;            // a counter item's channels in PRTG's difference mode
    bool failedChannel;    // ",FAILED": the channel Failed Systems comes last
    bool reasons;          // ",REASON": the closing text names each failed system's reason
    unsigned entries = 0;  // the listing's systems, measured or not
};

// What the listing has done so far.
struct ListingProgress {
    ListingCounters counters;
    std::string reasons;  // "; LABEL: reason" for each system not measured, with ",REASON"
};

void note_failure(const SystemRun& run, ListingProgress& progress, const std::string& label,
                  const SystemOutcome& outcome) {
    if (run.place.world.systemDone) run.place.world.systemDone(label, outcome);
    if (run.reasons) progress.reasons += (progress.reasons.empty() ? "" : "; ") + label + ": " + outcome.reason;
}

std::string summary_text(const std::string& itemId, const ListingCounters& counters) {
    return "(***) " + itemId + ": NoSystems=" + std::to_string(counters.noSystems) +
           ", Processed=" + std::to_string(counters.processed) + ", Failed=" + std::to_string(counters.failed);
}

// The document's closing: the summary, and after it the closing line feed.
std::string closing_text(const std::string& summary) {
    ResultDocument document;
    begin_text(document);
    append_text(document, summary);
    end_text(document);
    end_document(document);
    return document.text + "\n";
}

// At the deadline the channels already printed stay and must reach PRTG,
// which drops every value of a document that carries an error: the channel
// Failed Systems, counting every system not measured, puts the sensor in
// PRTG's warning state instead, and the closing text tells the summary and
// what the run waited for. The system the run waits for counts as failed
// until its channel is out (`measuredSystem`).
void set_listing_deadline(const SystemRun& run, ListingCounters counters, const std::string& destination,
                          bool measuredSystem) {
    RfcSession& session = run.place.session;
    const unsigned seconds = run.place.deadline.seconds;
    if (!destination.empty() && !measuredSystem) ++counters.failed;
    const std::string failedChannel = failed_systems_channel(run.entries - counters.processed, run.failedChannel, true);
    set_deadline_ending(
        run.place.deadline,
        [&session, destination, seconds, failedChannel, summary = summary_text(run.itemId, counters)] {
            const char* operation = session.waitingIn;
            const std::string message = operation && !destination.empty()
                                            ? system_hangs_message(destination, seconds, operation)
                                            : run_deadline_message(seconds);
            return failedChannel + closing_text(summary + " - " + message);
        },
        2);
}

// An entry that no file name is like is a missing profile; one that leads
// out of the sensor directory names no system of this sensor and fails.
// Neither opens a file or makes a library call. False for an entry the run
// opens.
bool leaves_unopened(const SystemRun& run, const std::string& entry, ListingProgress& progress) {
    const EntryCheck check = check_listing_entry(entry);
    if (check.access == EntryAccess::Open) return false;
    const SensorWorld& world = run.place.world;
    if (world.entryNotOpened) world.entryNotOpened(entry, check);
    SystemOutcome outcome;
    outcome.failure =
        check.access == EntryAccess::Missing ? SystemFailure::profileMissing : SystemFailure::profileInvalid;
    outcome.reason = check.reason;
    note_failure(run, progress, entry, outcome);
    if (check.access == EntryAccess::Missing) return true;
    const OutputHold output(run.place.deadline.outputMutex);
    ++progress.counters.failed;
    set_listing_deadline(run, progress.counters, "", false);
    // Nothing was read for it, so no other system's values stand beside it.
    if (run.console)
        world.write("\n" + system_line(world.timeOfDay(world.now()), entry, ConnectionProfile{}) +
                    " State=Rfc Failure\n");
    return true;
}

}  // namespace

int run_listing(const StartUp& start, const ServerListing& listing, const RunPlace& place) {
    const SensorWorld& world = place.world;
    const bool console = start.invocation.consoleReport;
    // The systems run with the listing's option text: in a global listing the
    // allocation text takes the command line's place.
    const std::string systemOptions = upper_cased(listing.optionText);
    const std::vector<std::string> entries = listing_entries(listing.serverListing);
    const SystemRun run{place,
                        connection_overrides(systemOptions, listing.optionText),
                        listing.itemId,
                        console,
                        listing.channels.rates,
                        listing.channels.failedSystems,
                        listing.channels.reasons,
                        static_cast<unsigned>(entries.size())};
    if (console) {
        const std::string startTime = world.timeOfDay(start.startTime);
        world.write(banner_line(startTime) + "\n");
        world.write("* " + startTime + " " + option_display_text(listing.optionText) + " State=Executing\n");
        world.write(runs_lock_console_line(place.runsLock));
    }

    ResultDocument document;
    begin_document(document);
    print_document(world, document, true);

    ListingProgress progress;
    ListingCounters& counters = progress.counters;
    set_listing_deadline(run, counters, "", false);
    ConnectionProfile profile;
    for (const std::string& entry : entries) {
        ++counters.noSystems;
        if (leaves_unopened(run, entry, progress)) continue;
        const std::optional<std::string> contents = world.readTextFile(start.sensorDirectory + entry);
        if (!contents) {
            SystemOutcome missing;
            missing.failure = SystemFailure::profileMissing;
            missing.reason = "profile not found";
            note_failure(run, progress, entry, missing);
            continue;
        }
        SystemOutcome outcome;
        ConnectionProfile system = profile;
        // A profile saved as UTF-16 has no line to read: the system fails
        // instead of taking every field from the profile before it.
        if (has_utf16_mark(*contents)) {
            outcome.failure = SystemFailure::profileUnreadable;
            outcome.message = outcome.reason = utf16_file_message(entry);
        } else if (const auto message =
                       take_system_profile(*contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry,
                                           world.environmentVariable, run.overrides, profile, system)) {
            outcome.failure = SystemFailure::profileInvalid;
            outcome.message = outcome.reason = *message;
        }
        const std::string label = system_label(listing.labelKind, entry, system);
        const std::string timeText = console ? world.timeOfDay(world.now()) : "";
        set_listing_deadline(run, counters, system.destination, false);
        install_failure_report();
        // A system whose profile already failed is not connected to: the values
        // left over from the profile before it belong to another system.
        if (outcome.failure == SystemFailure::none) {
            MeasureSteps steps;
            // Outside console report mode this line would land inside the document.
            steps.showConfigured = console;
            steps.traceFinding = false;
            steps.reasons = run.reasons;
            // The channel is printed as soon as it is made, before the table
            // is deleted, and from then on the deadline counts the system as
            // measured.
            steps.measured = [&](const QueueTotals& totals) {
                const OutputHold output(place.deadline.outputMutex);
                world.write(item_channel(totals, run.itemId, label, run.rates));
                ListingCounters done = counters;
                ++done.processed;
                set_listing_deadline(run, done, system.destination, true);
            };
            outcome = measure_system(place.session, world, system, entry, run.overrides, steps);
            for (const QueueChannel& channel : queue_channels(outcome.totals))
                if (outcome.failure == SystemFailure::none && run.itemId == channel.name)
                    outcome.channels.emplace_back(label, std::to_string(channel.total));
        }
        const bool processed = outcome.failure == SystemFailure::none;
        if (!processed) note_failure(run, progress, label, outcome);
        else if (world.systemDone) world.systemDone(label, outcome);
        {
            const OutputHold output(place.deadline.outputMutex);
            ++(processed ? counters.processed : counters.failed);
            set_listing_deadline(run, counters, "", false);
        }
        if (console)
            world.write("\n" + system_line(timeText, entry, system) +
                        " State=" + (processed ? "Processed" : "Rfc Failure") + "\n");
    }

    // The failed systems' channel comes last and counts every system not
    // measured, a missing profile too; the summary counts as it always has.
    const std::string failedChannel =
        run.failedChannel ? failed_systems_channel(counters.noSystems - counters.processed, true, false) : "";
    const std::string summary = summary_text(listing.itemId, counters);
    const std::string text = progress.reasons.empty() ? summary : within_text_limit(summary + " - " + progress.reasons);
    write_ending(world, failedChannel + closing_text(text), 0);
    if (console) world.write(processed_line(world.timeOfDay(world.now())));
    return 0;
}
