// The command line: up to four arguments (NUL-separated in the input) read
// as the sensor reads them, then the profile name completed.
#include <cstddef>
#include <cstdint>

#include "command_line.h"
#include "fuzz_input.h"
#include "listing.h"
#include "messages.h"
#include "profile_search.h"
#include "queue_table.h"
#include "text_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = split_at_nul(input_text(data, size), 4);
    const std::optional<Invocation> invocation = parse_command_line(arguments);
    require(invocation.has_value() == !arguments.empty(),
            "the command line is refused exactly when it has no argument");
    if (!invocation) return 0;

    require(invocation->itemId.size() <= itemMaxLength, "an item identification holds at most 90 characters");
    require(invocation->optionString == upper_cased(invocation->optionText),
            "the option string is the upper-cased text");
    const CompletedName name = complete_profile_name(invocation->profileName);
    const std::size_t separator = name.fileName.find_last_of("\\/");
    require(separator == std::string::npos || separator == 0, "the directory part of the profile name is dropped");

    // What the later steps derive from the command line alone.
    const std::string key = sensor_key(invocation->optionString);
    require(key.size() >= sensorKeyWidth, "the sensor key fills at least ten columns");
    (void)queue_label_code(invocation->optionString);
    (void)profile_missing_message(name.fileName);
    return 0;
}
