#include "rfc/request_queue.h"

#include "rfc/failure_report.h"

namespace {

// Installed once per process; every later connection uses the same handle.
bool lineTypeInstalled = false;
LineTypeHandle lineType = 0;

void install_line_structure() {
    RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, requestQueueLineWidth, 0, 0};
    if (RfcInstallStructure("THLINES", &element, 1, &lineType) != 0) rfc_failure_report("RfcInstallStructure");
    lineTypeInstalled = true;
}

}  // namespace

int call_request_queue(RfcHandle handle, TableHandle table, std::string& exceptionText) {
    if (!lineTypeInstalled) install_line_structure();

    RfcTableDescriptor tables[2]{};
    tables[0].name = requestQueueTable;
    tables[0].nameLength = 14;
    tables[0].lineType = lineType;
    tables[0].table = table;
    RfcParameter exporting[1]{};
    RfcParameter importing[1]{};

    int code = RfcCall(handle, "TH_REQUEST_QUEUE", exporting, tables);
    if (code != 0) return code;
    char* exception = nullptr;
    code = RfcReceive(handle, importing, tables, &exception);
    if ((code == 2 || code == 3) && exception) exceptionText = exception;
    return code;
}
