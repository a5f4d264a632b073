// The scenario file of the process, as both faces of the simulator read it:
// the path in RFCSIM_SCENARIO, else rfcsim.ini in the working directory, else
// rfcsim.ini beside the simulator's own library file.
#pragma once

#include "scenario.h"

namespace rfcsim {

// Exit code of a malformed scenario: a fault of the test setup.
constexpr int scenarioExitCode = 70;

// The scenario; no file that opens is an empty landscape. A malformed line
// is reported (with the path as given, or the full path of the file beside
// the library) on standard error and ends the process with scenarioExitCode.
Scenario read_scenario_file();

}  // namespace rfcsim
