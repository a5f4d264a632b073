#include "messages.h"
#include "profile_search.h"
#include "rfc_loader.h"
#include "runs.h"
#include "text_helpers.h"

namespace {

// Finds the profile or listing and runs it; the deadline watches throughout.
int locate_and_run(const Invocation& invocation, std::time_t startTime, const SensorWorld& world, Deadline& deadline) {
    const CompletedName name = complete_profile_name(invocation.profileName);
    // A test open reads the file, so that the one found, always the last
    // one tried, is read only once.
    std::optional<std::string> contents;
    const auto opens = [&](const std::string& path) { return (contents = world.readTextFile(path)).has_value(); };
    const std::optional<std::string> pathFile = world.readTextFile(pathFileName);
    if (pathFile && has_utf16_mark(*pathFile)) return fail_run(world, utf16_file_message(pathFileName));
    const ProfileSearch search = search_profile(name.fileName, pathFile, opens);
    if (!search.found) return fail_run(world, profile_missing_message(name.fileName));
    if (has_utf16_mark(*contents)) return fail_run(world, utf16_file_message(name.fileName));

    // The search ends at a path that opened, so the listing or profile
    // found was read then: it cannot be missing when read again, as it
    // could when it was opened twice.
    const std::string& text = *contents;
    const StartUp start{invocation, startTime, name.fileName, search.sensorDirectory};
    RfcSession session;
    ScopedProcessLock runs(runsLockFileName);
    lock_shared(runs.lock, runsLockMilliseconds);
    const RunPlace place{session, world, deadline, runs.lock};
    int exitCode = 0;
    if (invocation.itemMode || name.global) {
        const ListingFile file = name.global ? ListingFile::Global : ListingFile::ProfileList;
        const ServerListing listing = take_server_listing(text, file, invocation);
        exitCode = listing.endingMessage ? fail_run(world, *listing.endingMessage) : run_listing(start, listing, place);
    } else {
        exitCode = run_single_system(start, text, place);
    }
    return exitCode;
}

}  // namespace

std::string runs_lock_console_line(const ProcessLock& lock) {
    if (lock.held != LockHold::none) return "";
    return runs_lock_line(runsLockFileName, lock.problem.empty() ? runsLockHeldElsewhere : lock.problem);
}

int run_sensor(const std::vector<std::string>& arguments, const SensorWorld& outside) {
    const std::time_t startTime = outside.now();
    const std::optional<Invocation> invocation = parse_command_line(arguments);
    if (!invocation) return fail_run(outside, profileNameMissingMessage);

    Deadline deadline;
    const SensorWorld world = start_deadline(deadline, invocation->deadlineSeconds, outside);
    const FailureReportClaim reportClaim(deadline);
    const unsigned seconds = invocation->deadlineSeconds;
    set_deadline_ending(
        deadline, [seconds] { return error_document_text(run_deadline_message(seconds)); }, 2);
    choose_rfc_library(invocation->library);
    // Without the library no sensor of this installation can measure
    // anything, whatever its profile says, so the administrator learns it
    // first.
    const std::optional<std::string> libraryMessage = world.loadRfcLibrary();
    const int exitCode =
        libraryMessage ? fail_run(world, *libraryMessage) : locate_and_run(*invocation, startTime, world, deadline);
    stop_deadline(deadline);
    return exitCode;
}
