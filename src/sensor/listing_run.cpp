#include "console_lines.h"
#include "failure_reason.h"
#include "failure_report.h"
#include "listing_steps.h"
#include "messages.h"
#include "runs.h"
#include "system_run.h"
#include "text_helpers.h"

namespace {

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

}  // namespace

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
        [&session, destination, seconds, failedChannel, waitsOutside = run.waitsOutside,
         summary = summary_text(run.itemId, counters)] {
            std::string outside = waitsOutside ? waitsOutside() : "";
            const char* operation =
                session.waitingIn ? session.waitingIn.load() : (outside.empty() ? nullptr : outside.c_str());
            const std::string message = operation && !destination.empty()
                                            ? system_hangs_message(destination, seconds, operation)
                                            : run_deadline_message(seconds);
            return failedChannel + closing_text(summary + " - " + message);
        },
        2);
}

PreparedSystem prepare_system(const SystemRun& run, const std::string& entry, ConnectionProfile& inherited) {
    const SensorWorld& world = run.place.world;
    PreparedSystem prepared;
    prepared.entry = entry;
    prepared.label = entry;
    // An entry that no file name is like is a missing profile; one that
    // leads out of the sensor directory names no system of this sensor and
    // fails. Neither opens a file or makes a library call.
    const EntryCheck check = check_listing_entry(entry);
    if (check.access != EntryAccess::Open) {
        if (world.entryNotOpened) world.entryNotOpened(entry, check);
        prepared.turn = check.access == EntryAccess::Missing ? EntryTurn::missing : EntryTurn::refused;
        prepared.outcome.failure =
            check.access == EntryAccess::Missing ? SystemFailure::profileMissing : SystemFailure::profileInvalid;
        prepared.outcome.reason = check.reason;
        return prepared;
    }
    const std::optional<std::string> contents = world.readTextFile(run.sensorDirectory + entry);
    if (!contents) {
        prepared.turn = EntryTurn::missing;
        prepared.outcome.failure = SystemFailure::profileMissing;
        prepared.outcome.reason = "profile not found";
        return prepared;
    }
    prepared.profile = inherited;
    SystemOutcome& outcome = prepared.outcome;
    // A profile saved as UTF-16 has no line to read: the system fails
    // instead of taking every field from the profile before it.
    if (has_utf16_mark(*contents)) {
        outcome.failure = SystemFailure::profileUnreadable;
        outcome.message = outcome.reason = utf16_file_message(entry);
    } else if (const auto message =
                   take_system_profile(*contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry,
                                       world.environmentVariable, run.overrides, inherited, prepared.profile)) {
        outcome.failure = SystemFailure::profileInvalid;
        outcome.message = outcome.reason = *message;
    }
    prepared.label = system_label(run.labelKind, entry, prepared.profile);
    prepared.timeText = run.console ? world.timeOfDay(world.now()) : "";
    return prepared;
}

bool connects(const PreparedSystem& system) {
    return system.turn == EntryTurn::profile && system.outcome.failure == SystemFailure::none;
}

void finish_system(const SystemRun& run, ListingProgress& progress, const PreparedSystem& system,
                   const SystemOutcome& outcome, const std::string& printed) {
    const SensorWorld& world = run.place.world;
    const bool processed = outcome.failure == SystemFailure::none;
    if (!processed) note_failure(run, progress, system.label, outcome);
    else if (world.systemDone) world.systemDone(system.label, outcome);
    if (system.turn == EntryTurn::missing) return;
    const OutputHold output(run.place.deadline.outputMutex);
    if (!printed.empty()) world.write(printed);
    ++(processed ? progress.counters.processed : progress.counters.failed);
    set_listing_deadline(run, progress.counters, "", false);
    if (!run.console) return;
    // Nothing was read for a refused entry, so no other system's values stand beside it.
    const std::string line = system.turn == EntryTurn::refused
                                 ? system_line(world.timeOfDay(world.now()), system.entry, ConnectionProfile{})
                                 : system_line(system.timeText, system.entry, system.profile);
    world.write("\n" + line + " State=" + (processed ? "Processed" : "Rfc Failure") + "\n");
}

void end_listing(const SystemRun& run, const ListingProgress& progress) {
    const SensorWorld& world = run.place.world;
    const ListingCounters& counters = progress.counters;
    // The failed systems' channel comes last and counts every system not
    // measured, a missing profile too; the summary counts as it always has.
    const std::string failedChannel =
        run.failedChannel ? failed_systems_channel(counters.noSystems - counters.processed, true, false) : "";
    const std::string summary = summary_text(run.itemId, counters);
    const std::string text = progress.reasons.empty() ? summary : within_text_limit(summary + " - " + progress.reasons);
    write_ending(world, failedChannel + closing_text(text), 0);
    if (run.console) world.write(processed_line(world.timeOfDay(world.now())));
}

SystemOutcome measure_in_this_process(const SystemRun& run, const ListingProgress& progress,
                                      const PreparedSystem& system) {
    const SensorWorld& world = run.place.world;
    MeasureSteps steps;
    // Outside console report mode this line would land inside the document.
    steps.showConfigured = run.console;
    steps.traceFinding = false;
    steps.reasons = run.reasons;
    // The channel is printed before the table is deleted, and from then on
    // the deadline counts the system as measured.
    steps.measured = [&](const QueueTotals& totals) {
        const OutputHold output(run.place.deadline.outputMutex);
        world.write(item_channel(totals, run.itemId, system.label, run.rates));
        ListingCounters done = progress.counters;
        ++done.processed;
        set_listing_deadline(run, done, system.profile.destination, true);
    };
    SystemOutcome outcome =
        measure_system(run.place.session, world, system.profile, system.entry, run.overrides, steps);
    add_item_channel(run.itemId, system.label, outcome);
    return outcome;
}

int run_listing(const StartUp& start, const ServerListing& listing, const RunPlace& place) {
    const SensorWorld& world = place.world;
    const bool console = start.invocation.consoleReport;
    // The systems run with the listing's option text: in a global listing the
    // allocation text takes the command line's place.
    const std::vector<std::string> entries = listing_entries(listing.serverListing);
    const SystemRun run{place,
                        listing.overrides,
                        listing.itemId,
                        listing.labelKind,
                        start.sensorDirectory,
                        console,
                        listing.channels.rates,
                        listing.channels.failedSystems,
                        listing.channels.reasons,
                        static_cast<unsigned>(entries.size()),
                        nullptr};
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
    // Kept true by set_listing_deadline as the run goes, and given up with the run.
    const ArmedEnding armed(place.deadline);
    set_listing_deadline(run, progress.counters, "", false);
    if (listing.channels.parallel > 1 && !world.measureInTurn)
        return run_listing_with_workers(run, progress, entries, listing.channels.parallel);
    if (listing.channels.parallel > 1) world.measureInTurn();
    ConnectionProfile inherited;
    for (const std::string& entry : entries) {
        ++progress.counters.noSystems;
        const PreparedSystem system = prepare_system(run, entry, inherited);
        if (system.turn != EntryTurn::profile) {
            finish_system(run, progress, system, system.outcome, "");
            continue;
        }
        set_listing_deadline(run, progress.counters, system.profile.destination, false);
        install_failure_report();
        // A system whose profile already failed is not connected to: the values
        // left over from the profile before it belong to another system.
        const SystemOutcome outcome =
            connects(system) ? measure_in_this_process(run, progress, system) : system.outcome;
        finish_system(run, progress, system, outcome, "");
    }
    end_listing(run, progress);
    return 0;
}
