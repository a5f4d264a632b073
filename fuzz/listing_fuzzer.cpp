// Both listing files. The input's first line is the sensor's second
// argument (the option text, whose first word is the sensor key); the rest
// is the listing file's bytes, read as the global server listing and as the
// profile list.
#include <cstddef>
#include <cstdint>

#include "command_line.h"
#include "files.h"
#include "fuzz_input.h"
#include "listing.h"

namespace {

void check_reading(const ServerListing& listing) {
    require(listing.itemId.size() <= itemMaxLength, "an item identification holds at most 90 characters");
    if (!listing.endingMessage) {
        require(!listing.serverListing.empty(), "a listing without servers ends the run");
        require(!listing.itemId.empty(), "a listing without an item ends the run");
    }
}

void read_listing(const std::string& optionArgument, const std::string& contents) {
    const Invocation global = *parse_command_line({"GLOBAL", optionArgument});
    check_reading(take_server_listing(contents, ListingFile::Global, global));
    const Invocation profileList = *parse_command_line({"PRD", optionArgument});
    check_reading(take_server_listing(contents, ListingFile::ProfileList, profileList));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string raw = input_text(data, size);
    const std::string optionArgument = take_first_line(raw);
    read_listing(optionArgument, text_mode_contents(raw));
    read_listing(optionArgument, raw);
    return 0;
}
