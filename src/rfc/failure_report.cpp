#include "failure_report.h"

#include "console.h"
#include "label_line.h"
#include "messages.h"
#include "rfc_loader.h"

namespace {

// The text of a fixed-size field of the error record, which the library may
// have left without its terminating zero.
std::string field_text(const char* field, std::size_t size) {
    std::size_t length = 0;
    while (length < size && field[length] != '\0') ++length;
    return std::string(field, length);
}

}  // namespace

std::string failure_block(const std::string& operation, const RfcErrorInformation& error) {
    return rfcErrorHeading + label_line("operation/code", 0, errorLabelWidth, operation) +
           label_line("key", 0, errorLabelWidth, field_text(error.key, sizeof error.key)) +
           label_line("status", 0, errorLabelWidth, field_text(error.status, sizeof error.status)) +
           label_line("message", 0, errorLabelWidth, field_text(error.message, sizeof error.message)) +
           label_line("internal status", 0, errorLabelWidth,
                      field_text(error.internalStatus, sizeof error.internalStatus)) +
           "\n";
}

extern "C" void RFC_CALL rfc_failure_report(const char* operation) {
    RfcErrorInformation error{};
    rfc_operations().RfcLastError(&error);
    write_output(failure_block(operation ? operation : "", error));
    rfc_operations().RfcClose(0);
    write_output(programAbortedLine);
    write_output(endOfOutputErrorLine);
    end_process(1);
}

void install_failure_report() {
    // The record stays valid for the whole process, as the library may keep it.
    static RfcEnvironmentRecord environment{rfc_failure_report, nullptr};
    rfc_operations().RfcEnvironment(&environment);
}
