// The connection profile: one SAP system's logon data, read from a profile
// file of "Key........: value" lines.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ConnectionProfile {
    std::string extcompany;
    std::string destination;
    std::string client;
    std::string user;
    std::string password;  // plain text, descrambled
    std::string language;
    std::string mode;
    std::string hostname;
    std::string sysnr;
    std::string gwhost;
    std::string gwservice;
    // The hosts an option string's ",HOST=" may send this profile's logon
    // to, from its "Allowedhost:" lines. Unlike the fields above they belong
    // to the file they are written in: a later profile of a listing never
    // inherits them, so no override reaches a system whose own file does not
    // allow it.
    std::vector<std::string> allowedHosts;
};

// One field of the profile: its key in the file (12 characters, exact) and
// the lengths a valid value has. A longer value is refused, never cut, since
// a cut destination or host reaches another system.
struct ProfileField {
    const char* key;
    const char* name;
    std::size_t minLength;
    std::size_t maxLength;
    std::string ConnectionProfile::*value;
};

// In the order in which the checks take them and a profile lists them.
inline constexpr std::array<ProfileField, 11> profileFields = {{
    {"Extcompany.:", "extcompany", 2, 60, &ConnectionProfile::extcompany},
    {"Destination:", "destination", 3, 11, &ConnectionProfile::destination},
    {"Client.....:", "client", 3, 11, &ConnectionProfile::client},
    {"User.......:", "user", 2, 47, &ConnectionProfile::user},
    {"Password...:", "password", 2, 20, &ConnectionProfile::password},
    {"Language...:", "language", 1, 31, &ConnectionProfile::language},
    {"Mode.......:", "mode", 3, 31, &ConnectionProfile::mode},
    {"Hostname...:", "hostname", 2, 47, &ConnectionProfile::hostname},
    {"Sysnr......:", "sysnr", 2, 31, &ConnectionProfile::sysnr},
    {"Gwhost.....:", "gwhost", 2, 60, &ConnectionProfile::gwhost},
    {"Gwservice..:", "gwservice", 2, 31, &ConnectionProfile::gwservice},
}};

// A key fills the first 12 characters of its line; the value starts after
// one separator character.
inline constexpr std::size_t profileKeyLength = 12;
inline constexpr std::size_t profileValueStart = 13;  // the 14th character

// Profile lines are read up to this many characters; a longer line is read
// in pieces, each a line of its own.
inline constexpr std::size_t singleRunLineWidth = 99;
inline constexpr std::size_t listingRunLineWidth = 199;

// "Allowedhost:" lines name, separated by blanks or commas, the hosts an
// option string may put in place of the profile's host name; the lines add
// up. Only the administrator, who writes the profile, can allow a host: a
// PRTG user who may add sensors types the option string.
inline constexpr const char* allowedHostKey = "Allowedhost:";

// A bad stored password either ends the run (single-system run) or marks the
// system as failed and reading goes on (multi-system run).
enum class PasswordFailureMode { EndRun, MarkSystem };

// Reads the profile file's contents (as read in text mode) into the profile;
// fields not named in the file keep their values, the allowed hosts are the
// file's own. Returns the message of the
// first bad stored password, if there is one; with EndRun the reading stops
// there.
std::optional<std::string> read_profile(const std::string& contents, std::size_t lineWidth, PasswordFailureMode mode,
                                        const std::string& profileName, ConnectionProfile& profile);

// True when the profile allows the host as an override, compared without
// regard to case as host names are.
bool allows_host(const ConnectionProfile& profile, const std::string& host);

// What is wrong with a field's value ("shorter than 3 characters", "longer
// than 11 characters"), or nothing when its length is right.
std::optional<std::string> profile_field_problem(const ProfileField& field, const std::string& value);

// True when the client, user and password can go into the connect string of
// a configured destination, whose words are separated by blanks: a blank in
// a value would end it there and the rest would be read as another word. A
// control character (below the blank, or DEL) is refused alike: a value
// from PRTG's variables may hold one, and it could end the string or a line
// of whatever shows it.
bool fits_connect_string(const ConnectionProfile& profile);

// The first problem of the profile as its message, or nothing when it is valid.
std::optional<std::string> validate_profile(const ConnectionProfile& profile, const std::string& profileName);
