// Opening the RFC connection to one SAP system, directly from the profile or
// through a per-destination configuration file copied over "SapRfc.ini".
#pragma once

#include <cstddef>
#include <string>

#include "rfc/rfc_library.h"
#include "system/profile.h"

// The user and password reach RfcOpen padded with blanks to these widths.
inline constexpr std::size_t paddedUserWidth = 12;
inline constexpr std::size_t paddedPasswordWidth = 10;

// The three records handed to the library and the texts they point to. One
// set serves the whole process: the system number stays from one system to
// the next when a later profile has none.
struct ConnectionRecords {
    RfcConnectionOptions options{};
    RfcGatewayRecord gateway{};
    RfcR3ConnectionRecord r3{};
    std::string destination, client, user, password, language, mode;
    std::string hostname, sysnr, gwhost, gwservice;
    std::string connectString;
};

// Host-name and system-number overrides of the option string: ",HOST=" and
// ",NO=" followed by a value up to a blank, a comma or the end.
struct ConnectionOverrides {
    bool hasHost = false;
    std::string host;
    bool hasSystemNumber = false;
    std::string systemNumber;
};

ConnectionOverrides connection_overrides(const std::string& optionString, const std::string& optionText);

// The system number as C's atoi reads it: leading white space, a sign, digits.
int32_t system_number_value(const std::string& text);

// Fills the records from the profile and the overrides (no library call).
void fill_connection_records(ConnectionRecords& records, const ConnectionProfile& profile,
                             const ConnectionOverrides& overrides);

// "CLIENT=... USER=... PASSWD=... LANG=D DEST=..."
std::string connect_string(const ConnectionProfile& profile);

// Opens the connection; the null handle when none was opened.
RfcHandle rfc_open_connection(ConnectionRecords& records, const ConnectionProfile& profile,
                              const ConnectionOverrides& overrides);
