#include "scenario_file.h"

#include <cstdio>
#include <cstdlib>

#include "files.h"

namespace rfcsim {

Scenario read_scenario_file() {
    std::string path = environment_value("RFCSIM_SCENARIO");
    if (path.empty()) path = "rfcsim.ini";
    std::optional<std::string> text = read_file(path);
    if (!text) return {};
    ParsedScenario parsed = parse_scenario(*text);
    if (!parsed.ok()) {
        std::fprintf(stderr, "%s\n", scenario_error_report(path, parsed).c_str());
        std::fflush(stderr);
        std::exit(scenarioExitCode);
    }
    return std::move(parsed.scenario);
}

}  // namespace rfcsim
