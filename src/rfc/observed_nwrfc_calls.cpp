// The NetWeaver library's operations as the test command sees them. Its
// texts are UTF-16 and its handles pointers: a note shows the texts as the
// sensor writes them, a connection by the order it opened in, and every
// failure with the error record the operation filled.
#include <map>
#include <utility>

#include "nwrfc_error.h"
#include "nwrfc_names.h"
#include "observed_call.h"
#include "text_helpers.h"
#include "windows1252.h"

namespace {

NwRfcLibrary library{};
// The open connections, numbered from 1 in the order they opened, and the
// function each description and function handle stands for.
unsigned opened = 0;
std::map<RFC_CONNECTION_HANDLE, unsigned> connections;
std::map<const void*, std::string> functions;

using Call = ObservedCall;

std::string text_of(const SAP_UC* text) {
    return text ? windows1252_from_utf16(text) : std::string("none");
}

std::string connection_text(RFC_CONNECTION_HANDLE handle) {
    const auto known = connections.find(handle);
    if (known != connections.end()) return "connection " + std::to_string(known->second);
    return handle ? std::string("an unknown connection") : std::string("no connection");
}

std::string function_text(const void* handle) {
    const auto known = functions.find(handle);
    return known != functions.end() ? known->second : std::string("an unknown function");
}

std::string code_text(RFC_RC code) {
    return wickerby::nwrfc::name_of(wickerby::nwrfc::returnCodeNames, code);
}

std::optional<LibraryError> error_if(bool failed, const RFC_ERROR_INFO* record) {
    if (!failed || !record) return std::nullopt;
    return nwrfc_error(*record);
}

// What the logon parameters say in words, without the password; a
// configured destination's as the classic library's connect string.
std::string parameters_text(const RFC_CONNECTION_PARAMETER* parameters, unsigned count) {
    static const std::pair<const char*, const char*> words[] = {
        {"ASHOST", "host"},   {"SYSNR", "system number"}, {"GWHOST", "gateway host"}, {"GWSERV", "gateway service"},
        {"CLIENT", "client"}, {"USER", "user"},           {"LANG", "language"},
    };
    std::string system, direct, configured;
    bool toDestination = false;
    for (unsigned i = 0; parameters && i < count; ++i) {
        const std::string name = upper_cased(text_of(parameters[i].name));
        const std::string value = text_of(parameters[i].value);
        if (name == "PASSWD") continue;
        if (name == "SYSID") system = value;
        if (name == "DEST") toDestination = true;
        configured += (configured.empty() ? "" : " ") + name + "=" + value;
        if (name == "SYSID" || name == "DEST") continue;
        std::string word = name;
        for (const auto& [key, text] : words)
            if (name == key) word = text;
        direct += ", " + word + " " + value;
    }
    if (toDestination) return "configured destination, " + configured;
    return (system.empty() ? std::string("direct") : "direct to " + system) + direct;
}

// The sensor points the library only at the folder it made for the run,
// whose name changes with every run; a failure's message names it.
RFC_RC RFC_CALL observed_set_ini_path(const SAP_UC* pathName, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcSetIniPath", "the run's own folder, which holds the destination's sapnwrfc.ini");
    const RFC_RC code = library.RfcSetIniPath(pathName, errorInfo);
    call.finish(code_text(code), code != RFC_OK, error_if(code != RFC_OK, errorInfo));
    return code;
}

const SAP_UC* RFC_CALL observed_get_version(unsigned* majorVersion, unsigned* minorVersion, unsigned* patchLevel) {
    Call call("RfcGetVersion", "");
    const SAP_UC* text = library.RfcGetVersion(majorVersion, minorVersion, patchLevel);
    call.finish(text ? "\"" + text_of(text) + "\"" : std::string("no text"), false);
    return text;
}

RFC_CONNECTION_HANDLE RFC_CALL observed_open_connection(const RFC_CONNECTION_PARAMETER* connectionParams,
                                                        unsigned paramCount, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcOpenConnection", parameters_text(connectionParams, paramCount));
    const RFC_CONNECTION_HANDLE handle = library.RfcOpenConnection(connectionParams, paramCount, errorInfo);
    if (handle) connections[handle] = ++opened;
    call.finish(connection_text(handle), !handle, error_if(!handle, errorInfo));
    return handle;
}

RFC_RC RFC_CALL observed_close_connection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcCloseConnection", connection_text(rfcHandle));
    const RFC_RC code = library.RfcCloseConnection(rfcHandle, errorInfo);
    connections.erase(rfcHandle);
    call.finish(code_text(code), code != RFC_OK);
    return code;
}

RFC_FUNCTION_DESC_HANDLE RFC_CALL observed_get_function_desc(RFC_CONNECTION_HANDLE rfcHandle, const SAP_UC* funcName,
                                                             RFC_ERROR_INFO* errorInfo) {
    Call call("RfcGetFunctionDesc", connection_text(rfcHandle) + ", " + text_of(funcName));
    const RFC_FUNCTION_DESC_HANDLE description = library.RfcGetFunctionDesc(rfcHandle, funcName, errorInfo);
    if (description) functions[description] = text_of(funcName);
    call.finish(description ? "a description" : "no description", !description);
    return description;
}

RFC_FUNCTION_HANDLE RFC_CALL observed_create_function(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                      RFC_ERROR_INFO* errorInfo) {
    Call call("RfcCreateFunction", function_text(funcDescHandle));
    const RFC_FUNCTION_HANDLE function = library.RfcCreateFunction(funcDescHandle, errorInfo);
    if (function) functions[function] = function_text(funcDescHandle);
    call.finish(function ? "a function" : "no function", !function);
    return function;
}

RFC_RC RFC_CALL observed_destroy_function(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcDestroyFunction", function_text(funcHandle));
    const RFC_RC code = library.RfcDestroyFunction(funcHandle, errorInfo);
    functions.erase(funcHandle);
    call.finish(code_text(code), code != RFC_OK);
    return code;
}

RFC_RC RFC_CALL observed_invoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                                RFC_ERROR_INFO* errorInfo) {
    Call call("RfcInvoke", connection_text(rfcHandle) + ", " + function_text(funcHandle));
    const RFC_RC code = library.RfcInvoke(rfcHandle, funcHandle, errorInfo);
    call.finish(code_text(code), code != RFC_OK, error_if(code != RFC_OK, errorInfo));
    return code;
}

RFC_RC RFC_CALL observed_get_table(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_TABLE_HANDLE* tableHandle,
                                   RFC_ERROR_INFO* errorInfo) {
    Call call("RfcGetTable", text_of(name));
    const RFC_RC code = library.RfcGetTable(dataHandle, name, tableHandle, errorInfo);
    call.finish(code_text(code), code != RFC_OK);
    return code;
}

RFC_RC RFC_CALL observed_get_row_count(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcGetRowCount", "");
    const RFC_RC code = library.RfcGetRowCount(tableHandle, rowCount, errorInfo);
    const bool counted = code == RFC_OK && rowCount;
    call.finish(counted ? std::to_string(*rowCount) + (*rowCount == 1 ? " row" : " rows") : code_text(code),
                code != RFC_OK);
    return code;
}

RFC_RC RFC_CALL observed_move_to(RFC_TABLE_HANDLE tableHandle, unsigned index, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcMoveTo", "row " + std::to_string(index));
    const RFC_RC code = library.RfcMoveTo(tableHandle, index, errorInfo);
    call.finish(code_text(code), code != RFC_OK);
    return code;
}

RFC_RC RFC_CALL observed_get_chars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* charBuffer,
                                   unsigned bufferLength, RFC_ERROR_INFO* errorInfo) {
    Call call("RfcGetChars", text_of(name) + ", " + std::to_string(bufferLength) + " characters");
    const RFC_RC code = library.RfcGetChars(dataHandle, name, charBuffer, bufferLength, errorInfo);
    std::string text = code_text(code);
    if (code == RFC_OK && charBuffer) {
        text = nwrfc_text(charBuffer, bufferLength);
        text.erase(text.find_last_not_of(' ') + 1);
        text = "\"" + text + "\"";
    }
    call.finish(text, code != RFC_OK);
    return code;
}

}  // namespace

NwRfcLibrary observed_nwrfc_operations(const NwRfcLibrary& operations) {
    library = operations;
    opened = 0;
    connections.clear();
    functions.clear();
    return {observed_set_ini_path,      observed_get_version,     observed_open_connection,  observed_close_connection,
            observed_get_function_desc, observed_create_function, observed_destroy_function, observed_invoke,
            observed_get_table,         observed_get_row_count,   observed_move_to,          observed_get_chars};
}
