// SAP's NetWeaver library behind the seam: the profile's fields become
// logon parameters in UTF-16, the function TH_REQUEST_QUEUE is made from
// the system's description and invoked, and its table REQUEST_QUEUES is
// read row by row. The library has no failure handler: what the run cannot
// go on from ends it through the failure report with the library's record.
#include <array>
#include <vector>

#include "connection.h"
#include "failure_report.h"
#include "nwrfc_error.h"
#include "nwrfc_library.h"
#include "nwrfc_names.h"
#include "own_configuration.h"
#include "rfc_backend.h"
#include "rfc_loader.h"
#include "windows1252.h"

std::string nwrfc_text(const SAP_UC* text, std::size_t units) {
    std::size_t length = 0;
    while (length < units && text[length] != 0) ++length;
    return windows1252_from_utf16(std::u16string(text, length));
}

LibraryError nwrfc_error(const RFC_ERROR_INFO& record) {
    return {nwrfc_text(record.key, std::size(record.key)),
            wickerby::nwrfc::name_of(wickerby::nwrfc::returnCodeNames, record.code),
            nwrfc_text(record.message, std::size(record.message)),
            wickerby::nwrfc::name_of(wickerby::nwrfc::errorGroupNames, record.group)};
}

namespace {

constexpr const char* functionName = "TH_REQUEST_QUEUE";
constexpr const char* lineField = "THLINE";

// The record of the last failure, for the reason and the trace's finding.
RFC_ERROR_INFO lastRecord{};
// The open connection, which the failure report closes.
RFC_CONNECTION_HANDLE openConnection = nullptr;

[[noreturn]] void end_with(const std::string& operation, const RFC_ERROR_INFO& record) {
    lastRecord = record;
    end_with_library_failure(operation, [] { return nwrfc_error(lastRecord); });
}

const NwRfcLibrary& library() {
    return nwrfc_operations();
}

// For a configured destination: its copy over SapRfc.ini as always, and its
// entry as the run's own sapnwrfc.ini, which the library is pointed at. What keeps
// the library from being called, in words; nothing when all is well.
std::optional<std::string> point_at_configuration(const std::string& configuration, const std::string& destination,
                                                  const ConfigurationWriter& writeConfiguration) {
    const std::string notCalled = "RfcOpenConnection not called: ";
    if (!writeConfiguration(configuration))
        return notCalled + configurationFileName + " cannot be written in the working directory";
    std::string folder;
    if (const std::optional<std::string> problem =
            write_own_netweaver_configuration(netweaver_configuration(configuration, destination), folder))
        return notCalled + *problem;
    if (folder.empty()) return std::nullopt;
    RFC_ERROR_INFO record{};
    if (library().RfcSetIniPath(utf16_from_windows1252(folder).c_str(), &record) != RFC_OK)
        return notCalled + "the library does not take the folder " + folder;
    return std::nullopt;
}

bool nw_open(RfcSession& session, const ConnectionProfile& profile, const ConnectionOverrides& overrides,
             const std::optional<std::string>& configuration, const ConfigurationWriter& writeConfiguration) {
    lastRecord = RFC_ERROR_INFO{};
    fill_connection_records(session.records, profile, overrides);
    session.openProblem.clear();
    if (configuration) {
        if (std::optional<std::string> problem =
                point_at_configuration(*configuration, session.records.destination, writeConfiguration)) {
            session.openProblem = std::move(*problem);
            return false;
        }
    }
    std::vector<std::pair<std::u16string, std::u16string>> texts;
    for (const auto& [name, value] : netweaver_parameters(session.records, configuration.has_value()))
        texts.emplace_back(utf16_from_windows1252(name), utf16_from_windows1252(value));
    std::vector<RFC_CONNECTION_PARAMETER> parameters;
    for (const auto& [name, value] : texts) parameters.push_back({name.c_str(), value.c_str()});
    RFC_ERROR_INFO record{};
    RFC_CONNECTION_HANDLE connection = nullptr;
    {
        const WaitingIn waiting(session, "RfcOpenConnection");
        connection = library().RfcOpenConnection(parameters.data(), static_cast<unsigned>(parameters.size()), &record);
    }
    if (!connection) lastRecord = record;
    session.nwConnection = connection;
    openConnection = connection;
    return connection != nullptr;
}

// The classic library's codes for the outcomes of the call, which the
// messages are numbered by.
constexpr int communicationCode = 1;
constexpr int exceptionCode = 2;
constexpr int systemExceptionCode = 3;
constexpr int otherCode = 4;

int classic_code(RFC_RC code) {
    switch (code) {
    case RFC_COMMUNICATION_FAILURE: return communicationCode;
    case RFC_ABAP_EXCEPTION: return exceptionCode;
    case RFC_ABAP_RUNTIME_FAILURE:
    case RFC_ABAP_MESSAGE: return systemExceptionCode;
    default: return otherCode;
    }
}

// The rows' field THLINE, each of 80 characters at most.
std::vector<std::string> table_lines(RFC_FUNCTION_HANDLE function) {
    RFC_ERROR_INFO record{};
    const std::u16string table = utf16_from_windows1252(requestQueueTable);
    const std::u16string field = utf16_from_windows1252(lineField);
    RFC_TABLE_HANDLE rows = nullptr;
    if (library().RfcGetTable(function, table.c_str(), &rows, &record) != RFC_OK)
        end_with("RfcGetTable REQUEST_QUEUES", record);
    unsigned count = 0;
    if (library().RfcGetRowCount(rows, &count, &record) != RFC_OK) end_with("RfcGetRowCount REQUEST_QUEUES", record);
    std::vector<std::string> lines;
    for (unsigned row = 0; row < count; ++row) {
        if (library().RfcMoveTo(rows, row, &record) != RFC_OK) end_with("RfcMoveTo REQUEST_QUEUES", record);
        std::array<RFC_CHAR, requestQueueLineWidth> line{};
        if (library().RfcGetChars(rows, field.c_str(), line.data(), requestQueueLineWidth, &record) != RFC_OK)
            end_with("RfcGetChars THLINE", record);
        lines.push_back(nwrfc_text(line.data(), line.size()));
    }
    return lines;
}

QueueCall nw_call(RfcSession& session) {
    RFC_ERROR_INFO record{};
    const auto connection = static_cast<RFC_CONNECTION_HANDLE>(session.nwConnection);
    const std::u16string name = utf16_from_windows1252(functionName);
    const RFC_FUNCTION_DESC_HANDLE description = library().RfcGetFunctionDesc(connection, name.c_str(), &record);
    if (!description) end_with("RfcGetFunctionDesc TH_REQUEST_QUEUE", record);
    const RFC_FUNCTION_HANDLE function = library().RfcCreateFunction(description, &record);
    if (!function) end_with("RfcCreateFunction TH_REQUEST_QUEUE", record);
    session.nwFunction = function;
    QueueCall call;
    RFC_RC code = RFC_OK;
    {
        const WaitingIn waiting(session, "RfcInvoke");
        code = library().RfcInvoke(connection, function, &record);
    }
    if (code != RFC_OK) {
        lastRecord = record;
        call.code = classic_code(code);
        if (call.code == exceptionCode) call.exceptionText = nwrfc_text(record.key, std::size(record.key));
        return call;
    }
    call.status = CallStatus::Ok;
    call.lines = table_lines(function);
    return call;
}

void nw_close(RfcSession& session) {
    RFC_ERROR_INFO record{};
    if (session.nwFunction) library().RfcDestroyFunction(static_cast<RFC_FUNCTION_HANDLE>(session.nwFunction), &record);
    session.nwFunction = nullptr;
    const WaitingIn waiting(session, "RfcCloseConnection");
    library().RfcCloseConnection(static_cast<RFC_CONNECTION_HANDLE>(session.nwConnection), &record);
    session.nwConnection = nullptr;
    openConnection = nullptr;
}

LibraryError nw_last_error() {
    return nwrfc_error(lastRecord);
}

// The library calls no handler of the sensor's: there is nothing to install.
void nw_install_failure_report() {}

void nw_close_every() {
    if (!openConnection) return;
    RFC_ERROR_INFO record{};
    library().RfcCloseConnection(openConnection, &record);
    openConnection = nullptr;
}

// What the library reports of itself: its release, minor version and patch
// level as numbers, and a text of its own.
std::string nw_version() {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned patch = 0;
    const SAP_UC* text = library().RfcGetVersion(&major, &minor, &patch);
    std::string version =
        "version " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
    const std::string words = text ? windows1252_from_utf16(text) : std::string();
    return words.empty() ? version : version + " (" + words + ")";
}

}  // namespace

const RfcBackend& netweaver_backend() {
    static const RfcBackend backend{
        nwrfcLibraryName,          nw_open,        nw_call,   nw_close, nw_last_error, false,
        nw_install_failure_report, nw_close_every, nw_version};
    return backend;
}
