// The operations of sapnwrfc as the simulator plays them, over the same
// scenario engine as librfc32. The state of the process (scenario, ini path,
// connections, functions) lives here; conversions are in nw_texts, the
// return codes' names in nw_codes.
#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "companion.h"
#include "files.h"
#include "logon.h"
#include "nw_codes.h"
#include "nw_simulator.h"
#include "nw_texts.h"
#include "nwrfc_library.h"
#include "scenario_file.h"

// What the opaque handles point to.
struct RFC_CONNECTION_HANDLE_struct {
    uint32_t number = 0;
    std::size_t system = 0;  // index in the scenario's systems
};

// The one function this face knows, TH_REQUEST_QUEUE.
struct RFC_FUNCTION_DESC_HANDLE_struct {
    const char* name = "TH_REQUEST_QUEUE";
};

// A function, or the table REQUEST_QUEUES inside it. The table's rows are
// the scenario's 80-character lines; `row` is the current row.
struct RFC_DATA_CONTAINER_struct {
    bool isTable = false;
    std::unique_ptr<RFC_DATA_CONTAINER_struct> table;  // of a function
    std::vector<std::string> rows;
    std::size_t row = 0;
};

namespace rfcsim {

namespace {

constexpr const char* functionName = "TH_REQUEST_QUEUE";
constexpr const char* tableName = "REQUEST_QUEUES";
constexpr const char* fieldName = "THLINE";
constexpr const char* iniName = "sapnwrfc.ini";
constexpr const char16_t* versionText = u"750, patch level 0, rfcsim";

struct Failure {
    int32_t code = RFC_OK;
    std::string key;
    std::string message;
};

struct State : FaceScenario {
    std::string iniPath;  // set by RfcSetIniPath
    uint32_t nextConnection = 1;
    std::map<uint32_t, std::unique_ptr<RFC_CONNECTION_HANDLE_struct>> connections;
    std::vector<std::unique_ptr<RFC_DATA_CONTAINER_struct>> functions;
    RFC_FUNCTION_DESC_HANDLE_struct description;
};

State& state() {
    static State current;
    return current;
}

// Every operation fills the record: RFC_OK and empty texts on success.
RFC_RC report(RFC_ERROR_INFO* info, const Failure& failure) {
    if (info) {
        *info = RFC_ERROR_INFO{};
        info->code = static_cast<RFC_RC>(failure.code);
        info->group = static_cast<RFC_ERROR_GROUP>(error_group_of(failure.code));
        copy_text16(info->key, std::size(info->key), failure.key);
        copy_text16(info->message, std::size(info->message), failure.message);
    }
    return static_cast<RFC_RC>(failure.code);
}

// A failure of the library itself, with no system behind it.
Failure local_failure(int32_t code, const std::string& message) {
    return {code, rfc_rc_name(code), message};
}

// A failure of a system: its error.key and error.message where given.
Failure system_failure(const SystemScenario* system, int32_t code, const std::string& message = "partner not reached") {
    Failure failure{code, rfc_rc_name(code), message};
    if (!system) return failure;
    failure.key = system->errorKey.value_or(failure.key);
    failure.message = system->errorMessage.value_or(failure.message);
    return failure;
}

// RfcSetIniPath's directory, else RFC_INI (a directory, or the file itself),
// else the working directory.
std::string ini_file() {
    const State& current = state();
    if (!current.iniPath.empty()) return path_in(current.iniPath, iniName);
    std::string variable = environment_value("RFC_INI");
    if (variable.empty()) return iniName;
    return is_directory(variable) ? path_in(variable, iniName) : variable;
}

bool destination_configured(const std::string& destination) {
    std::optional<std::string> text = read_file(ini_file());
    return text && ini_names_destination(*text, destination);
}

// The checks of an open in their order; a handle only when all hold.
Failure check_open(const ParameterValues& values, const SystemScenario* system) {
    auto value = [&values](const char* name) {
        auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    };
    std::string configured = value("DEST");
    if (!configured.empty() && !destination_configured(configured)) {
        // Always this message, as the classic face's missing destination.
        Failure missing = system_failure(system, RFC_INVALID_PARAMETER);
        missing.message = "destination " + configured + " not found in " + iniName;
        return missing;
    }
    if (!system) return system_failure(nullptr, RFC_COMMUNICATION_FAILURE);
    if (system->open != OpenOutcome::accept) return system_failure(system, RFC_COMMUNICATION_FAILURE);
    if (system->nwOpen != RFC_OK) return system_failure(system, system->nwOpen);
    if (!logon_holds(*system, {value("CLIENT"), value("USER"), value("PASSWD")}))
        return system_failure(system, RFC_LOGON_FAILURE, "Name or password is incorrect");
    return {};
}

RFC_CONNECTION_HANDLE_struct* find_connection(RFC_CONNECTION_HANDLE handle) {
    for (auto& [number, connection] : state().connections)
        if (connection.get() == handle) return connection.get();
    return nullptr;
}

std::string connection_text(RFC_CONNECTION_HANDLE handle) {
    if (!handle) return "null";
    const RFC_CONNECTION_HANDLE_struct* connection = find_connection(handle);
    return connection ? std::to_string(connection->number) : "unknown";
}

const SystemScenario& system_of(const RFC_CONNECTION_HANDLE_struct& connection) {
    return state().scenario.systems[connection.system];
}

RFC_DATA_CONTAINER_struct* find_function(DATA_CONTAINER_HANDLE handle) {
    for (auto& function : state().functions)
        if (function.get() == handle) return function.get();
    return nullptr;
}

RFC_DATA_CONTAINER_struct* find_table(DATA_CONTAINER_HANDLE handle) {
    for (auto& function : state().functions)
        if (function->table.get() == handle) return function->table.get();
    return nullptr;
}

// call, then receive, as the classic face plays them, as one invoke.
Failure invoke_outcome(const SystemScenario& system) {
    if (system.nwInvoke != RFC_OK) return system_failure(&system, system.nwInvoke);
    for (const CallOutcome* outcome : {&system.call, &system.receive}) {
        if (outcome->aborts || outcome->code == 1) return system_failure(&system, RFC_COMMUNICATION_FAILURE);
        if (outcome->code == 2) {
            Failure failure = system_failure(&system, RFC_ABAP_EXCEPTION);
            failure.key = system.exception;
            return failure;
        }
        if (outcome->code == 3) return system_failure(&system, RFC_ABAP_RUNTIME_FAILURE);
        if (outcome->code != 0) return system_failure(&system, RFC_UNKNOWN_ERROR);
    }
    return {};
}

}  // namespace

void reset_nw_simulator() {
    state() = State{};
}

void set_nw_waiter(Waiter waiter) {
    state().waiter = waiter ? waiter : sleep_waiter;
}

}  // namespace rfcsim

using namespace rfcsim;

RFC_RC RFC_CALL RfcSetIniPath(const SAP_UC* pathName, RFC_ERROR_INFO* errorInfo) {
    state().iniPath = utf8_of(pathName);
    log_call("RfcSetIniPath path=" + log_text16(pathName) + " -> RFC_OK");
    return report(errorInfo, {});
}

const SAP_UC* RFC_CALL RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion, unsigned* patchLevel) {
    CompanionVersion version = rfcsim_companion_version();
    if (majorVersion) *majorVersion = version.majorVersion;
    if (minorVersion) *minorVersion = version.minorVersion;
    if (patchLevel) *patchLevel = version.patchLevel;
    log_call("RfcGetVersion -> " + std::to_string(version.majorVersion) + " " + std::to_string(version.minorVersion) +
             " " + std::to_string(version.patchLevel));
    return versionText;
}

RFC_CONNECTION_HANDLE RFC_CALL RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount,
                                                 RFC_ERROR_INFO* errorInfo) {
    load_scenario(state());
    State& current = state();
    auto values = parameter_values(connectionParams, paramCount);
    const SystemScenario* system = find_system(current.scenario, system_name(values));
    if (system) wait_for_system(state(), system->delays.openConnection);
    Failure failure = check_open(values, system);
    std::string entry = "RfcOpenConnection" + describe_parameters(connectionParams, paramCount) + " -> ";
    if (failure.code != RFC_OK) {
        log_call(entry + "null " + rfc_rc_name(failure.code));
        report(errorInfo, failure);
        return nullptr;
    }
    auto connection = std::make_unique<RFC_CONNECTION_HANDLE_struct>();
    connection->number = current.nextConnection++;
    connection->system = static_cast<std::size_t>(system - current.scenario.systems.data());
    RFC_CONNECTION_HANDLE handle = connection.get();
    current.connections[connection->number] = std::move(connection);
    log_call(entry + std::to_string(handle->number));
    report(errorInfo, {});
    return handle;
}

RFC_RC RFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo) {
    std::string entry = "RfcCloseConnection handle=" + connection_text(rfcHandle) + " -> ";
    Failure failure;
    if (const RFC_CONNECTION_HANDLE_struct* connection = find_connection(rfcHandle))
        state().connections.erase(connection->number);
    else failure = local_failure(RFC_INVALID_HANDLE, "connection handle not valid");
    log_call(entry + rfc_rc_name(failure.code));
    return report(errorInfo, failure);
}

RFC_FUNCTION_DESC_HANDLE RFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle, const SAP_UC* funcName,
                                                     RFC_ERROR_INFO* errorInfo) {
    std::string entry =
        "RfcGetFunctionDesc handle=" + connection_text(rfcHandle) + " function=" + log_text16(funcName) + " -> ";
    const RFC_CONNECTION_HANDLE_struct* connection = find_connection(rfcHandle);
    Failure failure;
    if (!connection) {
        failure = local_failure(RFC_INVALID_HANDLE, "connection handle not valid");
    } else if (utf8_of(funcName) != functionName) {
        failure = system_failure(&system_of(*connection), RFC_ABAP_EXCEPTION);
        failure.key = "FU_NOT_FOUND";
    }
    log_call(entry + (failure.code == RFC_OK ? "ok" : "null " + rfc_rc_name(failure.code)));
    report(errorInfo, failure);
    return failure.code == RFC_OK ? &state().description : nullptr;
}

RFC_FUNCTION_HANDLE RFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle, RFC_ERROR_INFO* errorInfo) {
    State& current = state();
    Failure failure;
    if (funcDescHandle != &current.description)
        failure = local_failure(RFC_INVALID_HANDLE, "function description handle not valid");
    else if (current.scenario.library.createTableFails)
        failure = local_failure(RFC_MEMORY_INSUFFICIENT, "no memory for the function");
    RFC_FUNCTION_HANDLE handle = nullptr;
    if (failure.code == RFC_OK) {
        auto function = std::make_unique<RFC_DATA_CONTAINER_struct>();
        function->table = std::make_unique<RFC_DATA_CONTAINER_struct>();
        function->table->isTable = true;
        handle = function.get();
        current.functions.push_back(std::move(function));
    }
    log_call(std::string("RfcCreateFunction -> ") + (handle ? "ok" : "null " + rfc_rc_name(failure.code)));
    report(errorInfo, failure);
    return handle;
}

RFC_RC RFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
    State& current = state();
    Failure failure;
    if (!find_function(funcHandle)) failure = local_failure(RFC_INVALID_HANDLE, "function handle not valid");
    else if (current.scenario.library.deleteTableFails)
        failure = local_failure(RFC_ILLEGAL_STATE, "the function could not be released");
    else std::erase_if(current.functions, [funcHandle](const auto& function) { return function.get() == funcHandle; });
    log_call("RfcDestroyFunction -> " + rfc_rc_name(failure.code));
    return report(errorInfo, failure);
}

RFC_RC RFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
    RFC_DATA_CONTAINER_struct* function = find_function(funcHandle);
    std::string entry = "RfcInvoke handle=" + connection_text(rfcHandle) +
                        " function=" + (function ? "[" + std::string(functionName) + "]" : std::string("none")) +
                        " -> ";
    const RFC_CONNECTION_HANDLE_struct* connection = find_connection(rfcHandle);
    Failure failure;
    if (!connection) {
        failure = local_failure(RFC_INVALID_HANDLE, "connection handle not valid");
    } else {
        const SystemScenario& system = system_of(*connection);
        wait_for_system(state(), system.delays.invoke);
        failure = function ? invoke_outcome(system) : local_failure(RFC_INVALID_HANDLE, "function handle not valid");
        if (failure.code == RFC_OK) {
            function->table->rows = system.lines;
            function->table->row = 0;
        }
    }
    log_call(entry + rfc_rc_name(failure.code));
    return report(errorInfo, failure);
}

RFC_RC RFC_CALL RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_TABLE_HANDLE* tableHandle,
                            RFC_ERROR_INFO* errorInfo) {
    RFC_DATA_CONTAINER_struct* function = find_function(dataHandle);
    Failure failure;
    if (!function) failure = local_failure(RFC_INVALID_HANDLE, "function handle not valid");
    else if (utf8_of(name) != tableName || !tableHandle)
        failure = local_failure(RFC_INVALID_PARAMETER, "field " + utf8_of(name) + " not found");
    else *tableHandle = function->table.get();
    log_call("RfcGetTable name=" + log_text16(name) + " -> " + rfc_rc_name(failure.code));
    return report(errorInfo, failure);
}

RFC_RC RFC_CALL RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount, RFC_ERROR_INFO* errorInfo) {
    const RFC_DATA_CONTAINER_struct* table = find_table(tableHandle);
    Failure failure;
    if (!table) failure = local_failure(RFC_INVALID_HANDLE, "table handle not valid");
    else if (rowCount) *rowCount = static_cast<unsigned>(table->rows.size());
    std::string count = table ? " count=" + std::to_string(table->rows.size()) : "";
    log_call("RfcGetRowCount -> " + rfc_rc_name(failure.code) + count);
    return report(errorInfo, failure);
}

RFC_RC RFC_CALL RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index, RFC_ERROR_INFO* errorInfo) {
    const LibrarySwitches& library = state().scenario.library;
    RFC_DATA_CONTAINER_struct* table = find_table(tableHandle);
    Failure failure;
    bool lineFails = library.getLineFails || library.getLineFailsAt == static_cast<uint64_t>(index) + 1;
    if (!table) failure = local_failure(RFC_INVALID_HANDLE, "table handle not valid");
    else if (index >= table->rows.size() || lineFails)
        failure = local_failure(RFC_TABLE_MOVE_EOF, "no row " + std::to_string(index));
    else table->row = index;
    log_call("RfcMoveTo " + std::to_string(index) + " -> " + rfc_rc_name(failure.code));
    return report(errorInfo, failure);
}

RFC_RC RFC_CALL RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* charBuffer,
                            unsigned bufferLength, RFC_ERROR_INFO* errorInfo) {
    const RFC_DATA_CONTAINER_struct* table = find_table(dataHandle);
    Failure failure;
    if (!table && !find_function(dataHandle)) failure = local_failure(RFC_INVALID_HANDLE, "data handle not valid");
    else if (!table || utf8_of(name) != fieldName || !charBuffer)
        failure = local_failure(RFC_INVALID_PARAMETER, "field " + utf8_of(name) + " not found");
    else if (table->row >= table->rows.size()) failure = local_failure(RFC_ILLEGAL_STATE, "the table has no rows");
    else if (bufferLength < tableLineWidth) failure = local_failure(RFC_BUFFER_TOO_SMALL, "THLINE needs 80 characters");
    if (failure.code == RFC_OK) {
        std::u16string value = utf16_of(table->rows[table->row]);  // 80 bytes: at most 80 units
        std::fill(std::copy(value.begin(), value.end(), charBuffer), charBuffer + bufferLength, u' ');
    }
    log_call("RfcGetChars name=" + log_text16(name) + " length=" + std::to_string(bufferLength) + " -> " +
             rfc_rc_name(failure.code));
    return report(errorInfo, failure);
}
