// What the sensor says when the RFC library fails: the error block that ends
// the process.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "rfc_backend.h"
#include "rfc_library.h"

// Labels of the error block are padded to this width.
inline constexpr std::size_t errorLabelWidth = 15;

// The error block for the failed operation and the library's last error.
std::string failure_block(const std::string& operation, const LibraryError& error);

// The classic library's last error, as RfcLastError fills its record.
LibraryError classic_last_error();

// The failure handler installed with RfcEnvironment; also called by the
// sensor when a library operation it cannot do without fails. Prints the
// error block, closes every connection and ends the process with exit code
// 1: the one place besides main where the process ends, since the library
// calls it from inside an operation that cannot go on.
extern "C" [[noreturn]] void RFC_CALL rfc_failure_report(const char* operation);

// The same report for any library: claims the last words, then takes the
// error from `lastError`, prints the block, closes every connection through
// the process's back end and ends the process with exit code 1.
[[noreturn]] void end_with_library_failure(const std::string& operation,
                                           const std::function<LibraryError()>& lastError);

// What the failure report does first: claims the process's last words
// for its block. Nothing when unset.
void set_failure_report_claim(std::function<void()> claim);

// Installs rfc_failure_report as the classic library's failure handler.
void install_classic_failure_report();

// The text of a fixed-size field of a library record, which the library may
// have left without its terminating zero.
std::string record_field_text(const char* field, std::size_t size);

// What the test command does around the failure report: `before` the block
// is printed, and `after` the report, which may end the process with its
// own exit code; the sensor sets neither.
struct FailureReportWatch {
    std::function<void(const std::string& operation)> before;
    std::function<void(const std::string& operation, const LibraryError& error)> after;
};
void watch_failure_report(FailureReportWatch watch);
