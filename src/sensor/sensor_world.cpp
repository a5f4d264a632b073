#include "sensor_world.h"

#include "console.h"
#include "environment.h"
#include "files.h"
#include "leftovers.h"
#include "own_configuration.h"
#include "rfc_loader.h"
#include "trace_finding.h"

SensorWorld standard_world() {
    SensorWorld world;
    world.write = write_output;
    world.readTextFile = read_text_file;
    world.fileSize = file_size;
    world.readFileChunks = read_file_chunks;
    world.removeFile = remove_file;
    world.readRawFile = read_raw_file;
    world.replaceFile = [](const std::string& path, const std::string& bytes) {
        // A sensor killed while it replaced the file left its temporary copy.
        remove_abandoned_temporaries(path);
        return replace_file(path, bytes);
    };
    world.appendFile = append_file;
    world.now = current_time;
    world.timeOfDay = time_of_day_text;
    world.loadRfcLibrary = []() -> std::optional<std::string> {
        // Before the library loads, as its C runtime may copy the environment then.
        name_own_configuration();
        const std::optional<RfcLibraryFailure> failure = load_rfc_library();
        if (failure) return rfc_library_failure_message(*failure);
        return std::nullopt;
    };
    world.environmentVariable = environment_variable;
    return world;
}

void print_document(const SensorWorld& world, const ResultDocument& document, bool lineFeed) {
    world.write(document.text);
    if (lineFeed) world.write("\n");
}

int write_ending(const SensorWorld& world, const std::string& text, int exitCode) {
    if (world.writeEnding) world.writeEnding(text, exitCode);
    else world.write(text);
    return exitCode;
}

int fail_run(const SensorWorld& world, const std::string& message) {
    return write_ending(world, error_document_text(message), 2);
}

std::optional<std::string> read_trace_finding(const SensorWorld& world, std::optional<std::uint64_t> size) {
    if (!size) return std::nullopt;
    TraceFinder finder;
    const auto take = [&finder](const char* data, std::size_t length) { feed_trace(finder, data, length); };
    if (!world.readFileChunks(traceFileName, *size, take)) return std::nullopt;
    return finish_trace(finder);
}
