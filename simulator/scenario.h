// The scenario: the landscape of SAP systems that the simulator plays, read
// from a text file. Parsing is a pure function of the file's text so that
// every rule can be tested with inline strings.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rfcsim {

// Width of one line of the REQUEST_QUEUES table.
constexpr std::size_t tableLineWidth = 80;

// The [library] fault switches; all off by default.
struct LibrarySwitches {
    bool installStructureFails = false;
    bool createTableFails = false;
    bool getLineFails = false;    // every line
    uint32_t getLineFailsAt = 0;  // only this line (from 1); 0: none
    bool deleteTableFails = false;
};

enum class OpenOutcome { accept, refuse, abort };

// The result of RfcCall or RfcReceive: a return code, or a call of the
// failure handler.
struct CallOutcome {
    bool aborts = false;
    int32_t code = 0;
};

// How long each operation waits on this system before it acts, standing in
// for a system that does not answer; zero for no wait.
struct Delays {
    std::chrono::microseconds open{0};
    std::chrono::microseconds openEx{0};
    std::chrono::microseconds call{0};
    std::chrono::microseconds receive{0};
    std::chrono::microseconds openConnection{0};  // the NetWeaver face
    std::chrono::microseconds invoke{0};
};

// One [system NAME] section.
struct SystemScenario {
    std::string name;
    OpenOutcome open = OpenOutcome::accept;
    std::optional<std::string> client;  // logon checks: given or not
    std::optional<std::string> user;
    std::optional<std::string> password;
    CallOutcome call;
    CallOutcome receive;
    std::string exception = "RFC_EXCEPTION";
    std::vector<std::string> lines;  // table lines, 80 characters each
    std::optional<std::string> errorKey;
    std::optional<std::string> errorStatus;
    std::optional<std::string> errorMessage;
    std::optional<std::string> errorInternal;
    std::vector<std::string> trace;
    Delays delays;
    // What only the NetWeaver face knows: an RFC_RC that an open or an
    // invoke of this system gives; RFC_OK (0) for none.
    int32_t nwOpen = 0;
    int32_t nwInvoke = 0;
};

struct Scenario {
    LibrarySwitches library;
    std::vector<SystemScenario> systems;
    // Where each system stands in `systems`, so that a landscape of many
    // systems is read and searched in linear time.
    std::unordered_map<std::string, std::size_t> systemIndex;
};

// What parsing gives: the scenario, or the first malformed line (from 1)
// and why it is malformed.
struct ParsedScenario {
    Scenario scenario;
    int errorLine = 0;
    std::string errorReason;

    bool ok() const { return errorLine == 0; }
};

ParsedScenario parse_scenario(std::string_view text);

// The text of a `queue` value as one table line, or an empty text with the
// reason when the value is not NAME and five numbers.
struct QueueLine {
    std::string line;
    std::string error;
};
QueueLine format_queue_line(std::string_view value);

// The system of that destination, compared exactly; null when there is none.
const SystemScenario* find_system(const Scenario& scenario, std::string_view destination);

// "rfcsim: FILE:LINE: REASON", the report of a malformed scenario line.
std::string scenario_error_report(std::string_view file, const ParsedScenario& parsed);

}  // namespace rfcsim
