// The one remote call of a system run: TH_REQUEST_QUEUE, which hands back
// the dispatcher's request queues in the table REQUEST_QUEUES.
#pragma once

#include <string>
#include <vector>

#include "rfc_session.h"

inline constexpr const char* requestQueueTable = "REQUEST_QUEUES";
inline constexpr int requestQueueLineWidth = 80;

enum class CallStatus { Err, Ok };

struct QueueCall {
    CallStatus status = CallStatus::Err;
    int code = 0;                    // 0 on success, otherwise the library's code
    std::string exceptionText;       // for the codes 2 and 3
    std::vector<std::string> lines;  // on success, the table's lines of at most 80 characters
};

// The table the library fills; a failure ends the process through the
// failure report.
TableHandle create_queue_table();
void delete_queue_table(TableHandle table);

// Calls the function module over the open connection into the table and, on
// success, reads the table's lines. THLINES is installed on the session's
// first call.
QueueCall classic_call_request_queue(RfcSession& session, RfcHandle handle, TableHandle table);
