// Connection profiles: the file's bytes read as the single-system run reads
// them (99 characters a line, a bad password ends the run) and as the
// listing run does (199 characters, a bad password marks the system), each
// result then validated; stored passwords are descrambled on the way.
#include <cstddef>
#include <cstdint>

#include "files.h"
#include "fuzz_input.h"
#include "password.h"
#include "profile.h"

namespace {

void read_and_validate(const std::string& contents, std::size_t lineWidth, PasswordFailureMode mode) {
    const std::string profileName = "PRD.P00";
    ConnectionProfile profile;
    const std::optional<std::string> message = read_profile(contents, lineWidth, mode, profileName, profile);
    require(!message || message->rfind("Error 100", 0) == 0, "a bad stored password is an error message");
    require(profile.password.size() <= passwordMaxLength, "a descrambled password holds at most 20 characters");
    for (const ProfileField& field : profileFields) (void)profile_field_problem(field, profile.*(field.value));
    const std::optional<std::string> problem = validate_profile(profile, profileName);
    require(!problem || problem->rfind("Error 100", 0) == 0, "a profile problem is an error message");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string raw = input_text(data, size);
    // Both targets read profiles in text mode; the raw bytes reach the
    // parser when a file holds lone carriage returns.
    for (const std::string& contents : {text_mode_contents(raw), raw}) {
        for (std::size_t width : {singleRunLineWidth, listingRunLineWidth}) {
            read_and_validate(contents, width, PasswordFailureMode::EndRun);
            read_and_validate(contents, width, PasswordFailureMode::MarkSystem);
        }
    }
    return 0;
}
