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
    bool rates;            // a counter item's channels in PRTG's difference mode
    bool failedChannel;    // ",FAILED": the channel Failed Systems comes last
    unsigned entries = 0;  // the listing's systems, measured or not
};

// Measures one system of the listing and prints its channel, telling
// `measured` in the same moment; false when it failed.
bool measure_system(const SystemRun& run, const std::string& label, bool systemFailed,
                    const ConnectionProfile& profile, const std::function<void()>& measured) {
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
    const RfcHandle handle = rfc_open_connection(session, profile, run.overrides, configuration);
    if (!handle) return false;
    const TableHandle table = create_queue_table();
    const QueueCall call = call_request_queue(session, handle, table);
    // The channel is printed as soon as it is made, before the table is
    // deleted, and from then on the deadline counts the system as measured.
    if (call.status == CallStatus::Ok) {
        const OutputHold output(run.place.deadline.outputMutex);
        world.write(item_channel(sum_queue_lines(call.lines), run.itemId, label, run.rates));
        measured();
    }
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
    const std::vector<std::string> entries = listing_entries(listing.serverListing);
    const SystemRun run{place,
                        connection_overrides(systemOptions, listing.optionText),
                        listing.itemId,
                        console,
                        listing.channels.rates,
                        listing.channels.failedSystems,
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

    ListingCounters counters;
    set_listing_deadline(run, counters, "", false);
    ConnectionProfile profile;
    for (const std::string& entry : entries) {
        ++counters.noSystems;
        if (leaves_unopened(run, entry, counters)) continue;
        const std::optional<std::string> contents = world.readTextFile(start.sensorDirectory + entry);
        if (!contents) continue;
        // A profile saved as UTF-16 has no line to read: the system fails
        // instead of taking every field from the profile before it.
        const bool unreadable = has_utf16_mark(*contents);
        const bool badPassword =
            unreadable ||
            read_profile(*contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry, profile).has_value();
        // The next profile inherits a User or Password that names a variable
        // as written, and takes the variable's value itself.
        ConnectionProfile system = profile;
        const bool systemFailed = badPassword ||
                                  take_credentials(system, world.environmentVariable, entry).has_value() ||
                                  validate_profile(system, entry).has_value() ||
                                  host_override_refusal(run.overrides, system, entry).has_value();
        const std::string timeText = console ? world.timeOfDay(world.now()) : "";
        set_listing_deadline(run, counters, system.destination, false);
        const auto measured = [&] {
            ListingCounters done = counters;
            ++done.processed;
            set_listing_deadline(run, done, system.destination, true);
        };
        const bool processed =
            measure_system(run, system_label(listing.labelKind, entry, system), systemFailed, system, measured);
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
    write_ending(world, failedChannel + closing_text(summary_text(listing.itemId, counters)), 0);
    if (console) world.write(processed_line(world.timeOfDay(world.now())));
    return 0;
}
