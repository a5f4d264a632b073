// wickerby-profile test: runs the sensor's own code for one profile or
// listing and tells a person what happened on the way, library call by
// library call, and what the sensor prints at the end.
#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "command_line.h"
#include "connection.h"
#include "console.h"
#include "credentials.h"
#include "failure_reason.h"
#include "failure_report.h"
#include "observed_calls.h"
#include "profile_search.h"
#include "profile_tool.h"
#include "rfc_backend.h"
#include "rfc_loader.h"
#include "runs.h"
#include "text_helpers.h"
#include "trace_finding.h"

namespace {

constexpr const char* outputBegins = "----- what the sensor prints -----\n";
constexpr const char* outputEnds = "----- end of what the sensor prints -----\n";
constexpr const char* skippedSystemLine =
    "  The sensor skips this system: it counts only in NoSystems, with no channel.\n";

// What the test has written and what the sensor has printed so far. One
// test runs in a process, and the library's failure handler reaches it only
// through this.
struct TestState {
    std::function<void(const std::string&)> write;
    SensorWorld world;
    std::string document;  // everything the sensor printed
    bool atLineStart = true;
    bool inCall = false;
    bool quiet = false;     // the failure report runs: its closing calls are not told
    bool failed = false;    // a logon or call failed
    std::string lineCount;  // the result of the last ItFill
    // Files read besides the path file: the profile or listing found, then
    // a listing's profiles, one per system.
    unsigned filesRead = 0;
    std::thread::id runThread;    // the thread the sensor's run takes
    bool systemUnopened = false;  // a listing's profile was read and no logon followed yet
    bool openCalled = false;      // the system's RfcOpen or RfcOpenEx was called
    // Each system's outcome as the sensor's run handed it over.
    std::vector<std::pair<std::string, SystemOutcome>> outcomes;
};
TestState state;

void say(const std::string& text) {
    if (text.empty()) return;
    state.write(text);
    state.atLineStart = text.back() == '\n';
}

void end_line() {
    if (!state.atLineStart) say("\n");
}

// The sensor's output framed, so that its last line feed, or the lack of
// one, shows.
void show_document(const std::string& more) {
    end_line();
    say(outputBegins);
    say(state.document + more);
    end_line();
    say(outputEnds);
}

std::string error_field(const char* label, const std::string& field) {
    return std::string("  ") + label + field + "\n";
}

void explain_error(const LibraryError& error) {
    if (error.key.empty() && error.message.empty()) {
        say("  The library reports no error of its own.\n");
        return;
    }
    say(error_field("Key......: ", error.key));
    say(error_field("Status...: ", error.status));
    say(error_field("Message..: ", error.message));
    // Only the classic library writes the trace file.
    if (rfc_backend().writesTraceFile) {
        const SensorWorld& world = state.world;
        const std::optional<std::string> finding = read_trace_finding(world, world.fileSize(traceFileName));
        say(std::string("  ") + traceFileName + ": " +
            (finding ? (finding->empty() ? "no error message in it" : *finding) : "none") + "\n");
    }
    const std::string advice = failure_advice(error.key, error.message);
    if (!advice.empty()) say("  Advice...: " + advice + "\n");
}

// A listing's system whose profile was read but never led to a logon: the
// sensor found the profile wrong and went on to the next one.
void settle_system() {
    if (!state.systemUnopened) return;
    state.systemUnopened = false;
    end_line();
    say("  No logon: the profile fails before the sensor connects; 'wickerby-profile check' names why.\n");
}

// A logon: the classic library's, direct or through a configured
// destination, or the NetWeaver library's.
bool is_logon(const std::string& operation) {
    return operation == "RfcOpen" || operation == "RfcOpenEx" || operation == "RfcOpenConnection";
}

// The destination's configuration file, which the library reads after the
// sensor has copied it over SapRfc.ini.
void say_configuration(const std::string& connectWords) {
    if (!begins_with(connectWords, "configured destination, ")) return;
    const std::string key = "DEST=";
    const std::size_t at = connectWords.find(key);
    if (at == std::string::npos) return;
    const std::size_t start = at + key.size();
    const std::string destination = connectWords.substr(start, connectWords.find(' ', at) - start);
    const std::optional<std::string> configuration =
        state.world.readRawFile(destination_configuration_name(destination));
    if (!configuration) return;
    say("Configuration SapRfc." + destination + ": " + configuration_text(*configuration) + "\n");
}

void note_call(const LibraryCallNote& note) {
    if (state.quiet) return;
    // The sensor asks the line count again before each line; a count that
    // stays the same is told once.
    if (note.operation == "ItFill") {
        if (note.ended && note.result != state.lineCount) say("ItFill -> " + note.result + "\n");
        state.lineCount = note.ended ? note.result : state.lineCount;
        return;
    }
    if (note.operation != "ItGetLine") state.lineCount.clear();
    if (!note.ended) {
        // A call that begins inside another comes from the failure handler.
        if (state.inCall) say(" -> the failure handler\n");
        end_line();
        if (is_logon(note.operation)) {
            state.systemUnopened = false;
            state.openCalled = true;
            say_configuration(note.given);
        }
        say(note.operation + (note.given.empty() ? "" : ": " + note.given));
        state.inCall = true;
        return;
    }
    state.inCall = false;
    say((note.result.empty() ? "" : " -> " + note.result) + "\n");
    if (note.lastError) {
        state.failed = true;
        explain_error(*note.lastError);
    }
}

std::string result_line(bool succeeds, int exitCode) {
    const std::string code = "exit code " + std::to_string(exitCode);
    if (succeeds) return "Result: the sensor succeeds (" + code + ").\n";
    if (exitCode == 0)
        return "Result: the sensor ends with " + code + " but not every system was measured.\n" + errorReferenceLine;
    return "Result: the sensor fails (" + code + ").\n" + errorReferenceLine;
}

// Where a profile's User and Password come from when PRTG keeps them in
// environment variables; never their values. Other files name neither.
void say_credential_sources(const std::string& contents) {
    ConnectionProfile profile;
    read_profile(contents, listingRunLineWidth, PasswordFailureMode::MarkSystem, "", profile);
    for (const ProfileField& field : profileFields) {
        if (!is_credential_field(field)) continue;
        if (const auto variable = credential_source(profile.*(field.value)))
            say("  " + std::string(field.key) + " " +
                credential_source_text(*variable, state.world.environmentVariable(*variable)) + "\n");
    }
}

// The sensor's world, with each step told: the library loaded, the files
// read, what the sensor prints kept for the end.
SensorWorld told_world(const SensorWorld& world) {
    SensorWorld told = world;
    told.loadRfcLibrary = [load = world.loadRfcLibrary]() -> std::optional<std::string> {
        std::optional<std::string> message = load();
        if (message) {
            say("Library: not loaded\n");
            return message;
        }
        say("Library: " + rfc_library_description() + "\n");
        observe_library_calls(note_call);
        return message;
    };
    told.readTextFile = [read = world.readTextFile](const std::string& path) {
        std::optional<std::string> contents = read(path);
        settle_system();
        end_line();
        say("File " + path + (contents ? ": read" : ": does not open") + "\n");
        if (path == pathFileName) return contents;
        if (contents) {
            say_credential_sources(*contents);
            state.systemUnopened = ++state.filesRead > 1;
        } else if (state.filesRead > 0) {
            say(skippedSystemLine);
        }
        return contents;
    };
    told.entryNotOpened = [](const std::string& entry, const EntryCheck& check) {
        settle_system();
        end_line();
        if (check.access == EntryAccess::Refused)
            say("Listing entry " + entry + ": " + refused_entry_text(check.reason) + ".\n");
        else say("Listing entry " + entry + ": " + check.reason + ".\n" + skippedSystemLine);
    };
    told.systemDone = [](const std::string& name, const SystemOutcome& outcome) {
        state.outcomes.emplace_back(name, outcome);
        // No library call to tell of: the sensor's reason is all there is.
        const bool opened = std::exchange(state.openCalled, false);
        if (outcome.failure == SystemFailure::logonRefused && !opened) {
            end_line();
            say("  No logon: " + outcome.reason + "\n");
        }
        const bool beforeLogon =
            outcome.failure == SystemFailure::profileInvalid || outcome.failure == SystemFailure::profileUnreadable;
        // A single run's message is its document, shown at the end.
        if (!beforeLogon || outcome.message.empty() || !state.systemUnopened) return;
        state.systemUnopened = false;
        end_line();
        say("  No logon: " + outcome.message + "\n");
    };
    told.measureInTurn = [] {
        end_line();
        say("Listing: ,PARALLEL: the systems are measured one after another here, as the sensor's workers would "
            "measure them, each its own.\n");
    };
    told.write = [](const std::string& text) {
        state.document += text;
        // Only the deadline's watch prints from another thread, and the
        // process ends right after it.
        if (std::this_thread::get_id() != state.runThread) {
            if (state.inCall) say(" -> no answer\n");
            show_document("");
            say(result_line(false, 2));
        }
    };
    return told;
}

}  // namespace

std::string configuration_text(const std::string& configuration) {
    std::istringstream lines(configuration);
    std::string words, line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // The library reads a key whatever its case and the blanks before it.
        const std::string key = upper_cased(line.substr(std::min(line.find_first_not_of(" \t"), line.size())));
        if (line.empty() || line[0] == '#' || begins_with(key, "PASSWD")) continue;
        words += (words.empty() ? "" : ", ") + line;
    }
    return words;
}

std::string failure_advice(const std::string& key, const std::string& message) {
    const std::string words = upper_cased(key + " " + message);
    const auto says = [&words](const char* text) { return words.find(text) != std::string::npos; };
    if (is_logon_refusal(key, message))
        return "SAP refused the logon: check User, Password and Client in the profile, "
               "and whether the SAP user is locked (transaction SU01).";
    if (says("AUTHORI") || says("AUTHORITY"))
        return "the SAP user may not call TH_REQUEST_QUEUE: give it authorization object S_RFC "
               "for the function group that holds it (transaction SU01, role in PFCG).";
    if (says("FU_NOT_FOUND") || says("FUNCTION"))
        return "the system has no function module TH_REQUEST_QUEUE, or the user may not see it.";
    if (says("SAPRFC.INI"))
        return "the destination's SapRfc file in the working directory needs a line DEST= with the destination.";
    if (says("COMMUNICATION") || says("PARTNER") || says("CONNECT"))
        return "the system was not reached: check Hostname and Sysnr (or Gwhost and Gwservice), "
               "that the system runs, and that a firewall lets the probe reach port 33NN of the gateway.";
    return "";
}

std::string test_help() {
    return "Usage: wickerby-profile test NAME [OPTION-STRING]\n"
           "Runs the sensor for NAME and the option string exactly as PRTG would, with the\n"
           "sensor's own code, and tells what happens: the RFC library loaded (its name,\n"
           "version and full path), each file read, the way to the system (direct, with\n"
           "host, system number, client, user and language, or a configured destination;\n"
           "never the password), each library call and its result. A failed logon or call\n"
           "shows the library's error key, status and message, for librfc32 the finding in\n"
           "the trace file Dev_Rfc.Trc, and advice; at the end come the channel values\n"
           "and, between two marked lines, exactly what the sensor prints. A listing runs\n"
           "each system in turn. The test logs on to SAP as the sensor does: a wrong\n"
           "password counts towards locking the SAP user. It runs in the working\n"
           "directory, like the sensor in PRTG's, and loads the library as the sensor\n"
           "does, from beside the tool: librfc32 (also from the system directory) or,\n"
           "without one or with ,LIBRARY=NWRFC, SAP's NetWeaver library sapnwrfc.\n"
           "Exit code 0 when the sensor succeeds and, for a listing, measures every\n"
           "system; 2 otherwise.\n";
}

ToolOutcome run_test(const std::vector<std::string>& arguments, const ToolContext& context) {
    if (asks_for_help(arguments)) return {test_help(), "", 0};
    if (arguments.empty()) return usage_failure("test", "a profile name is missing");
    if (arguments.size() > 3) return usage_failure("test", "unexpected argument '" + arguments[3] + "'");
    const std::optional<Invocation> invocation = parse_command_line(arguments);
    if (!invocation) return usage_failure("test", "a profile name is missing");
    state.write = context.write;
    state.world = context.sensorWorld;
    state.runThread = std::this_thread::get_id();

    FailureReportWatch watch;
    watch.before = [](const std::string&) {
        if (state.inCall) say(" -> the failure handler\n");
        state.quiet = true;
        end_line();
        say(outputBegins);
        say(state.document);
        state.atLineStart = true;
    };
    watch.after = [](const std::string&, const LibraryError& error) {
        say(outputEnds);
        explain_error(error);
        say(result_line(false, 1));
        end_process(toolFailure);
    };
    watch_failure_report(watch);

    // The lock the sensor shares with the others in this directory: told
    // only when something keeps the sensor from it.
    {
        const ScopedProcessLock probe(runsLockFileName);
        if (probe.lock.handle == -1)
            say(std::string("Lock file ") + runsLockFileName + ": " + probe.lock.problem +
                "; the sensor goes on without it and keeps " + traceFileName + "\n");
    }
    const int exitCode = run_sensor(arguments, told_world(context.sensorWorld));
    settle_system();
    show_document("");
    const bool listing = invocation->itemMode || complete_profile_name(invocation->profileName).global;
    bool succeeds = exitCode == 0 && !state.failed;
    std::size_t measured = 0;
    std::string channels;
    for (const auto& [name, outcome] : state.outcomes) {
        if (outcome.failure == SystemFailure::none) ++measured;
        for (const auto& [channel, value] : outcome.channels) channels += "  " + channel + ": " + value + "\n";
    }
    if (listing) {
        const std::size_t systems = state.outcomes.size();
        if (measured < systems || systems == 0) succeeds = false;
        if (measured < systems)
            say("Systems: " + std::to_string(systems - measured) + " of " + std::to_string(systems) +
                " failed or are missing; PRTG shows only the others.\n");
    }
    if (!channels.empty()) say("Channels:\n" + channels);
    say(result_line(succeeds, exitCode));
    return {"", "", succeeds ? 0 : toolFailure};
}
