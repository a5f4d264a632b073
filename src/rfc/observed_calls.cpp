// The classic library's operations as the test command sees them, and the
// note every observed call of either library is told through.
#include "observed_calls.h"

#include <sstream>
#include <utility>

#include "failure_report.h"
#include "observed_call.h"
#include "request_queue.h"
#include "rfc_loader.h"
#include "text_helpers.h"

namespace {

// The classic library's own operations, and the one who watches the calls
// of either library.
RfcLibrary library{};
std::function<void(const LibraryCallNote&)> observer;

using Call = ObservedCall;

std::string text_or_none(const char* text) {
    return text ? std::string(text) : std::string("none");
}

// The user and password reach the library padded with blanks.
std::string without_padding(const char* text) {
    std::string value = text_or_none(text);
    value.erase(value.find_last_not_of(' ') + 1);
    return value;
}

std::string connection_text(RfcHandle handle) {
    return handle ? "connection " + std::to_string(handle) : std::string("no connection");
}

// The library's last error, for a failed logon or call.
std::optional<LibraryError> last_error_if(bool failed) {
    if (!failed) return std::nullopt;
    RfcErrorInformation error{};
    library.RfcLastError(&error);
    return LibraryError{record_field_text(error.key, sizeof error.key),
                        record_field_text(error.status, sizeof error.status),
                        record_field_text(error.message, sizeof error.message),
                        record_field_text(error.internalStatus, sizeof error.internalStatus)};
}

// The way to the system and the logon, as RfcOpen is given them.
std::string open_options_text(const RfcConnectionOptions& options) {
    std::string text = "direct to " + text_or_none(options.destination);
    if (options.mode == RFC_MODE_R2 && options.connectionData) {
        const auto& gateway = *static_cast<const RfcGatewayRecord*>(options.connectionData);
        text += ", R/2 through gateway host " + text_or_none(gateway.gatewayHost) + ", gateway service " +
                text_or_none(gateway.gatewayService);
    } else if (options.connectionData) {
        const auto& r3 = *static_cast<const RfcR3ConnectionRecord*>(options.connectionData);
        text += ", host " + text_or_none(r3.hostname) + ", system number " + std::to_string(r3.systemNumber);
        if (r3.gatewayHost || r3.gatewayService)
            text += ", gateway host " + text_or_none(r3.gatewayHost) + ", gateway service " +
                    text_or_none(r3.gatewayService);
    }
    return text + ", client " + text_or_none(options.client) + ", user " + without_padding(options.user) +
           ", language " + text_or_none(options.language);
}

// The connect string's words but the password. Words are separated by
// blanks only, as the library reads them, so that no part of a password
// holding another white-space character is shown.
std::string connect_string_text(const char* connectString) {
    std::istringstream words(text_or_none(connectString));
    std::string text, word;
    while (std::getline(words, word, ' '))
        if (!word.empty() && !begins_with(upper_cased(word), "PASSWD=")) text += (text.empty() ? "" : " ") + word;
    return "configured destination, " + text;
}

std::string code_text(int32_t code) {
    return std::to_string(code);
}

void RFC_CALL observed_environment(RfcEnvironmentRecord* environment) {
    Call call("RfcEnvironment", "the failure handler");
    library.RfcEnvironment(environment);
    call.finish("", false);
}

RfcHandle RFC_CALL observed_open_ex(const char* connectString, RfcExtendedError* error) {
    Call call("RfcOpenEx", connect_string_text(connectString));
    const RfcHandle handle = library.RfcOpenEx(connectString, error);
    call.finish(connection_text(handle), !handle, last_error_if(!handle));
    return handle;
}

RfcHandle RFC_CALL observed_open(RfcConnectionOptions* options) {
    Call call("RfcOpen", open_options_text(*options));
    const RfcHandle handle = library.RfcOpen(options);
    call.finish(connection_text(handle), !handle, last_error_if(!handle));
    return handle;
}

RfcResult RFC_CALL observed_install_structure(const char* name, RfcTypeElement* elements, uint32_t count,
                                              LineTypeHandle* lineType) {
    Call call("RfcInstallStructure", text_or_none(name));
    const RfcResult result = library.RfcInstallStructure(name, elements, count, lineType);
    call.finish(code_text(result), result != 0);
    return result;
}

RfcResult RFC_CALL observed_call(RfcHandle handle, const char* function, RfcParameter* exporting,
                                 RfcTableDescriptor* tables) {
    Call call("RfcCall", connection_text(handle) + ", " + text_or_none(function));
    const RfcResult result = library.RfcCall(handle, function, exporting, tables);
    call.finish(code_text(result), result != 0, last_error_if(result != 0));
    return result;
}

RfcResult RFC_CALL observed_receive(RfcHandle handle, RfcParameter* importing, RfcTableDescriptor* tables,
                                    char** exception) {
    Call call("RfcReceive", connection_text(handle));
    const RfcResult result = library.RfcReceive(handle, importing, tables, exception);
    std::string text = code_text(result);
    if ((result == 2 || result == 3) && exception && *exception) text += ", exception " + std::string(*exception);
    call.finish(text, result != 0, last_error_if(result != 0));
    return result;
}

int32_t RFC_CALL observed_last_error(RfcErrorInformation* error) {
    Call call("RfcLastError", "");
    const int32_t result = library.RfcLastError(error);
    call.finish(code_text(result), false);
    return result;
}

void RFC_CALL observed_close(RfcHandle handle) {
    Call call("RfcClose", handle ? connection_text(handle) : std::string("every connection"));
    library.RfcClose(handle);
    call.finish("", false);
}

TableHandle RFC_CALL observed_it_create(const char* name, uint32_t width, uint32_t occurs, uint32_t memsize) {
    Call call("ItCreate", text_or_none(name) + ", lines of " + std::to_string(width) + " characters");
    TableHandle table = library.ItCreate(name, width, occurs, memsize);
    call.finish(table ? "a table" : "no table", !table);
    return table;
}

uint32_t RFC_CALL observed_it_fill(TableHandle table) {
    Call call("ItFill", "");
    const uint32_t lines = library.ItFill(table);
    call.finish(std::to_string(lines) + (lines == 1 ? " line" : " lines"), false);
    return lines;
}

void* RFC_CALL observed_it_get_line(TableHandle table, uint32_t line) {
    Call call("ItGetLine", "line " + std::to_string(line));
    void* data = library.ItGetLine(table, line);
    std::string text = "no line";
    if (data) {
        text = record_field_text(static_cast<const char*>(data), requestQueueLineWidth);
        text.erase(text.find_last_not_of(' ') + 1);
        text = "\"" + text + "\"";
    }
    call.finish(text, !data);
    return data;
}

int32_t RFC_CALL observed_it_delete(TableHandle table) {
    Call call("ItDelete", "");
    const int32_t result = library.ItDelete(table);
    call.finish(code_text(result), result != 0);
    return result;
}

}  // namespace

ObservedCall::ObservedCall(const char* operation, std::string given) {
    note.operation = operation;
    note.given = std::move(given);
    observer(note);
}

void ObservedCall::finish(std::string result, bool failed, std::optional<LibraryError> lastError) {
    note.ended = true;
    note.result = std::move(result);
    note.failed = failed;
    note.lastError = std::move(lastError);
    observer(note);
}

void observe_library_calls(std::function<void(const LibraryCallNote& note)> observe) {
    library = rfc_operations();
    observer = std::move(observe);
    const RfcLibrary observed{observed_environment, observed_open_ex, observed_open,        observed_install_structure,
                              observed_call,        observed_receive, observed_last_error,  observed_close,
                              observed_it_create,   observed_it_fill, observed_it_get_line, observed_it_delete};
    replace_rfc_operations(observed);
    replace_nwrfc_operations(observed_nwrfc_operations(nwrfc_operations()));
}
