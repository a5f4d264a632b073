#include <array>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

#include "command_line.h"
#include "connection.h"
#include "credentials.h"
#include "listing.h"
#include "messages.h"
#include "profile.h"
#include "profile_search.h"
#include "profile_tool.h"
#include "queue_table.h"
#include "rfc_loader.h"
#include "runs.h"
#include "system_run.h"
#include "text_helpers.h"
#include "text_pieces.h"
#include "trace_finding.h"

namespace {

// PRTG does not officially support more than this many channels per sensor;
// a listing gives one channel per system.
constexpr std::size_t prtgChannelLimit = 50;

// The markers of a global listing's lines and the columns that hold the
// sensor key after them, compared upper-cased, as the sensor reads them.
constexpr const char* allocationLineMarker = "# GSNX: ";
constexpr const char* serverLineMarker = "# GSNG: ";
constexpr std::size_t sensorKeyStart = 8;
constexpr std::size_t markedColumns = sensorKeyStart + sensorKeyWidth;

// The fields a profile of a listing takes from the profiles before it when
// it has no line for them: the sensor keeps one profile for all systems, so
// the logon and the gateway of another system would be used.
struct CarriedField {
    std::string ConnectionProfile::*value;
    const char* name;
};
constexpr CarriedField carriedFields[] = {
    {&ConnectionProfile::user, "User"},
    {&ConnectionProfile::password, "Password"},
    {&ConnectionProfile::gwhost, "Gwhost"},
    {&ConnectionProfile::gwservice, "Gwservice"},
};
// For each carried field, the profile whose line gave its value.
using FieldSources = std::array<std::string, std::size(carriedFields)>;

std::string path_file_line(const std::optional<std::string>& pathFile) {
    std::string line = std::string("Path file ") + pathFileName + ": ";
    if (!pathFile) return line + "none\n";
    const std::string directory = path_file_directory(*pathFile);
    if (directory.empty()) return line + "no directory line, so the root of the current drive\n";
    return line + "directory " + directory + "\n";
}

// A field as the sensor holds it, quoted so that blanks show; of the
// password only whether there is one, since even its length helps guess it.
std::string field_line(const ProfileField& field, const std::string& value) {
    std::string line = std::string(field.key) + " ";
    if (field.value != &ConnectionProfile::password) line += "\"" + value + "\"";
    else if (value.empty()) line += "(empty)";
    else line += "(set, not shown)";
    if (const auto problem = profile_field_problem(field, value)) line += "  <- " + *problem;
    return line + "\n";
}

// Taken, for the checks, as the value of a variable the tool has none for.
constexpr const char* unsetVariableStandIn = "PRTG";

// The sensor's environment as far as the tool knows it. PRTG sets its
// variables for the sensor alone, so one the tool has no value for is taken
// as one that passes the checks, and the rest of the profile is checked as
// the sensor would check it.
EnvironmentLookup sensor_environment(const ToolContext& context) {
    return [&context](const std::string& name) -> std::optional<std::string> {
        std::optional<std::string> value = context.environmentVariable(name);
        if (value && !value->empty()) return value;
        return std::string(unsetVariableStandIn);
    };
}

// A User or Password that names a variable: where its value comes from,
// never the value.
std::string source_line(const ProfileField& field, const std::string& variable, const std::string& checkedValue,
                        const ToolContext& context) {
    const std::optional<std::string> value = context.environmentVariable(variable);
    std::string line = std::string(field.key) + " " + credential_source_text(variable, value);
    if (!value || value->empty()) return line + " (only a warning: PRTG sets it for the sensor, not for this tool)\n";
    if (const auto problem = profile_field_problem(field, checkedValue)) line += "  <- " + *problem;
    return line + "\n";
}

struct Located {
    std::string sensorDirectory;
    bool found = false;
    std::optional<std::string> contents;  // empty when the file was not found or could not be read
};

// A path as the system finds it: a relative one below the working directory.
std::string full_path(const std::string& path, const ToolContext& context) {
    const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
    const bool drive = path.size() >= 2 && path[1] == ':';
    return rooted || drive ? path : context.workingDirectory + path;
}

// Finds the profile or listing file as the sensor does and reports every path tried.
Located locate(const std::string& profileName, const ToolContext& context, std::string& output) {
    if (!context.workingDirectory.empty()) output += "Working directory: " + context.workingDirectory + "\n";
    output += "Profile name: " + profileName + "\n";
    const std::optional<std::string> pathFile = context.readTextFile(pathFileName);
    output += path_file_line(pathFile);
    const ProfileSearch search = search_profile(profileName, pathFile, context.fileOpens);
    for (const std::string& path : search.tried) output += "Tried: " + full_path(path, context) + "\n";
    Located located{search.sensorDirectory, search.found, std::nullopt};
    if (search.found) located.contents = context.readTextFile(search.path);
    if (located.contents) output += "Found: " + full_path(search.path, context) + "\n";
    return located;
}

// Whether the destination's configuration lies in the working directory,
// where the sensor looks for it, and so which way the sensor connects.
std::string configuration_line(const std::string& destination, const ToolContext& context) {
    const std::string file = "SapRfc." + destination;
    if (destination.empty() || !context.fileOpens(file))
        return file + ": none in the working directory, so the sensor connects directly\n";
    return file + ": found in the working directory, so the sensor connects through it (configured destination)\n";
}

// The hosts a ",HOST=" may name for this profile.
std::string allowed_hosts_line(const ConnectionProfile& profile) {
    std::string hosts;
    for (const std::string& host : profile.allowedHosts) hosts += (hosts.empty() ? "" : ", ") + host;
    return std::string(allowedHostKey) + " " + (hosts.empty() ? "none, so no ,HOST= value is used" : hosts) + "\n";
}

// The sensor loads the library before anything else, and ends with its
// message when it cannot: so does the check, which names the library it
// loaded, asking the NetWeaver library its version, and makes no other call.
std::optional<std::string> library_problem(const ToolContext& context, std::string& output) {
    if (!context.sensorWorld.loadRfcLibrary) return std::nullopt;
    const std::optional<std::string> message = context.sensorWorld.loadRfcLibrary();
    output += "Library: " + (message ? std::string("does not load") : rfc_library_description()) + "\n";
    return message;
}

// The runs lock of the working directory, held by another process for
// longer than a sensor waits for it: every run then waits that long, and
// none deletes the trace file. Only a lock file that is there is tried, so
// the check makes none.
std::string runs_lock_warning(const ToolContext& context) {
    if (!context.fileOpens(runsLockFileName)) return "";
    ScopedProcessLock probe(runsLockFileName);
    if (probe.lock.handle == -1 || lock_shared(probe.lock, runsLockMilliseconds)) return "";
    return std::string("Lock file ") + runsLockFileName +
           ": another process holds it for longer than a sensor waits (" + std::to_string(runsLockMilliseconds) +
           " ms), so every run waits that long and keeps " + traceFileName + "\n";
}

ToolOutcome ending(ToolOutcome outcome, std::optional<std::string> message, const ToolContext& context) {
    outcome.output += runs_lock_warning(context);
    // Without the library no sensor measures anything: its message comes first.
    if (const auto libraryMessage = library_problem(context, outcome.output)) message = libraryMessage;
    outcome.output += message.value_or("OK") + "\n";
    if (message) outcome.output += errorReferenceLine;
    outcome.exitCode = message ? toolFailure : 0;
    return outcome;
}

ToolOutcome check_profile(const Invocation& invocation, const std::string& profileName, const ToolContext& context) {
    ToolOutcome outcome;
    const Located located = locate(profileName, context, outcome.output);
    if (!located.contents) return ending(outcome, profile_missing_message(profileName), context);
    if (has_utf16_mark(*located.contents)) return ending(outcome, utf16_file_message(profileName), context);

    ConnectionProfile profile;
    std::optional<std::string> message =
        read_profile(*located.contents, singleRunLineWidth, PasswordFailureMode::EndRun, profileName, profile);
    ConnectionProfile checked = profile;
    take_credentials(checked, sensor_environment(context), profileName);
    for (const ProfileField& field : profileFields) {
        const std::optional<std::string> variable =
            is_credential_field(field) ? credential_source(profile.*(field.value)) : std::nullopt;
        outcome.output += variable ? source_line(field, *variable, checked.*(field.value), context)
                                   : field_line(field, checked.*(field.value));
    }
    outcome.output += allowed_hosts_line(profile);
    outcome.output += configuration_line(checked.destination, context);
    if (!message) message = validate_profile(checked, profileName);
    const ConnectionOverrides& overrides = invocation.overrides;
    if (!message) message = host_override_refusal(overrides, checked, profileName);
    if (!message) message = system_number_override_refusal(overrides, profileName);
    return ending(outcome, message, context);
}

const char* label_kind_name(LabelKind kind) {
    switch (kind) {
    case LabelKind::Alias: return "Alias";
    case LabelKind::Host: return "Host";
    case LabelKind::Sid: return "Sid";
    case LabelKind::Profile: break;
    }
    return "Profile";
}

constexpr const char* systemValid = "found and valid";

// A profile of the listing as the run reads it: after the profiles before
// it, whose fields it inherits. A failure is named by the single run's message.
std::string system_state(const std::optional<std::string>& contents, const std::string& entry,
                         const ConnectionOverrides& overrides, ConnectionProfile& carried, ConnectionProfile& checked,
                         const ToolContext& context) {
    checked = carried;
    if (!contents) return "missing";
    if (has_utf16_mark(*contents)) return utf16_file_message(entry);
    // Read and checked as the sensor's run for one system does.
    return take_system_profile(*contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry,
                               sensor_environment(context), overrides, carried, checked)
        .value_or(systemValid);
}

// PRTG keeps one channel per name: two systems under one label would
// write their values into one channel.
std::string label_warnings(const std::vector<std::pair<std::string, std::string>>& labels) {
    std::string warnings;
    for (std::size_t i = 0; i < labels.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (labels[j].second == labels[i].second) {
                warnings += "Warning: " + labels[j].first + " and " + labels[i].first + " both give the channel \"" +
                            labels[i].second + "\"; PRTG needs each channel name once\n";
                break;
            }
    return warnings;
}

// A warning for each carried field that this profile has no line for and
// that an earlier profile gave a value. `carried` is the profile as the run
// holds it after reading this one.
std::string carried_field_warnings(const std::string& contents, const std::string& entry,
                                   const ConnectionProfile& carried, FieldSources& sources) {
    // No line gives this value: a line ends before its line feed.
    const std::string noLine = "\n";
    ConnectionProfile own;
    for (const CarriedField& field : carriedFields) own.*(field.value) = noLine;
    const bool badPassword =
        read_profile(contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, entry, own).has_value();
    std::string warnings;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const CarriedField& field = carriedFields[i];
        if (own.*(field.value) != noLine) {
            sources[i] = entry;
        } else if (field.value == &ConnectionProfile::password && badPassword) {
            // Its line is there; a bad password keeps the earlier one, but the system fails on it.
        } else if (!(carried.*(field.value)).empty()) {
            warnings += "Warning: " + entry + " has no " + field.name + " line, so the sensor takes the " + field.name +
                        " of " + sources[i] + "\n";
        }
    }
    return warnings;
}

// Each system as the run reads it on standard output; the fields a profile
// takes from one before it on standard error. Returns how many systems the
// sensor would skip, refuse or count as failed before it connects.
std::size_t check_systems(const std::vector<std::string>& entries, const ServerListing& listing,
                          const std::string& sensorDirectory, const ToolContext& context, ToolOutcome& outcome) {
    outcome.output += "Systems: " + std::to_string(entries.size()) + "\n";
    const ConnectionOverrides& overrides = listing.overrides;
    ConnectionProfile carried;
    FieldSources sources;
    std::vector<std::pair<std::string, std::string>> labels;
    std::size_t bad = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntryCheck check = check_listing_entry(entries[i]);
        if (check.access == EntryAccess::Refused) {
            ++bad;
            outcome.output +=
                std::to_string(i + 1) + ". " + entries[i] + ": " + refused_entry_text(check.reason) + "\n";
            continue;
        }
        const std::optional<std::string> contents =
            check.access == EntryAccess::Open ? context.readTextFile(sensorDirectory + entries[i]) : std::nullopt;
        ConnectionProfile checked;
        const std::string state = system_state(contents, entries[i], overrides, carried, checked, context);
        if (state != systemValid) ++bad;
        outcome.output += std::to_string(i + 1) + ". " + entries[i] + ": " + state + "\n";
        if (state == systemValid) {
            labels.emplace_back(entries[i], system_label(listing.labelKind, entries[i], checked));
            if (!checked.destination.empty() && context.fileOpens("SapRfc." + checked.destination))
                outcome.output += "   " + configuration_line(checked.destination, context);
        }
        if (contents) outcome.errors += carried_field_warnings(*contents, entries[i], carried, sources);
    }
    outcome.output += label_warnings(labels);
    return bad;
}

// The sensor keys of a global listing's lines with this marker, each once,
// in the order of the file.
std::vector<std::string> sensor_keys(const std::string& contents, const std::string& marker) {
    std::vector<std::string> keys;
    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, listingLineWidth, piece)) {
        const std::string marked = upper_cased(without_line_end(piece).substr(0, markedColumns));
        if (marked.size() < markedColumns || !begins_with(marked, marker)) continue;
        const std::string key = marked.substr(sensorKeyStart);
        bool known = false;
        for (const std::string& other : keys) known = known || other == key;
        if (!known) keys.push_back(key);
    }
    return keys;
}

// Which sensor keys the global listing does hold, for a key it does not.
std::string sensor_keys_lines(const std::string& contents) {
    std::string lines;
    for (const auto& [kind, marker] :
         {std::pair{"allocation", allocationLineMarker}, std::pair{"server", serverLineMarker}}) {
        std::string list;
        for (const std::string& key : sensor_keys(contents, marker))
            list += (list.empty() ? "\"" : ", \"") + key + "\"";
        lines += std::string("Sensor keys of ") + kind + " lines: " + (list.empty() ? "none" : list) + "\n";
    }
    return lines;
}

std::string listing_warnings(const ServerListing& listing, std::size_t systems) {
    std::string warnings;
    // ",FAILED" adds a channel of its own after the systems'.
    const std::size_t channels = systems + (listing.channels.failedSystems ? 1 : 0);
    if (channels > prtgChannelLimit)
        warnings += "Warning: " + std::to_string(systems) + " systems" +
                    (listing.channels.failedSystems ? " and the channel Failed Systems" : "") +
                    ", but PRTG does not officially support more than " + std::to_string(prtgChannelLimit) +
                    " channels per sensor\n";
    bool named = false;
    for (const QueueChannel& channel : queue_channels(QueueTotals{})) named = named || listing.itemId == channel.name;
    if (!named) warnings += "Warning: the item names none of the sensor's channels, so no system writes one\n";
    return warnings;
}

ToolOutcome check_listing(const Invocation& invocation, const CompletedName& name, const ToolContext& context) {
    ToolOutcome outcome;
    const Located located = locate(name.fileName, context, outcome.output);
    const ListingFile file = name.global ? ListingFile::Global : ListingFile::ProfileList;
    if (!located.found) return ending(outcome, profile_missing_message(name.fileName), context);
    if (!located.contents) return ending(outcome, listing_missing_message(file, name.fileName), context);
    if (has_utf16_mark(*located.contents)) return ending(outcome, utf16_file_message(name.fileName), context);

    const ServerListing listing = take_server_listing(*located.contents, file, invocation);
    if (file == ListingFile::Global) {
        outcome.output += "Sensor key: \"" + sensor_key(invocation.optionString) + "\"\n";
        const bool taken = listing.allocationFound || !listing.allocationText.empty();
        outcome.output += "Allocation text: " + (taken ? "\"" + listing.allocationText + "\"" : "none") + "\n";
    }
    outcome.output += "Item: \"" + listing.itemId + "\"\n";
    outcome.output += std::string("Label kind: ") + label_kind_name(listing.labelKind) + "\n";
    if (listing.endingMessage) {
        if (file == ListingFile::Global &&
            *listing.endingMessage == global_sensor_missing_message(invocation.secondArgument))
            outcome.output += sensor_keys_lines(*located.contents);
        return ending(outcome, listing.endingMessage, context);
    }

    const std::vector<std::string> entries = listing_entries(listing.serverListing);
    const std::size_t bad = check_systems(entries, listing, located.sensorDirectory, context, outcome);
    outcome.output += listing_warnings(listing, entries.size());
    // The sensor itself stays green with such a system silently absent or
    // failed: the check is where it shows.
    if (bad > 0)
        return ending(outcome,
                      std::to_string(bad) + " of " + std::to_string(entries.size()) +
                          " systems are missing or fail before the sensor connects to them",
                      context);
    return ending(outcome, std::nullopt, context);
}

}  // namespace

ToolOutcome run_check(const std::vector<std::string>& arguments, const ToolContext& context) {
    if (asks_for_help(arguments)) return {check_help(), "", 0};
    if (arguments.empty()) return usage_failure("check", "the profile NAME is missing");
    const Invocation invocation = parse_command_line(arguments).value_or(Invocation{});
    // The library the sensor would load for these parameters.
    choose_rfc_library(invocation.library);
    const CompletedName name = complete_profile_name(invocation.profileName);
    if (invocation.itemMode || name.global) return check_listing(invocation, name, context);
    return check_profile(invocation, name.fileName, context);
}
