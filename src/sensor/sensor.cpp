#include "messages.h"
#include "profile_search.h"
#include "runs.h"

int run_sensor(const std::vector<std::string>& arguments, const SensorWorld& world) {
    const std::time_t startTime = world.now();
    const std::optional<Invocation> invocation = parse_command_line(arguments);
    if (!invocation) return fail_run(world, profileNameMissingMessage);
    const CompletedName name = complete_profile_name(invocation->profileName);
    // A test open reads the file, so that the one found, always the last
    // one tried, is read only once.
    std::optional<std::string> contents;
    const auto opens = [&](const std::string& path) { return (contents = world.readTextFile(path)).has_value(); };
    const ProfileSearch search = search_profile(name.fileName, world.readTextFile(pathFileName), opens);
    if (!search.found) return fail_run(world, profile_missing_message(name.fileName));

    // The search ends at a path that opened, so the listing or profile
    // found was read then: it cannot be missing when read again, as it
    // could when it was opened twice.
    const std::string& text = *contents;
    const StartUp start{*invocation, startTime, name.fileName, search.sensorDirectory};
    RfcSession session;
    if (invocation->itemMode || name.global) {
        const ListingFile file = name.global ? ListingFile::Global : ListingFile::ProfileList;
        const ServerListing listing = take_server_listing(text, file, *invocation);
        if (listing.endingMessage) return fail_run(world, *listing.endingMessage);
        return run_listing(start, listing, session, world);
    }
    return run_single_system(start, text, session, world);
}
