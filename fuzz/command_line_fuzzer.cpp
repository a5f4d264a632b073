// The command line: up to four arguments (NUL-separated in the input) read
// as the sensor reads them, then the profile name completed.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "output/measurement.h"
#include "run/command_line.h"
#include "run/listing.h"
#include "run/profile_location.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = split_at_nul(input_text(data, size), 4);
    RunSettings settings;
    const bool parsed = parse_command_line(arguments, settings);
    require(parsed == !arguments.empty(), "the command line is refused exactly when it has no argument");
    if (!parsed) return 0;

    require(settings.itemId.size() <= itemMaxLength, "an item identification holds at most 90 characters");
    require(settings.optionString == upper_cased(settings.optionText), "the option string is the upper-cased text");
    complete_profile_name(settings);
    const std::size_t backslash = settings.profileName.rfind('\\');
    require(backslash == std::string::npos || backslash == 0, "the directory part of the profile name is dropped");

    // What the later steps derive from the settings alone.
    const std::string key = sensor_key(settings.optionString);
    require(key.size() >= sensorKeyWidth, "the sensor key fills at least ten columns");
    (void)listing_file_named(settings.profileName);
    (void)queue_label_code(settings.optionString);
    (void)has_option(settings, "ITEM=");
    (void)profile_missing_message(settings.profileName);
    return 0;
}
