// The scenario file of the process, as both faces of the simulator read it:
// the path in RFCSIM_SCENARIO, else rfcsim.ini in the working directory.
#pragma once

#include "scenario.h"

namespace rfcsim {

// Exit code of a malformed scenario: a fault of the test setup.
constexpr int scenarioExitCode = 70;

// The scenario; a missing file is an empty landscape. A malformed line is
// reported on standard error and ends the process with scenarioExitCode.
Scenario read_scenario_file();

}  // namespace rfcsim
