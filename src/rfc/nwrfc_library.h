// The operations and records of SAP's NetWeaver RFC library "sapnwrfc" that
// the sensor calls, declared from the library's public documentation. Like
// the classic library (rfc_library.h) it is a closed component that the
// sensor loads when it runs and takes the operations of by name into an
// NwRfcLibrary; the simulator implements them.
//
// Texts are UTF-16 code units (SAP_UC), NUL-terminated where a text is
// passed in. Every operation that can fail fills the error record passed
// last; handles are opaque pointers and null means "none".
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "rfc_abi.h"

#ifdef __cplusplus
extern "C" {
typedef char16_t SAP_UC;
#else
typedef uint16_t SAP_UC;
#endif

typedef SAP_UC RFC_CHAR;

typedef enum RFC_RC {
    RFC_OK = 0,
    RFC_COMMUNICATION_FAILURE = 1,
    RFC_LOGON_FAILURE = 2,
    RFC_ABAP_RUNTIME_FAILURE = 3,
    RFC_ABAP_MESSAGE = 4,
    RFC_ABAP_EXCEPTION = 5,
    RFC_CLOSED = 6,
    RFC_CANCELED = 7,
    RFC_TIMEOUT = 8,
    RFC_MEMORY_INSUFFICIENT = 9,
    RFC_VERSION_MISMATCH = 10,
    RFC_INVALID_PROTOCOL = 11,
    RFC_SERIALIZATION_FAILURE = 12,
    RFC_INVALID_HANDLE = 13,
    RFC_RETRY = 14,
    RFC_EXTERNAL_FAILURE = 15,
    RFC_EXECUTED = 16,
    RFC_NOT_FOUND = 17,
    RFC_NOT_SUPPORTED = 18,
    RFC_ILLEGAL_STATE = 19,
    RFC_INVALID_PARAMETER = 20,
    RFC_CODEPAGE_CONVERSION_FAILURE = 21,
    RFC_CONVERSION_FAILURE = 22,
    RFC_BUFFER_TOO_SMALL = 23,
    RFC_TABLE_MOVE_BOF = 24,
    RFC_TABLE_MOVE_EOF = 25,
    RFC_START_SAPGUI_FAILURE = 26,
    RFC_ABAP_CLASS_EXCEPTION = 27,
    RFC_UNKNOWN_ERROR = 28,
    RFC_AUTHORIZATION_FAILURE = 29
} RFC_RC;

typedef enum RFC_ERROR_GROUP {
    OK = 0,
    ABAP_APPLICATION_FAILURE = 1,
    ABAP_RUNTIME_FAILURE = 2,
    LOGON_FAILURE = 3,
    COMMUNICATION_FAILURE = 4,
    EXTERNAL_RUNTIME_FAILURE = 5,
    EXTERNAL_APPLICATION_FAILURE = 6,
    EXTERNAL_AUTHORIZATION_FAILURE = 7
} RFC_ERROR_GROUP;

// The error record, 1752 bytes with the padding after the last field.
typedef struct RFC_ERROR_INFO {
    RFC_RC code;
    RFC_ERROR_GROUP group;
    SAP_UC key[128];
    SAP_UC message[512];
    SAP_UC abapMsgClass[20 + 1];
    SAP_UC abapMsgType[1 + 1];
    SAP_UC abapMsgNumber[3 + 1];
    SAP_UC abapMsgV1[50 + 1];
    SAP_UC abapMsgV2[50 + 1];
    SAP_UC abapMsgV3[50 + 1];
    SAP_UC abapMsgV4[50 + 1];
} RFC_ERROR_INFO;

// One logon parameter (ASHOST, SYSNR, CLIENT, USER, PASSWD, LANG, DEST, ...).
typedef struct RFC_CONNECTION_PARAMETER {
    const SAP_UC* name;
    const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

// Opaque handles: the library owns what they point to.
typedef struct RFC_CONNECTION_HANDLE_struct* RFC_CONNECTION_HANDLE;
typedef struct RFC_FUNCTION_DESC_HANDLE_struct* RFC_FUNCTION_DESC_HANDLE;
typedef struct RFC_DATA_CONTAINER_struct* DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;

#ifdef __cplusplus
static_assert(sizeof(SAP_UC) == 2, "SAP_UC is one UTF-16 code unit");
static_assert(sizeof(RFC_RC) == 4 && sizeof(RFC_ERROR_GROUP) == 4, "the enumerations are 32 bits");
static_assert(offsetof(RFC_ERROR_INFO, key) == 8, "RFC_ERROR_INFO.key");
static_assert(offsetof(RFC_ERROR_INFO, message) == 264, "RFC_ERROR_INFO.message");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgClass) == 1288, "RFC_ERROR_INFO.abapMsgClass");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgType) == 1330, "RFC_ERROR_INFO.abapMsgType");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgNumber) == 1334, "RFC_ERROR_INFO.abapMsgNumber");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV1) == 1342, "RFC_ERROR_INFO.abapMsgV1");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV4) == 1648, "RFC_ERROR_INFO.abapMsgV4");
static_assert(sizeof(RFC_ERROR_INFO) == 1752, "RFC_ERROR_INFO");
static_assert(sizeof(RFC_CONNECTION_PARAMETER) == 2 * sizeof(void*), "RFC_CONNECTION_PARAMETER");
#endif

// The twelve operations as the sensor calls them: each member holds the
// library's export of the same name.
struct NwRfcLibrary {
    RFC_RC(RFC_CALL* RfcSetIniPath)(const SAP_UC* pathName, RFC_ERROR_INFO* errorInfo);
    const SAP_UC*(RFC_CALL* RfcGetVersion)(unsigned* majorVersion, unsigned* minorVersion, unsigned* patchLevel);
    RFC_CONNECTION_HANDLE(RFC_CALL* RfcOpenConnection)
    (const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcCloseConnection)(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo);
    RFC_FUNCTION_DESC_HANDLE(RFC_CALL* RfcGetFunctionDesc)
    (RFC_CONNECTION_HANDLE rfcHandle, const SAP_UC* funcName, RFC_ERROR_INFO* errorInfo);
    RFC_FUNCTION_HANDLE(RFC_CALL* RfcCreateFunction)
    (RFC_FUNCTION_DESC_HANDLE funcDescHandle, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcDestroyFunction)(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcInvoke)
    (RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcGetTable)
    (DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcGetRowCount)(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcMoveTo)(RFC_TABLE_HANDLE tableHandle, unsigned index, RFC_ERROR_INFO* errorInfo);
    RFC_RC(RFC_CALL* RfcGetChars)
    (DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* charBuffer, unsigned bufferLength,
     RFC_ERROR_INFO* errorInfo);
};

RFC_EXPORT RFC_RC RFC_CALL RfcSetIniPath(const SAP_UC* pathName, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT const SAP_UC* RFC_CALL RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion, unsigned* patchLevel);
RFC_EXPORT RFC_CONNECTION_HANDLE RFC_CALL RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams,
                                                            unsigned paramCount, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_FUNCTION_DESC_HANDLE RFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle, const SAP_UC* funcName,
                                                                RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_FUNCTION_HANDLE RFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                          RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                                     RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                       RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index, RFC_ERROR_INFO* errorInfo);
RFC_EXPORT RFC_RC RFC_CALL RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* charBuffer,
                                       unsigned bufferLength, RFC_ERROR_INFO* errorInfo);

#ifdef __cplusplus
}
#endif
