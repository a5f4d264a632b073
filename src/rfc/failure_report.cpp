#include "failure_report.h"

#include <utility>

#include "console.h"
#include "label_line.h"
#include "messages.h"
#include "rfc_loader.h"

namespace {

FailureReportWatch watch;
std::function<void()> claim;

}  // namespace

std::string record_field_text(const char* field, std::size_t size) {
    std::size_t length = 0;
    while (length < size && field[length] != '\0') ++length;
    return std::string(field, length);
}

std::string failure_block(const std::string& operation, const LibraryError& error) {
    return rfcErrorHeading + label_line("operation/code", 0, errorLabelWidth, operation) +
           label_line("key", 0, errorLabelWidth, error.key) + label_line("status", 0, errorLabelWidth, error.status) +
           label_line("message", 0, errorLabelWidth, error.message) +
           label_line("internal status", 0, errorLabelWidth, error.internalStatus) + "\n";
}

LibraryError classic_last_error() {
    RfcErrorInformation error{};
    rfc_operations().RfcLastError(&error);
    return {record_field_text(error.key, sizeof error.key), record_field_text(error.status, sizeof error.status),
            record_field_text(error.message, sizeof error.message),
            record_field_text(error.internalStatus, sizeof error.internalStatus)};
}

void end_with_library_failure(const std::string& operation, const std::function<LibraryError()>& lastError) {
    if (claim) claim();
    const LibraryError error = lastError();
    if (watch.before) watch.before(operation);
    write_output(failure_block(operation, error));
    rfc_backend().closeEvery();
    write_output(programAbortedLine);
    write_output(endOfOutputErrorLine);
    if (watch.after) watch.after(operation, error);
    end_process(1);
}

extern "C" void RFC_CALL rfc_failure_report(const char* operation) {
    end_with_library_failure(operation ? operation : "", classic_last_error);
}

void install_classic_failure_report() {
    // The record stays valid for the whole process, as the library may keep it.
    static RfcEnvironmentRecord environment{rfc_failure_report, nullptr};
    rfc_operations().RfcEnvironment(&environment);
}

void set_failure_report_claim(std::function<void()> reportClaim) {
    claim = std::move(reportClaim);
}

void watch_failure_report(FailureReportWatch reportWatch) {
    watch = std::move(reportWatch);
}
