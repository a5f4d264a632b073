// Stored passwords: the input descrambled as a stored value, and scrambled
// as a plain password, whose stored form must read back to the same
// password, directly and through a profile line.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "password.h"
#include "profile.h"

namespace {

bool is_printable_text(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
    return true;
}

void check_round_trip(const std::string& password, const std::string& stored) {
    require(stored.size() == storedPasswordLength, "a stored password has 24 characters");
    require(is_printable_text(stored), "a stored password is printable");
    require(stored.back() != ' ', "a stored password does not end with a blank");
    const DescrambledPassword back = descramble_password(stored);
    require(back.result == DescrambleResult::Ok, "a stored password descrambles");
    require(back.password == password, "a stored password descrambles to the password");

    ConnectionProfile profile;
    const std::optional<std::string> message = read_profile("Password...: " + stored + "\n", singleRunLineWidth,
                                                            PasswordFailureMode::EndRun, "PRD.P00", profile);
    require(!message, "a profile line with a stored password is accepted");
    require(profile.password == password, "a profile line gives back the password");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text = input_text(data, size);
    const DescrambledPassword descrambled = descramble_password(text);
    if (descrambled.result == DescrambleResult::Ok)
        require(descrambled.password.size() <= passwordMaxLength, "a descrambled password holds at most 20 characters");

    const std::optional<std::string> stored = scramble_password(text);
    if (!is_storable_password(text)) require(!stored, "only a storable password is scrambled");
    if (!stored) return 0;
    require(scramble_password(text) == stored, "equal passwords give equal stored values");
    check_round_trip(text, *stored);
    return 0;
}
