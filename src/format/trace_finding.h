// What the RFC library's trace file says about the last failure: its last
// error message, appended to the message of a failed call.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

inline constexpr const char* traceFileName = "Dev_Rfc.Trc";
// The trace file is read in pieces of at most this many characters.
inline constexpr std::size_t tracePieceWidth = 99;

// The last error message written to the trace file's contents, or empty.
std::string trace_finding(const std::string& traceContents);

// " - " and the finding, or the texts for a missing trace file and for one
// without a message.
std::string trace_finding_text(const std::optional<std::string>& traceContents);
