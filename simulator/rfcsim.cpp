// The library operations of librfc32 as the simulator plays them. The state
// of the process (scenario, connections, tables, last error) lives here;
// parsing and formatting are in the files beside it.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <thread>

#include "files.h"
#include "logon.h"
#include "rfc_library.h"
#include "scenario.h"
#include "scenario_file.h"
#include "simulator.h"
#include "texts.h"

namespace rfcsim {

namespace {

constexpr const char* traceFile = "Dev_Rfc.Trc";

struct ErrorText {
    std::string key;
    std::string status;
    std::string message;
    std::string internal;
};

// An internal table: its lines back to back, each rowWidth bytes, without
// terminators, so a reader that runs past a line's 80 bytes is caught by the
// sanitizers rather than helped by a convenient NUL.
struct Table {
    std::size_t rowWidth = tableLineWidth;
    uint32_t count = 0;
    std::vector<char> rows;
};

struct State : FaceScenario {
    RfcFailureHandler handler = nullptr;
    RfcHandle nextHandle = 1;
    std::map<RfcHandle, std::size_t> connections;  // handle -> index of the system
    LineTypeHandle nextLineType = 1;
    std::vector<std::unique_ptr<Table>> tables;
    ErrorText lastError;
    std::string exceptionText;
};

State& state() {
    static State current;
    return current;
}

ErrorText error_of(const SystemScenario* system) {
    ErrorText error{"RFC_ERROR_COMMUNICATION", "CONNECT_FAILED", "partner not reached", ""};
    if (!system) return error;
    error.key = system->errorKey.value_or(error.key);
    error.status = system->errorStatus.value_or(error.status);
    error.message = system->errorMessage.value_or(error.message);
    error.internal = system->errorInternal.value_or(error.internal);
    return error;
}

// A failure: the last error and the trace entry.
void record_failure(const ErrorText& error, const SystemScenario* system) {
    state().lastError = error;
    if (system && !system->trace.empty()) {
        append_lines(traceFile, system->trace);
        return;
    }
    std::time_t now = std::time(nullptr);
    std::tm localTime{};
    if (const std::tm* converted = std::localtime(&now)) localTime = *converted;
    append_lines(traceFile, classic_trace_entry(error.message, localTime));
}

void call_handler(const char* operation) {
    if (RfcFailureHandler handler = state().handler) handler(operation);
}

void copy_cut(char* field, std::size_t size, const std::string& text) {
    std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

const SystemScenario* system_of(RfcHandle handle) {
    State& current = state();
    auto found = current.connections.find(handle);
    return found == current.connections.end() ? nullptr : &current.scenario.systems[found->second];
}

Table* find_table(TableHandle handle) {
    for (auto& table : state().tables)
        if (table.get() == handle) return table.get();
    return nullptr;
}

struct Opening {
    RfcHandle handle = 0;
    bool failed = false;
    bool aborts = false;
};

std::string opening_text(const Opening& opening) {
    if (opening.aborts) return "abort";
    return opening.handle ? std::to_string(opening.handle) : "null";
}

// The partner decides first (refuse, abort); the logon checks come after.
Opening open_system(std::string_view destination, const LogonValues& logon) {
    State& current = state();
    const SystemScenario* system = find_system(current.scenario, destination);
    if (!system) {
        record_failure(error_of(nullptr), nullptr);
        return {0, true, false};
    }
    if (system->open != OpenOutcome::accept) {
        record_failure(error_of(system), system);
        return {0, true, system->open == OpenOutcome::abort};
    }
    if (!logon_holds(*system, logon)) {
        ErrorText error = error_of(system);
        error.message = system->errorMessage.value_or("Name or password is incorrect");
        record_failure(error, system);
        return {0, true, false};
    }
    RfcHandle handle = current.nextHandle++;
    current.connections[handle] = static_cast<std::size_t>(system - current.scenario.systems.data());
    return {handle, false, false};
}

bool destination_configured(const std::string& destination) {
    std::string path = environment_value("RFC_INI");
    if (path.empty()) path = "SapRfc.ini";
    std::optional<std::string> text = read_file(path);
    return text && ini_names_destination(*text, destination);
}

std::string text_of(const char* text) {
    return text ? text : "";
}

// RfcReceive with 0 fills the internal table of the first descriptor.
void fill_table(const RfcTableDescriptor* tables, const std::vector<std::string>& lines) {
    Table* table = tables && tables->name ? find_table(tables->table) : nullptr;
    if (!table) return;
    table->count = static_cast<uint32_t>(lines.size());
    table->rows = std::vector<char>(lines.size() * table->rowWidth, ' ');  // exactly this size
    for (std::size_t i = 0; i < lines.size(); ++i)
        std::memcpy(table->rows.data() + i * table->rowWidth, lines[i].data(), tableLineWidth);
}

}  // namespace

void reset_simulator() {
    state() = State{};
}

void set_waiter(Waiter waiter) {
    state().waiter = waiter ? waiter : sleep_waiter;
}

}  // namespace rfcsim

using namespace rfcsim;

void RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment) {
    state().handler = environment ? environment->failureHandler : nullptr;
    log_call("RfcEnvironment");
}

RfcHandle RFC_CALL RfcOpen(RfcConnectionOptions* options) {
    load_scenario(state());
    std::string destination;
    LogonValues logon;
    if (options) {
        destination = text_of(options->destination);
        logon = {text_of(options->client), text_of(options->user), text_of(options->password)};
    }
    if (const SystemScenario* system = find_system(state().scenario, destination))
        wait_for_system(state(), system->delays.open);
    Opening opening = open_system(destination, logon);
    log_call("RfcOpen " + describe_open_options(options) + " -> " + opening_text(opening));
    if (opening.aborts) call_handler("RfcOpen");
    return opening.handle;
}

RfcHandle RFC_CALL RfcOpenEx(const char* connectString, RfcExtendedError* error) {
    load_scenario(state());
    ConnectString connect = parse_connect_string(text_of(connectString));
    // The wait comes first, also for a destination that SapRfc.ini lacks.
    if (const SystemScenario* system = find_system(state().scenario, connect.destination))
        wait_for_system(state(), system->delays.openEx);
    Opening opening;
    if (destination_configured(connect.destination)) {
        opening = open_system(connect.destination, connect.logon);
    } else {
        // A failure like any other of that system, with this message.
        const SystemScenario* system = find_system(state().scenario, connect.destination);
        ErrorText missing = error_of(system);
        missing.message = "destination " + connect.destination + " not found in saprfc.ini";
        record_failure(missing, system);
        opening.failed = true;
    }
    if (opening.failed && error) {
        error->group = 0;
        copy_cut(error->key, sizeof error->key, state().lastError.key);
        copy_cut(error->message, sizeof error->message, state().lastError.message);
    }
    log_call("RfcOpenEx connect=" + log_text(connectString) + " -> " + opening_text(opening));
    if (opening.aborts) call_handler("RfcOpenEx");
    return opening.handle;
}

RfcResult RFC_CALL RfcInstallStructure(const char* name, RfcTypeElement* elements, uint32_t count,
                                       LineTypeHandle* lineType) {
    State& current = state();
    std::string entry = "RfcInstallStructure name=" + log_text(name) + " count=" + std::to_string(count) +
                        describe_elements(elements, count) + " -> ";
    if (current.scenario.library.installStructureFails) {
        log_call(entry + "1");
        return 1;
    }
    LineTypeHandle type = current.nextLineType++;
    if (lineType) *lineType = type;
    log_call(entry + "0 type=" + std::to_string(type));
    return 0;
}

RfcResult RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter*, RfcTableDescriptor* tables) {
    std::string entry = "RfcCall handle=" + std::to_string(handle) + " function=" + log_text(function) +
                        describe_tables(tables, true) + " -> ";
    const SystemScenario* system = system_of(handle);
    if (!system) {
        log_call(entry + "1");
        return 1;
    }
    wait_for_system(state(), system->delays.call);
    if (text_of(function) != "TH_REQUEST_QUEUE") {
        ErrorText error = error_of(system);
        error.key = "FU_NOT_FOUND";
        record_failure(error, system);
        log_call(entry + "1");
        return 1;
    }
    if (system->call.aborts) {
        record_failure(error_of(system), system);
        log_call(entry + "abort");
        call_handler("RfcCall");
        return 1;
    }
    if (system->call.code != 0) record_failure(error_of(system), system);
    log_call(entry + std::to_string(system->call.code));
    return system->call.code;
}

RfcResult RFC_CALL RfcReceive(RfcHandle handle, RfcParameter*, RfcTableDescriptor* tables, char** exception) {
    State& current = state();
    std::string entry = "RfcReceive handle=" + std::to_string(handle) + describe_tables(tables, false) + " -> ";
    const SystemScenario* system = system_of(handle);
    if (!system) {
        log_call(entry + "1");
        return 1;
    }
    wait_for_system(state(), system->delays.receive);
    const CallOutcome& receive = system->receive;
    if (receive.aborts) {
        record_failure(error_of(system), system);
        log_call(entry + "abort");
        call_handler("RfcReceive");
        return 1;
    }
    if (receive.code == 0) {
        fill_table(tables, system->lines);
    } else {
        if ((receive.code == 2 || receive.code == 3) && exception) {
            current.exceptionText = system->exception;
            *exception = current.exceptionText.data();
        }
        record_failure(error_of(system), system);
    }
    log_call(entry + std::to_string(receive.code));
    return receive.code;
}

int32_t RFC_CALL RfcLastError(RfcErrorInformation* error) {
    const ErrorText& last = state().lastError;
    if (error) {
        copy_cut(error->key, sizeof error->key, last.key);
        copy_cut(error->status, sizeof error->status, last.status);
        copy_cut(error->message, sizeof error->message, last.message);
        copy_cut(error->internalStatus, sizeof error->internalStatus, last.internal);
    }
    log_call("RfcLastError");
    return error ? 0 : 1;
}

void RFC_CALL RfcClose(RfcHandle handle) {
    State& current = state();
    if (handle == 0) current.connections.clear();
    else current.connections.erase(handle);
    log_call("RfcClose handle=" + (handle ? std::to_string(handle) : std::string("null")));
}

TableHandle RFC_CALL ItCreate(const char* name, uint32_t width, uint32_t, uint32_t) {
    State& current = state();
    std::string entry = "ItCreate name=" + log_text(name) + " width=" + std::to_string(width) + " -> ";
    if (current.scenario.library.createTableFails) {
        log_call(entry + "null");
        return nullptr;
    }
    auto table = std::make_unique<Table>();
    table->rowWidth = std::max<std::size_t>(width, tableLineWidth);
    TableHandle handle = table.get();
    current.tables.push_back(std::move(table));
    log_call(entry + "ok");
    return handle;
}

uint32_t RFC_CALL ItFill(TableHandle table) {
    const Table* found = find_table(table);
    uint32_t count = found ? found->count : 0;
    log_call("ItFill -> " + std::to_string(count));
    return count;
}

void* RFC_CALL ItGetLine(TableHandle table, uint32_t line) {
    const LibrarySwitches& library = state().scenario.library;
    Table* found = find_table(table);
    bool fails = library.getLineFails || library.getLineFailsAt == line;
    void* result = nullptr;
    if (found && line >= 1 && line <= found->count && !fails)
        result = found->rows.data() + (line - 1) * found->rowWidth;
    log_call("ItGetLine " + std::to_string(line) + " -> " + (result ? "ok" : "null"));
    return result;
}

int32_t RFC_CALL ItDelete(TableHandle table) {
    State& current = state();
    auto found = std::find_if(current.tables.begin(), current.tables.end(),
                              [table](const auto& entry) { return entry.get() == table; });
    int32_t result = 1;
    if (found != current.tables.end() && !current.scenario.library.deleteTableFails) {
        current.tables.erase(found);
        result = 0;
    }
    log_call("ItDelete -> " + std::to_string(result));
    return result;
}
