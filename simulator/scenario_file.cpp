#include "scenario_file.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

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

void sleep_waiter(std::chrono::microseconds duration) {
    std::this_thread::sleep_for(duration);
}

void load_scenario(FaceScenario& face) {
    if (face.scenarioRead) return;
    face.scenarioRead = true;
    face.scenario = read_scenario_file();
}

void wait_for_system(const FaceScenario& face, std::chrono::microseconds delay) {
    if (delay > std::chrono::microseconds::zero()) face.waiter(delay);
}

void log_call(const std::string& line) {
    std::string path = environment_value("RFCSIM_LOG");
    if (!path.empty()) append_lines(path, {line});
}

}  // namespace rfcsim
