// What the sensor says when the RFC library fails: the error block that ends
// the process, and the trace file's last error message for a failed call.
#pragma once

#include <cstddef>
#include <string>

#include "output/document.h"
#include "rfc/rfc_library.h"

inline constexpr const char* traceFileName = "Dev_Rfc.Trc";
// The trace file is read in pieces of at most this many characters.
inline constexpr std::size_t tracePieceWidth = 99;
// Labels of the error block are padded to this width.
inline constexpr std::size_t errorLabelWidth = 15;

// The error block for the failed operation and the library's last error.
std::string failure_block(const std::string& operation, const RfcErrorInformation& error);

// The failure handler installed with RfcEnvironment; also called by the
// sensor when a library operation it cannot do without fails. Prints the
// error block, closes every connection and ends the process with exit code 1.
extern "C" void RFC_CALL rfc_failure_report(const char* operation);

// Installs rfc_failure_report as the library's failure handler.
void install_failure_report();

// The last error message written to the trace file's contents, or empty.
std::string trace_finding(const std::string& traceContents);

// Appends " - " and the trace finding to the document (or the texts for a
// missing trace file or one without a message).
void append_trace_finding(ResultDocument& document);
