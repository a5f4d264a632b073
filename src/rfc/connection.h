// Opening the RFC connection to one SAP system, directly from the profile or
// through a per-destination configuration file copied over "SapRfc.ini".
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// The logon parameters of the NetWeaver library, name and value, from the
// filled records: a configured destination by DEST, otherwise the
// application server (ASHOST, SYSNR of two digits) or, for R/2, the
// gateway, with the destination as SYSID; then CLIENT, USER, PASSWD and
// LANG, the user and password without the classic library's padding. An
// empty host, gateway or language is left out.
std::vector<std::pair<std::string, std::string>> netweaver_parameters(const ConnectionRecords& records,
                                                                      bool configured);

// The run's own sapnwrfc.ini from a configured destination's classic file:
// the destination's entry alone (from its DEST= line to the next), without
// the classic library's TYPE= line and comment lines, every other line as
// it stands. The NetWeaver library tells the kind of connection by the keys
// it finds (ASHOST and SYSNR, or MSHOST, R3NAME and GROUP). A file with no
// entry for the destination is kept whole, for the library to refuse.
std::string netweaver_configuration(const std::string& classic, const std::string& destination);

// The per-destination configuration's file name, "SapRfc." + destination,
// in the working directory; a file that does not open selects the direct way.
std::string destination_configuration_name(const std::string& destination);

// The RFC library's configuration file in the working directory.
inline constexpr const char* configurationFileName = "SapRfc.ini";

// Opens the classic library's connection: with a configuration, by writing it over
// "SapRfc.ini" (`writeConfiguration`, false when it cannot) and the run's
// own configuration file and calling RfcOpenEx; otherwise directly with
// RfcOpen. The records are filled either way. The null handle when no
// connection was opened; `session.openProblem` then says why when the
// library was not called at all.
RfcHandle classic_open_connection(RfcSession& session, const ConnectionProfile& profile,
                                  const ConnectionOverrides& overrides, const std::optional<std::string>& configuration,
                                  const std::function<bool(const std::string& bytes)>& writeConfiguration);

// Closes the classic library's connection.
void classic_close_connection(RfcSession& session, RfcHandle handle);
