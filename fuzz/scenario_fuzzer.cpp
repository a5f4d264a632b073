// The simulator's scenario file: parsed as a whole; a parsed scenario's
// table lines must have the table's width, a refused one names its line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_input.h"
#include "scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const rfcsim::ParsedScenario parsed = rfcsim::parse_scenario(text);
    if (!parsed.ok()) {
        require(parsed.errorLine > 0 && !parsed.errorReason.empty(), "a refused scenario names line and reason");
        (void)rfcsim::scenario_error_report("rfcsim.ini", parsed);
        return 0;
    }
    for (const rfcsim::SystemScenario& system : parsed.scenario.systems) {
        require(!system.name.empty(), "every system has a name");
        require(rfcsim::find_system(parsed.scenario, system.name) == &system, "a system name names one system");
        for (const std::string& line : system.lines)
            require(line.size() == rfcsim::tableLineWidth, "a table line has 80 characters");
    }
    // A queue value alone, as the scenario's queue key reads it.
    const rfcsim::QueueLine queue = rfcsim::format_queue_line(text);
    require(queue.error.empty() == (queue.line.size() == rfcsim::tableLineWidth),
            "a queue value gives a table line or a reason");
    return 0;
}
