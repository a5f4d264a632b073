// The scenario file of the process, as both faces of the simulator read it:
// the path in RFCSIM_SCENARIO, else rfcsim.ini in the working directory, else
// rfcsim.ini beside the simulator's own library file.
#pragma once

#include <chrono>
#include <string>

#include "scenario.h"
#include "simulator.h"

namespace rfcsim {

// Exit code of a malformed scenario: a fault of the test setup.
constexpr int scenarioExitCode = 70;

// The scenario; no file that opens is an empty landscape. A malformed line
// is reported (with the path as given, or the full path of the file beside
// the library) on standard error and ends the process with scenarioExitCode.
Scenario read_scenario_file();

// What both faces keep of the scenario: the file, read once, on the first
// open (`load_scenario`), and the waiter its delays go to. A system that
// does not answer makes an operation wait before it acts; the call log line
// follows when it has acted, so a process killed while it waits leaves no
// line for that operation.
void sleep_waiter(std::chrono::microseconds duration);
struct FaceScenario {
    Waiter waiter = sleep_waiter;
    bool scenarioRead = false;
    Scenario scenario;
};
void load_scenario(FaceScenario& face);
void wait_for_system(const FaceScenario& face, std::chrono::microseconds delay);

// One line of the call log, appended to the file RFCSIM_LOG names, if any.
void log_call(const std::string& line);

}  // namespace rfcsim
