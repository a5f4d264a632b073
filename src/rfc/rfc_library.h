// The operations and records of the classic RFC library "librfc32" that the
// sensor calls, declared from what the sensor passes and relies on. The
// library is a closed component. The sensor does not link it: it loads the
// library when it runs and takes the operations by name into an RfcLibrary
// (rfc_loader.h), so that it starts, and says what is wrong, also when the
// library is missing or unusable. The declarations of the operations below
// are what the library exports under those names; the simulator implements
// them.
//
// Texts are NUL-terminated 8-bit strings, integers are 32 bits, and a null
// handle means "none".
#pragma once

#include <stdint.h>

#include "rfc_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t RfcHandle;      // connection handle; 0 is the null handle
typedef void* TableHandle;       // internal table; null is "no table"
typedef int32_t LineTypeHandle;  // installed line structure
typedef int32_t RfcResult;       // 0 is success

typedef void(RFC_CALL* RfcFailureHandler)(const char* operation);

// Environment record: the failure handler, then the allocator (none).
struct RfcEnvironmentRecord {
    RfcFailureHandler failureHandler;
    void* allocator;
};

// Error information record, 545 bytes, filled by RfcLastError.
struct RfcErrorInformation {
    char key[33];
    char status[128];
    char message[256];
    char internalStatus[128];
};

// Extended error record handed to RfcOpenEx; the sensor does not read it.
struct RfcExtendedError {
    int32_t group;
    char key[33];
    char message[513];
};

// Connection data of an R/2 connection: the gateway.
struct RfcGatewayRecord {
    const char* gatewayHost;     // null: none
    const char* gatewayService;  // null: none
};

// Connection data of an R/3 connection: the application server.
struct RfcR3ConnectionRecord {
    const char* hostname;  // null: none
    int32_t systemNumber;
    const char* gatewayHost;     // null: none
    const char* gatewayService;  // null: none
};

enum { RFC_MODE_R3 = 0, RFC_MODE_R2 = 1 };

// Connection options record handed to RfcOpen.
struct RfcConnectionOptions {
    const char* destination;
    int32_t mode;          // RFC_MODE_R2 or RFC_MODE_R3
    void* connectionData;  // RfcGatewayRecord* or RfcR3ConnectionRecord*
    const char* client;
    const char* user;
    const char* password;
    const char* language;
    int32_t trace;
};

enum { RFC_TYPE_CHAR = 0 };

// One element of a line structure for RfcInstallStructure.
struct RfcTypeElement {
    const char* name;
    int32_t type;
    int32_t length;
    int32_t decimals;
    int32_t offset;
};

// One table parameter of RfcCall and RfcReceive; a list ends with an entry
// whose name is null.
struct RfcTableDescriptor {
    const char* name;
    int32_t nameLength;
    LineTypeHandle lineType;
    int32_t lineLength;
    TableHandle table;
    int32_t tableMode;
    int32_t newTable;
};

// One scalar parameter; a list ends with an entry whose name is null.
struct RfcParameter {
    const char* name;
    int32_t nameLength;
    int32_t type;
    int32_t length;
    void* address;
};

// The twelve operations as the sensor calls them: each member holds the
// library's export of the same name.
struct RfcLibrary {
    void(RFC_CALL* RfcEnvironment)(struct RfcEnvironmentRecord* environment);
    RfcHandle(RFC_CALL* RfcOpenEx)(const char* connectString, struct RfcExtendedError* error);
    RfcHandle(RFC_CALL* RfcOpen)(struct RfcConnectionOptions* options);
    RfcResult(RFC_CALL* RfcInstallStructure)(const char* name, struct RfcTypeElement* elements, uint32_t count,
                                             LineTypeHandle* lineType);
    RfcResult(RFC_CALL* RfcCall)(RfcHandle handle, const char* function, struct RfcParameter* exporting,
                                 struct RfcTableDescriptor* tables);
    RfcResult(RFC_CALL* RfcReceive)(RfcHandle handle, struct RfcParameter* importing, struct RfcTableDescriptor* tables,
                                    char** exception);
    int32_t(RFC_CALL* RfcLastError)(struct RfcErrorInformation* error);
    void(RFC_CALL* RfcClose)(RfcHandle handle);
    TableHandle(RFC_CALL* ItCreate)(const char* name, uint32_t width, uint32_t occurs, uint32_t memsize);
    uint32_t(RFC_CALL* ItFill)(TableHandle table);
    void*(RFC_CALL* ItGetLine)(TableHandle table, uint32_t line);
    int32_t(RFC_CALL* ItDelete)(TableHandle table);
};

RFC_EXPORT void RFC_CALL RfcEnvironment(struct RfcEnvironmentRecord* environment);
RFC_EXPORT RfcHandle RFC_CALL RfcOpenEx(const char* connectString, struct RfcExtendedError* error);
RFC_EXPORT RfcHandle RFC_CALL RfcOpen(struct RfcConnectionOptions* options);
RFC_EXPORT RfcResult RFC_CALL RfcInstallStructure(const char* name, struct RfcTypeElement* elements, uint32_t count,
                                                  LineTypeHandle* lineType);
RFC_EXPORT RfcResult RFC_CALL RfcCall(RfcHandle handle, const char* function, struct RfcParameter* exporting,
                                      struct RfcTableDescriptor* tables);
RFC_EXPORT RfcResult RFC_CALL RfcReceive(RfcHandle handle, struct RfcParameter* importing,
                                         struct RfcTableDescriptor* tables, char** exception);
RFC_EXPORT int32_t RFC_CALL RfcLastError(struct RfcErrorInformation* error);
RFC_EXPORT void RFC_CALL RfcClose(RfcHandle handle);
RFC_EXPORT TableHandle RFC_CALL ItCreate(const char* name, uint32_t width, uint32_t occurs, uint32_t memsize);
RFC_EXPORT uint32_t RFC_CALL ItFill(TableHandle table);
RFC_EXPORT void* RFC_CALL ItGetLine(TableHandle table, uint32_t line);
RFC_EXPORT int32_t RFC_CALL ItDelete(TableHandle table);

#ifdef __cplusplus
}
#endif
