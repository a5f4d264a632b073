#include "messages.h"
#include "profile_search.h"
#include "runs.h"

int run_sensor(const std::vector<std::string>& arguments, const SensorWorld& world) {
    const std::string startTime = world.timeOfDay();
    const std::optional<Invocation> invocation = parse_command_line(arguments);
    if (!invocation) return fail_run(world, profileNameMissingMessage);
    const CompletedName name = complete_profile_name(invocation->profileName);
    const ProfileSearch search =
        search_profile(name.fileName, world.readTextFile(pathFileName), world.fileOpens);
    if (!search.found) return fail_run(world, profile_missing_message(name.fileName));

    const StartUp start{*invocation, startTime, name.fileName, search.sensorDirectory};
    const std::optional<std::string> contents = world.readTextFile(search.sensorDirectory + name.fileName);
    RfcSession session;
    if (invocation->itemMode || name.global) {
        const ListingFile file = name.global ? ListingFile::Global : ListingFile::ProfileList;
        if (!contents) return fail_run(world, listing_missing_message(file, name.fileName));
        const ServerListing listing = take_server_listing(*contents, file, *invocation);
        if (listing.endingMessage) return fail_run(world, *listing.endingMessage);
        return run_listing(start, listing, session, world);
    }
    if (!contents) return fail_run(world, profile_missing_message(name.fileName));
    return run_single_system(start, *contents, session, world);
}
