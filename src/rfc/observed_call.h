// What the classic and the NetWeaver library's observed operations share:
// the note of one call, told to the process's observer as the call begins
// and as it ends.
#pragma once

#include <optional>
#include <string>

#include "nwrfc_library.h"
#include "observed_calls.h"

struct ObservedCall {
    LibraryCallNote note;
    // Notes the beginning.
    ObservedCall(const char* operation, std::string given);
    // Notes the end; `lastError` for a failed logon or call.
    void finish(std::string result, bool failed, std::optional<LibraryError> lastError = std::nullopt);
};

// The NetWeaver library's operations in front of `library`'s, each call
// noted; connections are numbered in the order they open.
NwRfcLibrary observed_nwrfc_operations(const NwRfcLibrary& library);
