// The one remote call of a system run: TH_REQUEST_QUEUE, which hands back
// the dispatcher's request queues in the table REQUEST_QUEUES.
#pragma once

#include <string>

#include "rfc/rfc_library.h"

inline constexpr const char* requestQueueTable = "REQUEST_QUEUES";
inline constexpr int requestQueueLineWidth = 80;

// Calls the function module over the open connection into the caller's
// table. Returns 0 on success, otherwise the library's code; for codes 2
// and 3 the exception text is handed out. The line structure THLINES is
// installed on the first call of the process and serves every later one.
int call_request_queue(RfcHandle handle, TableHandle table, std::string& exceptionText);
