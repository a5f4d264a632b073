// Opening the RFC connection to one SAP system, directly from the profile or
// through a per-destination configuration file copied over "SapRfc.ini".
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "channel_options.h"
#include "profile.h"
#include "rfc_session.h"

// The user and password reach RfcOpen padded with blanks to these widths.
inline constexpr std::size_t paddedUserWidth = 12;
inline constexpr std::size_t paddedPasswordWidth = 10;

// The message when the host override names a host the profile does not
// allow; nothing without an override, with an empty one (no host name, as
// always) or with an allowed one. Checked before any library call.
std::optional<std::string> host_override_refusal(const ConnectionOverrides& overrides, const ConnectionProfile& profile,
                                                 const std::string& profileName);

// The message when ",NO=" gives a value that is no system number (one or
// two digits, 00 to 99); nothing without an override or with an empty one
// (the system number left as it is). Checked before any library call.
std::optional<std::string> system_number_override_refusal(const ConnectionOverrides& overrides,
                                                          const std::string& profileName);

// Fills the records from the profile and the overrides (no library call).
void fill_connection_records(ConnectionRecords& records, const ConnectionProfile& profile,
                             const ConnectionOverrides& overrides);

// "CLIENT=... USER=... PASSWD=... LANG=D DEST=..."
std::string connect_string(const ConnectionProfile& profile);

// The per-destination configuration's file name, "SapRfc." + destination,
// in the working directory; a file that does not open selects the direct way.
std::string destination_configuration_name(const std::string& destination);

// The RFC library's configuration file in the working directory.
inline constexpr const char* configurationFileName = "SapRfc.ini";

// Opens the connection: with a configuration, by writing it over
// "SapRfc.ini" (`writeConfiguration`, false when it cannot) and the run's
// own configuration file and calling RfcOpenEx; otherwise directly with
// RfcOpen. The records are filled either way. The null handle when no
// connection was opened; `session.openProblem` then says why when the
// library was not called at all.
RfcHandle rfc_open_connection(RfcSession& session, const ConnectionProfile& profile,
                              const ConnectionOverrides& overrides, const std::optional<std::string>& configuration,
                              const std::function<bool(const std::string& bytes)>& writeConfiguration);

// The library's last error, as RfcLastError tells it.
struct LibraryError {
    std::string key;
    std::string status;
    std::string message;
    std::string internalStatus;
};
LibraryError library_last_error();
