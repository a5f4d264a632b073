#include "profile.h"

#include <algorithm>

#include "credentials.h"
#include "messages.h"
#include "password.h"
#include "text_helpers.h"
#include "text_pieces.h"

namespace {

const ProfileField* field_for_key(const std::string& line) {
    if (line.size() < profileKeyLength) return nullptr;
    for (const ProfileField& field : profileFields)
        if (line.compare(0, profileKeyLength, field.key) == 0) return &field;
    return nullptr;
}

// Stores the password line's value; false when a bad stored password ends
// the reading.
bool take_password(const std::string& value, PasswordFailureMode mode, const std::string& profileName,
                   ConnectionProfile& profile, std::optional<std::string>& passwordMessage) {
    // A value that names PRTG's variable is no stored password: it stays as
    // written until the variable's value takes its place.
    if (value.empty() || credential_source(value)) {
        profile.password = value;
        return true;
    }
    DescrambledPassword descrambled = descramble_password(value);
    if (descrambled.result == DescrambleResult::Ok) {
        profile.password = descrambled.password;
        return true;
    }
    if (!passwordMessage)
        passwordMessage = descrambled.result == DescrambleResult::BadForm ? invalid_password_message(profileName)
                                                                          : wrong_password_message(profileName);
    return mode == PasswordFailureMode::MarkSystem;
}

void take_allowed_hosts(const std::string& line, std::vector<std::string>& hosts) {
    const std::string separators = " ,\t";
    std::size_t at = profileValueStart;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(separators, at);
        if (start == std::string::npos) break;
        const std::size_t end = std::min(line.find_first_of(separators, start), line.size());
        hosts.push_back(line.substr(start, end - start));
        at = end;
    }
}

}  // namespace

std::optional<std::string> read_profile(const std::string& contents, std::size_t lineWidth, PasswordFailureMode mode,
                                        const std::string& profileName, ConnectionProfile& profile) {
    std::optional<std::string> passwordMessage;
    profile.allowedHosts.clear();
    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, lineWidth, piece)) {
        const std::string line = without_line_end(piece);
        if (line.compare(0, profileKeyLength, allowedHostKey) == 0) {
            take_allowed_hosts(line, profile.allowedHosts);
            continue;
        }
        const ProfileField* field = field_for_key(line);
        if (!field) continue;
        // The whole rest of the line is the value: a value too long for its
        // field is refused by the checks, never cut here.
        const std::string value = line.size() > profileValueStart ? line.substr(profileValueStart) : "";
        if (field->value == &ConnectionProfile::password) {
            if (!take_password(value, mode, profileName, profile, passwordMessage)) return passwordMessage;
        } else if (field->value == &ConnectionProfile::user) {
            profile.user = credential_source(value) ? value : upper_cased(value);
        } else {
            profile.*(field->value) = value;
        }
    }
    return passwordMessage;
}

bool allows_host(const ConnectionProfile& profile, const std::string& host) {
    for (const std::string& allowed : profile.allowedHosts)
        if (upper_cased(allowed) == upper_cased(host)) return true;
    return false;
}

namespace {

std::string characters(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " character" : " characters");
}

}  // namespace

std::optional<std::string> profile_field_problem(const ProfileField& field, const std::string& value) {
    if (value.size() < field.minLength) return "shorter than " + characters(field.minLength);
    if (value.size() > field.maxLength) return "longer than " + characters(field.maxLength);
    return std::nullopt;
}

bool fits_connect_string(const ConnectionProfile& profile) {
    const auto breaks_words = [](unsigned char c) { return c <= ' ' || c == 0x7F; };
    for (const std::string* value : {&profile.client, &profile.user, &profile.password})
        if (std::any_of(value->begin(), value->end(), breaks_words)) return false;
    return true;
}

std::optional<std::string> validate_profile(const ConnectionProfile& profile, const std::string& profileName) {
    if (profile.user.empty()) return username_missing_message(profileName);
    if (profile.password.empty()) return password_missing_message(profileName);
    for (const ProfileField& field : profileFields)
        if (profile_field_problem(field, profile.*(field.value))) return invalid_parameters_message(profileName);
    return std::nullopt;
}
