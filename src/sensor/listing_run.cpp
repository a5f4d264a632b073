#include "connection.h"
#include "console_lines.h"
#include "credentials.h"
#include "failure_report.h"
#include "messages.h"
#include "queue_table.h"
#include "request_queue.h"
#include "runs.h"
#include "text_helpers.h"

namespace {

struct ListingCounters {
    unsigned noSystems = 0;
    unsigned processed = 0;
    unsigned failed = 0;
};

std::string system_label(LabelKind kind, const std::string& entry, const ConnectionProfile& profile) {
    switch (kind) {
    case LabelKind::Alias: return entry.size() > 4 ? entry.substr(0, entry.size() - 4) : entry;
    case LabelKind::Host: return profile.hostname;
    case LabelKind::Sid: return profile.destination;
    case LabelKind::Profile: break;
    }
    return entry;
}

// What every system of the listing is measured with.
struct SystemRun {
    const RunPlace& place;
    const ConnectionOverrides overrides;
    const std::string& itemId;
    bool console;
    bool rates;  // a counter item's channels in PRTG's difference mode
};

// Measures one system of the listing and prints its channel; false when it failed.
bool measure_system(const SystemRun& run, const std::string& label, bool systemFailed,
                    const ConnectionProfile& profile) {
    RfcSession& session = run.place.session;
    const SensorWorld& world = run.place.world;
    install_failure_report();
    // A system whose profile already failed is not connected to: the values
    // left over from the profile before it belong to another system.
    if (systemFailed) return false;
    const std::optional<std::string> configuration = destination_configuration(profile.destination);
    if (configuration && !fits_connect_string(profile)) return false;
    // Outside console report mode this line would land inside the document.
    if (configuration && run.console) world.write(configured_destination_line(profile.destination));
    const OpenedConnection opened = rfc_open_connection(session, profile, run.overrides, configuration);
    if (!opened.configurationLocked && run.console) world.write(configurationUnlockedLine);
    const RfcHandle handle = opened.handle;
    if (!handle) return false;
    const TableHandle table = create_queue_table();
    const QueueCall call = call_request_queue(session, handle, table);
    // The channel is printed as soon as it is made, before the table is deleted.
    if (call.status == CallStatus::Ok)
        world.write(item_channel(sum_queue_lines(call.lines), run.itemId, label, run.rates));
    delete_queue_table(table);
    close_connection(session, handle);
    return call.status == CallStatus::Ok;
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

// At the deadline the channels already printed stay, the system the run
// waits for counts as failed, and the document ends in PRTG's error state
// with the summary and what the run waited for.
void set_listing_deadline(const SystemRun& run, ListingCounters counters, const std::string& destination) {
    RfcSession& session = run.place.session;
    const unsigned seconds = run.place.deadline.seconds;
    const bool waitsForSystem = !destination.empty();
    if (waitsForSystem) ++counters.failed;
    set_deadline_ending(
        run.place.deadline,
        [&session, destination, seconds, summary = summary_text(run.itemId, counters)] {
            const char* operation = session.waitingIn;
            const std::string message = operation && !destination.empty()
                                            ? system_hangs_message(destination, seconds, operation)
                                            : run_deadline_message(seconds);
            return "\n<Error>1</Error>" + closing_text(summary + " - " + message);
        },
        2);
}

// An entry that no file name is like is a missing profile; one that leads
// out of the sensor directory names no system of this sensor and fails.
// Neither opens a file or makes a library call. False for an entry the run
// opens.
bool leaves_unopened(const SystemRun& run, const std::string& entry, ListingCounters& counters) {
    const EntryCheck check = check_listing_entry(entry);
    if (check.access == EntryAccess::Open) return false;
    const SensorWorld& world = run.place.world;
    if (world.entryNotOpened) world.entryNotOpened(entry, check);
    if (check.access == EntryAccess::Missing) return true;
    ++counters.failed;
    set_listing_deadline(run, counters, "");
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
    const SystemRun run{place, connection_overrides(systemOptions, listing.optionText), listing.itemId, console,
                        listing.channels.rates};
    if (console) {
        const std::string startTime = world.timeOfDay(start.startTime);
        world.write(banner_line(startTime) + "\n");
        world.write("* " + startTime + " " + option_display_text(listing.optionText) + " State=Executing\n");
    }

    ResultDocument document;
    begin_document(document);
    print_document(world, document, true);

    ListingCounters counters;
    set_listing_deadline(run, counters, "");
    ConnectionProfile profile;
    for (const std::string& entry : listing_entries(listing.serverListing)) {
        ++counters.noSystems;
        if (leaves_unopened(run, entry, counters)) continue;
        const std::optional<std::string> contents = world.readTextFile(start.sensorDirectory + entry);
        if (!contents) continue;
        const bool badPassword =
            read_profile(*contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry, profile).has_value();
        // The next profile inherits a User or Password that names a variable
        // as written, and takes the variable's value itself.
        ConnectionProfile system = profile;
        const bool systemFailed = badPassword ||
                                  take_credentials(system, world.environmentVariable, entry).has_value() ||
                                  validate_profile(system, entry).has_value();
        const std::string timeText = console ? world.timeOfDay(world.now()) : "";
        set_listing_deadline(run, counters, system.destination);
        const bool processed =
            measure_system(run, system_label(listing.labelKind, entry, system), systemFailed, system);
        ++(processed ? counters.processed : counters.failed);
        set_listing_deadline(run, counters, "");
        if (console)
            world.write("\n" + system_line(timeText, entry, system) +
                        " State=" + (processed ? "Processed" : "Rfc Failure") + "\n");
    }

    set_deadline_ending(place.deadline, nullptr, 0);
    // The failed systems' channel comes last, and only with a complete run:
    // a run ended by its deadline is in PRTG's error state already.
    const std::string failedChannel = listing.channels.failedSystems ? failed_systems_channel(counters.failed) : "";
    world.write(failedChannel + closing_text(summary_text(listing.itemId, counters)));
    if (console) world.write(processed_line(world.timeOfDay(world.now())));
    return 0;
}
