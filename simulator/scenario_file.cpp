#include "scenario_file.h"

#include <cstdio>
#include <cstdlib>

#include "files.h"

namespace rfcsim {

namespace {

constexpr const char* defaultName = "rfcsim.ini";

// The scenario's bytes and the path they came from: RFCSIM_SCENARIO's file;
// else rfcsim.ini in the working directory; else, when that does not open,
// rfcsim.ini beside the simulator's own file, which a listing's workers,
// each in a folder of its own, find where the sensor loaded the library.
std::optional<std::string> scenario_text(std::string& path) {
    path = environment_value("RFCSIM_SCENARIO");
    if (!path.empty()) return read_file(path);
    path = defaultName;
    if (std::optional<std::string> text = read_file(path)) return text;
    const std::string directory = library_directory();
    if (directory.empty()) return std::nullopt;
    path = path_in(directory, defaultName);
    return read_file(path);
}

}  // namespace

Scenario read_scenario_file() {
    std::string path;
    std::optional<std::string> text = scenario_text(path);
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
