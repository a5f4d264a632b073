#include "request_queue.h"

#include "failure_report.h"
#include "rfc_loader.h"

namespace {

// RfcReceive's results that hand out an exception text.
constexpr int receiveException = 2;
constexpr int receiveSystemException = 3;

void install_line_structure(RfcSession& session) {
    RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, requestQueueLineWidth, 0, 0};
    if (rfc_operations().RfcInstallStructure("THLINES", &element, 1, &session.lineType) != 0)
        rfc_failure_report("RfcInstallStructure");
    session.lineTypeInstalled = true;
}

// The line count is asked again before each line, as the table may change.
std::vector<std::string> table_lines(TableHandle table) {
    std::vector<std::string> lines;
    for (uint32_t i = 1; i <= rfc_operations().ItFill(table); ++i) {
        const char* line = static_cast<const char*>(rfc_operations().ItGetLine(table, i));
        if (!line) rfc_failure_report("ItGetLine REQUEST_QUEUES");
        // A line holds 80 characters and no terminator is promised.
        lines.push_back(record_field_text(line, requestQueueLineWidth));
    }
    return lines;
}

}  // namespace

TableHandle create_queue_table() {
    TableHandle table = rfc_operations().ItCreate(requestQueueTable, requestQueueLineWidth, 0, 0);
    if (!table) rfc_failure_report("ItCreate REQUEST_QUEUES");
    return table;
}

void delete_queue_table(TableHandle table) {
    if (rfc_operations().ItDelete(table) != 0) rfc_failure_report("ItDelete REQUEST_QUEUES");
}

QueueCall classic_call_request_queue(RfcSession& session, RfcHandle handle, TableHandle table) {
    if (!session.lineTypeInstalled) install_line_structure(session);

    RfcTableDescriptor tables[2]{};
    tables[0].name = requestQueueTable;
    tables[0].nameLength = static_cast<int>(std::char_traits<char>::length(requestQueueTable));
    tables[0].lineType = session.lineType;
    tables[0].table = table;
    RfcParameter exporting[1]{};
    RfcParameter importing[1]{};

    QueueCall call;
    {
        const WaitingIn waiting(session, "RfcCall");
        call.code = rfc_operations().RfcCall(handle, "TH_REQUEST_QUEUE", exporting, tables);
    }
    if (call.code != 0) return call;
    char* exception = nullptr;
    {
        const WaitingIn waiting(session, "RfcReceive");
        call.code = rfc_operations().RfcReceive(handle, importing, tables, &exception);
    }
    const bool exceptionRaised = call.code == receiveException || call.code == receiveSystemException;
    if (exceptionRaised && exception) call.exceptionText = exception;
    if (call.code != 0) return call;
    call.status = CallStatus::Ok;
    call.lines = table_lines(table);
    return call;
}
