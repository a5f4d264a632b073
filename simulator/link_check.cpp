// Links librfc32 through its import library and calls its operations by
// name, so that a wrong export name fails at load time. Only operations
// without file effects are called; the two opens are only referenced.
#include <cstdio>

#include "rfc_library.h"

int main() {
    int faults = 0;
    auto expect = [&faults](bool holds, const char* what) {
        if (!holds) {
            std::printf("link check failed: %s\n", what);
            ++faults;
        }
    };
    RfcEnvironmentRecord environment{nullptr, nullptr};
    RfcEnvironment(&environment);
    RfcHandle(RFC_CALL* volatile open)(RfcConnectionOptions*) = RfcOpen;
    RfcHandle(RFC_CALL* volatile openEx)(const char*, RfcExtendedError*) = RfcOpenEx;
    expect(open != nullptr && openEx != nullptr, "RfcOpen, RfcOpenEx");

    RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, 80, 0, 0};
    LineTypeHandle lineType = 0;
    expect(RfcInstallStructure("THLINES", &element, 1, &lineType) == 0 && lineType == 1, "RfcInstallStructure");
    TableHandle table = ItCreate("REQUEST_QUEUES", 80, 0, 0);
    expect(table != nullptr, "ItCreate");
    RfcTableDescriptor tables[2] = {{"REQUEST_QUEUES", 14, lineType, 0, table, 0, 0}, {}};
    RfcParameter none[1] = {{}};
    expect(RfcCall(7, "TH_REQUEST_QUEUE", none, tables) == 1, "RfcCall on an unknown handle");
    char* exception = nullptr;
    expect(RfcReceive(7, none, tables, &exception) == 1, "RfcReceive on an unknown handle");
    expect(ItFill(table) == 0 && ItGetLine(table, 1) == nullptr, "ItFill, ItGetLine");
    expect(ItDelete(table) == 0, "ItDelete");
    RfcErrorInformation error{};
    expect(RfcLastError(&error) == 0 && error.key[0] == '\0', "RfcLastError");
    RfcClose(0);
    if (faults == 0) std::printf("librfc32: all operations linked and answered\n");
    return faults == 0 ? 0 : 1;
}
