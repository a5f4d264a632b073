#include "worker.h"

#include <cstdio>

#include "console.h"
#include "failure_report.h"
#include "field_list.h"
#include "messages.h"
#include "own_configuration.h"
#include "rfc_loader.h"
#include "system_run.h"
#include "text_helpers.h"
#include "worker_process.h"

namespace {

// A request is its length in decimal and a line feed, then its fields.
constexpr std::size_t largestRequest = 1 << 20;

std::string flag(bool value) {
    return value ? "1" : "0";
}

}  // namespace

std::string encode_request(const WorkerRequest& request) {
    std::vector<std::string> fields;
    for (const ProfileField& field : profileFields) fields.push_back(request.profile.*(field.value));
    fields.insert(fields.end(),
                  {request.profileName, request.label, request.itemId, flag(request.console), flag(request.rates),
                   flag(request.reasons), flag(request.overrides.hasHost), request.overrides.host,
                   flag(request.overrides.hasSystemNumber), request.overrides.systemNumber,
                   std::to_string(request.systemNumber), std::to_string(static_cast<int>(request.library))});
    const std::string body = encode_fields(fields);
    return std::to_string(body.size()) + "\n" + body;
}

std::optional<WorkerRequest> decode_request(const std::string& text) {
    const std::optional<std::vector<std::string>> fields = decode_fields(text);
    const std::size_t count = profileFields.size() + 12;
    if (!fields || fields->size() != count) return std::nullopt;
    WorkerRequest request;
    std::size_t at = 0;
    for (const ProfileField& field : profileFields) request.profile.*(field.value) = (*fields)[at++];
    request.profileName = (*fields)[at++];
    request.label = (*fields)[at++];
    request.itemId = (*fields)[at++];
    request.console = (*fields)[at++] == "1";
    request.rates = (*fields)[at++] == "1";
    request.reasons = (*fields)[at++] == "1";
    request.overrides.hasHost = (*fields)[at++] == "1";
    request.overrides.host = (*fields)[at++];
    request.overrides.hasSystemNumber = (*fields)[at++] == "1";
    request.overrides.systemNumber = (*fields)[at++];
    request.systemNumber = c_integer((*fields)[at++], NumberOverflow::Clamp);
    const std::string& library = (*fields)[at++];
    if (library == "1") request.library = LibraryChoice::classic;
    if (library == "2") request.library = LibraryChoice::netWeaver;
    return request;
}

std::string encode_outcome(const SystemOutcome& outcome) {
    std::vector<std::string> fields = {std::to_string(static_cast<int>(outcome.failure)), outcome.message,
                                       outcome.reason};
    for (const auto& [name, value] : outcome.channels) fields.insert(fields.end(), {name, value});
    return outcomeMark + encode_fields(fields);
}

WorkerAnswer decode_answer(const std::string& output) {
    WorkerAnswer answer;
    const std::size_t mark = output.rfind(outcomeMark);
    if (mark == std::string::npos) {
        const std::size_t report = output.find(failureReportMark);
        answer.failureReported = report != std::string::npos;
        answer.printed = output;
        if (answer.failureReported) answer.printed.erase(report, std::string(failureReportMark).size());
        return answer;
    }
    answer.printed = output.substr(0, mark);
    const std::optional<std::vector<std::string>> fields =
        decode_fields(output.substr(mark + std::string(outcomeMark).size()));
    if (!fields || fields->size() < 3 || fields->size() % 2 == 0) return answer;
    SystemOutcome outcome;
    outcome.failure = static_cast<SystemFailure>(c_integer((*fields)[0], NumberOverflow::Clamp));
    outcome.message = (*fields)[1];
    outcome.reason = (*fields)[2];
    for (std::size_t i = 3; i + 1 < fields->size(); i += 2)
        outcome.channels.emplace_back((*fields)[i], (*fields)[i + 1]);
    answer.outcome = outcome;
    return answer;
}

SystemOutcome worker_ended_outcome(int signal, int exitCode) {
    SystemOutcome outcome;
    outcome.failure = SystemFailure::workerEnded;
    outcome.reason = signal ? "the worker process ended by signal " + std::to_string(signal)
                            : "the worker process ended with exit code " + std::to_string(exitCode);
    outcome.message = outcome.reason;
    return outcome;
}

int run_worker(const SensorWorld& world) {
    std::string length;
    for (std::string byte; (byte = read_standard_input(1)).size() == 1 && byte != "\n";) length += byte;
    const std::size_t size = static_cast<std::size_t>(c_integer(length, NumberOverflow::Clamp));
    const std::optional<WorkerRequest> request =
        size <= largestRequest ? decode_request(read_standard_input(size)) : std::nullopt;
    if (!request) return 2;
    // The parent keeps the pipe open for as long as it waits; when it has
    // gone, so does the worker, wherever it is.
    end_when_input_closes();
    // The folder the parent made for this worker is private to it already,
    // and goes with it whichever way it ends: the library reads the
    // configuration there, not in a folder of the worker's own that a
    // worker ended at the parent's deadline would leave behind.
    keep_configuration_in_working_directory();
    choose_rfc_library(request->library);
    if (world.loadRfcLibrary()) return 2;
    RfcSession session;
    session.records.r3.systemNumber = request->systemNumber;
    session.waitingTold = [](const char* operation) {
        if (std::FILE* file = std::fopen(waitingFileName, "wb")) {
            if (operation) std::fputs(operation, file);
            std::fclose(file);
        }
    };
    install_failure_report();
    set_failure_report_claim([] { write_output(failureReportMark); });
    MeasureSteps steps;
    steps.showConfigured = request->console;
    steps.traceFinding = false;
    steps.reasons = request->reasons;
    steps.measured = [&](const QueueTotals& totals) {
        world.write(item_channel(totals, request->itemId, request->label, request->rates));
    };
    SystemOutcome outcome =
        measure_system(session, world, request->profile, request->profileName, request->overrides, steps);
    add_item_channel(request->itemId, request->label, outcome);
    world.write(encode_outcome(outcome));
    return 0;
}
