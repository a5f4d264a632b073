// The pure parts of opening a connection: the logon checks, the connect
// string of RfcOpenEx and the lookup of its destination in SapRfc.ini.
#pragma once

#include <string>
#include <string_view>

#include "scenario.h"

namespace rfcsim {

// The values that a caller offers for the logon checks; a null text of
// RfcOpen, or a word missing from the connect string, is an empty text.
struct LogonValues {
    std::string client;
    std::string user;
    std::string password;
};

// Each check that the system gives holds when it equals the passed value
// with the passed value's trailing blanks removed.
bool logon_holds(const SystemScenario& system, const LogonValues& passed);

// The connect string of RfcOpenEx: blank-separated KEY=VALUE words. Keys
// are compared without regard to case, the last of a repeated key counts,
// other keys and words without '=' are ignored.
struct ConnectString {
    LogonValues logon;
    std::string language;
    std::string destination;
};
ConnectString parse_connect_string(std::string_view text);

// Whether the configuration file's text holds the line DEST=destination (key
// in any case, blanks around '=' and the line allowed, LF or CRLF).
bool ini_names_destination(std::string_view iniText, std::string_view destination);

}  // namespace rfcsim
