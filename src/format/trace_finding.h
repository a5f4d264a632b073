// What the RFC library's trace file says about the last failure: its last
// error message, appended to the message of a failed call.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

inline constexpr const char* traceFileName = "Dev_Rfc.Trc";
// The trace file is read in pieces of at most this many characters.
inline constexpr std::size_t tracePieceWidth = 99;

// Finds the trace finding in a text that arrives in parts, as a file read
// in chunks, with the memory of one piece whatever the file's size.
struct TraceFinder {
    bool textMode = true;  // the parts are raw bytes, read as text mode reads them
    std::string finding;
    std::string piece;            // the piece read so far
    bool carriageReturn = false;  // a carriage return that may begin a CR LF pair
};

void feed_trace(TraceFinder& finder, const char* data, std::size_t size);

// The finding, once the whole text has been fed.
std::string finish_trace(TraceFinder& finder);

// The last error message written to the trace file's contents (as read in
// text mode), or empty.
std::string trace_finding(const std::string& traceContents);

// " - " and the finding; the texts for a missing trace file and for one
// without a message.
std::string trace_finding_text(const std::optional<std::string>& finding);
