// The library's operations as the test command sees them: each call is
// noted as it begins and as it ends, in words a person reads, and then made
// as the sensor made it. A password never reaches a note.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "rfc_backend.h"
#include "rfc_library.h"

struct LibraryCallNote {
    std::string operation;  // "RfcOpen", "RfcOpenConnection"
    std::string given;      // what it was given, such as "connection 1, TH_REQUEST_QUEUE"
    bool ended = false;     // false at the beginning of the call
    std::string result;     // once ended: "connection 1", "no connection", "0", "7 lines", "RFC_OK"
    bool failed = false;    // once ended: the operation reports a failure
    // For a failed logon or call, the library's error right after it: the
    // classic library's last error, the NetWeaver library's error record.
    std::optional<LibraryError> lastError;
};

// Puts operations in front of the loaded library's, the classic one's or
// the NetWeaver one's, that hand every call to `observe` and then to the
// library. Called after the library has loaded.
void observe_library_calls(std::function<void(const LibraryCallNote& note)> observe);
