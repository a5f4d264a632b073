#include "system/profile.h"

#include "platform/text_pieces.h"
#include "run/command_line.h"
#include "system/password.h"

namespace {

const ProfileField* field_for_key(const std::string& line) {
    if (line.size() < profileKeyLength) return nullptr;
    for (const ProfileField& field : profileFields)
        if (line.compare(0, profileKeyLength, field.key) == 0) return &field;
    return nullptr;
}

std::string invalid_password_message(const std::string& profileName) {
    return "Error 1004: Invalid Password in Profile " + profileName + " found...";
}

std::string wrong_password_message(const std::string& profileName) {
    return "Error 1005: Wrong Password in Profile " + profileName + " found...";
}

// Stores the password line's value; false when a bad stored password ends
// the reading.
bool take_password(const std::string& value, PasswordFailureMode mode, const std::string& profileName,
                   ConnectionProfile& profile, ProfileReading& reading) {
    if (value.empty()) {
        profile.password.clear();
        return true;
    }
    DescrambledPassword descrambled = descramble_password(value);
    if (descrambled.result == DescrambleResult::Ok) {
        profile.password = descrambled.password;
        return true;
    }
    if (reading.passwordMessage.empty())
        reading.passwordMessage = descrambled.result == DescrambleResult::BadForm
                                      ? invalid_password_message(profileName)
                                      : wrong_password_message(profileName);
    if (mode == PasswordFailureMode::MarkSystem) {
        reading.systemFailed = true;
        return true;
    }
    reading.endingMessage = reading.passwordMessage;
    return false;
}

}  // namespace

ProfileReading read_profile(const std::string& contents, std::size_t lineWidth, PasswordFailureMode mode,
                            const std::string& profileName, ConnectionProfile& profile) {
    ProfileReading reading;
    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, lineWidth, piece)) {
        const std::string line = without_line_end(piece);
        const ProfileField* field = field_for_key(line);
        if (!field) continue;
        // The whole rest of the line is the value: a value too long for its
        // field is refused by the checks, never cut here.
        const std::string value = line.size() > profileValueStart ? line.substr(profileValueStart) : "";
        if (field->value == &ConnectionProfile::password) {
            if (!take_password(value, mode, profileName, profile, reading)) return reading;
        } else if (field->value == &ConnectionProfile::user) {
            profile.user = upper_cased(value);
        } else {
            profile.*(field->value) = value;
        }
    }
    return reading;
}

namespace {

std::string characters(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " character" : " characters");
}

}  // namespace

std::string profile_field_problem(const ProfileField& field, const std::string& value) {
    if (value.size() < field.minLength) return "shorter than " + characters(field.minLength);
    if (value.size() > field.maxLength) return "longer than " + characters(field.maxLength);
    return "";
}

std::string validate_profile(const ConnectionProfile& profile, const std::string& profileName) {
    if (profile.user.empty()) return "Error 1006: Username in Profile " + profileName + " is missing...";
    if (profile.password.empty()) return "Error 1007: Password in Profile " + profileName + " is missing...";
    for (const ProfileField& field : profileFields)
        if (!profile_field_problem(field, profile.*(field.value)).empty())
            return "Error 1003: Invalid Parameter(s) at " + profileName + " found...";
    return "";
}
