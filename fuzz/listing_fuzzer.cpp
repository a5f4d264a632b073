// Both listing files. The input's first line is the sensor's second
// argument (the option text, whose first word is the sensor key); the rest
// is the listing file's bytes, read as the global server listing and as the
// profile list.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "platform/files.h"
#include "run/command_line.h"
#include "run/listing.h"

namespace {

void check_reading(const ListingReading& reading, const RunSettings& settings) {
    require(settings.itemId.size() <= itemMaxLength, "an item identification holds at most 90 characters");
    if (!reading.endingMessage) {
        require(!settings.serverListing.empty(), "a listing without servers ends the run");
        require(!settings.itemId.empty(), "a listing without an item ends the run");
    }
}

void read_listing(const std::string& optionArgument, const std::string& contents) {
    RunSettings global;
    parse_command_line({"GLOBAL", optionArgument}, global);
    check_reading(take_server_listing(contents, ListingFile::Global, global), global);

    RunSettings profileList;
    parse_command_line({"PRD", optionArgument}, profileList);
    check_reading(take_server_listing(contents, ListingFile::ProfileList, profileList), profileList);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string raw = input_text(data, size);
    const std::string optionArgument = take_first_line(raw);
    read_listing(optionArgument, text_mode_contents(raw));
    read_listing(optionArgument, raw);
    return 0;
}
