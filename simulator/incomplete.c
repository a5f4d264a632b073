/* A library under test that exports eleven of librfc32's twelve operations,
 * all but RfcOpenEx. A program that loads it must turn it away before it
 * calls any of them; should one be called all the same, it says so on
 * standard output, where a test sees it. */
#include <stdio.h>

#include "rfc_library.h"

static void called(const char* operation) {
    printf("librfc32 without RfcOpenEx: %s called\n", operation);
    fflush(stdout);
}

void RFC_CALL RfcEnvironment(struct RfcEnvironmentRecord* environment) {
    (void)environment;
    called("RfcEnvironment");
}

RfcHandle RFC_CALL RfcOpen(struct RfcConnectionOptions* options) {
    (void)options;
    called("RfcOpen");
    return 0;
}

RfcResult RFC_CALL RfcInstallStructure(const char* name, struct RfcTypeElement* elements, uint32_t count,
                                       LineTypeHandle* lineType) {
    (void)name;
    (void)elements;
    (void)count;
    (void)lineType;
    called("RfcInstallStructure");
    return 1;
}

RfcResult RFC_CALL RfcCall(RfcHandle handle, const char* function, struct RfcParameter* exporting,
                           struct RfcTableDescriptor* tables) {
    (void)handle;
    (void)function;
    (void)exporting;
    (void)tables;
    called("RfcCall");
    return 1;
}

RfcResult RFC_CALL RfcReceive(RfcHandle handle, struct RfcParameter* importing, struct RfcTableDescriptor* tables,
                              char** exception) {
    (void)handle;
    (void)importing;
    (void)tables;
    (void)exception;
    called("RfcReceive");
    return 1;
}

int32_t RFC_CALL RfcLastError(struct RfcErrorInformation* error) {
    (void)error;
    called("RfcLastError");
    return 1;
}

void RFC_CALL RfcClose(RfcHandle handle) {
    (void)handle;
    called("RfcClose");
}

TableHandle RFC_CALL ItCreate(const char* name, uint32_t width, uint32_t occurs, uint32_t memsize) {
    (void)name;
    (void)width;
    (void)occurs;
    (void)memsize;
    called("ItCreate");
    return NULL;
}

uint32_t RFC_CALL ItFill(TableHandle table) {
    (void)table;
    called("ItFill");
    return 0;
}

void* RFC_CALL ItGetLine(TableHandle table, uint32_t line) {
    (void)table;
    (void)line;
    called("ItGetLine");
    return NULL;
}

int32_t RFC_CALL ItDelete(TableHandle table) {
    (void)table;
    called("ItDelete");
    return 1;
}
