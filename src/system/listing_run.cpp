#include "output/document.h"
#include "output/measurement.h"
#include "platform/console.h"
#include "platform/files.h"
#include "rfc/connection.h"
#include "rfc/failure_report.h"
#include "run/command_line.h"
#include "run/listing.h"
#include "system/profile.h"
#include "system/runs.h"

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

// Measures one system of the listing; false when it failed.
bool measure_system(const RunSettings& settings, const std::string& label, bool systemFailed,
                    const ConnectionProfile& profile) {
    static ConnectionRecords records;
    install_failure_report();
    ResultDocument document;
    std::string callStatus = "ERR";
    // A system whose profile already failed is not connected to: the values
    // left over from the profile before it belong to another system.
    if (systemFailed) return false;
    RfcHandle handle =
        rfc_open_connection(records, profile, connection_overrides(settings.optionString, settings.optionText));
    if (!handle) return false;
    MeasurementSettings measurement{true, settings.optionString, settings.itemId, profile.destination, label};
    measure_queues(handle, measurement, document, callStatus);
    RfcClose(handle);
    return callStatus == "OK";
}

}  // namespace

std::string option_display_text(const std::string& optionText) {
    std::string text = optionText;
    for (char& c : text)
        if (c == ':') c = ' ';
    return text.substr(0, text.find(" @"));
}

void run_listing(RunSettings& settings) {
    settings.optionString = upper_cased(settings.optionText);
    if (settings.consoleReport) write_output(settings.bannerLine + "\n");
    const std::string startTime = settings.bannerLine.substr(2, 8);
    if (settings.consoleReport)
        write_output("* " + startTime + " " + option_display_text(settings.optionText) + " State=Executing\n");

    ResultDocument document;
    begin_document(document);
    print_document(document, true);
    clear_document(document);

    ListingCounters counters;
    ConnectionProfile profile;
    for (const std::string& entry : listing_entries(settings.serverListing)) {
        ++counters.noSystems;
        std::optional<std::string> contents = read_text_file(settings.sensorDirectory + entry);
        if (!contents) continue;
        ProfileReading reading =
            read_profile(*contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry, profile);
        bool systemFailed = reading.systemFailed || !validate_profile(profile, entry).empty();
        const std::string label = system_label(settings.labelKind, entry, profile);
        const std::string timeText = time_of_day_text();
        bool processed = measure_system(settings, label, systemFailed, profile);
        ++(processed ? counters.processed : counters.failed);
        if (settings.consoleReport)
            write_output("\n" + system_line(timeText, entry, profile) + " State=" +
                         (processed ? "Processed" : "Rfc Failure") + "\n");
    }

    begin_text(document);
    append_text(document, "(***) " + settings.itemId + ": NoSystems=" + std::to_string(counters.noSystems) +
                              ", Processed=" + std::to_string(counters.processed) +
                              ", Failed=" + std::to_string(counters.failed));
    end_text(document);
    end_document(document);
    print_document(document, true);
    if (settings.consoleReport)
        write_output("\n* " + time_of_day_text() + " SAP " + programName + " now processed...\n");
    end_process(0);
}
