#include "trace_finding.h"

#include "messages.h"
#include "text_helpers.h"

namespace {

// Tests one piece; a NUL byte ends its content, as it ends a C string.
void take_piece(TraceFinder& finder) {
    std::string piece = finder.piece.substr(0, finder.piece.find('\0'));
    finder.piece.clear();
    std::string& finding = finder.finding;
    if (begins_with(piece, "**** ERROR ")) finding.clear();
    if (begins_with(piece, "ERROR ")) finding = piece.size() > 12 ? piece.substr(12) : "";
    if (piece.size() >= 15 && piece.compare(7, 8, "======> ") == 0) finding = piece.substr(15);
    if (!finding.empty() && finding.back() == '\r') finding.pop_back();
    if (!finding.empty() && finding.back() == '\n') finding.pop_back();
}

// A piece ends after a line feed or at its full width.
void add_character(TraceFinder& finder, char c) {
    finder.piece += c;
    if (c == '\n' || finder.piece.size() == tracePieceWidth) take_piece(finder);
}

}  // namespace

void feed_trace(TraceFinder& finder, const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (!finder.textMode) {
            add_character(finder, c);
            continue;
        }
        if (finder.carriageReturn) {
            finder.carriageReturn = false;
            if (c != '\n') add_character(finder, '\r');
        }
        if (c == '\r') finder.carriageReturn = true;
        else add_character(finder, c);
    }
}

std::string finish_trace(TraceFinder& finder) {
    if (finder.carriageReturn) add_character(finder, '\r');
    finder.carriageReturn = false;
    if (!finder.piece.empty()) take_piece(finder);
    return finder.finding;
}

std::string trace_finding(const std::string& traceContents) {
    TraceFinder finder;
    finder.textMode = false;
    feed_trace(finder, traceContents.data(), traceContents.size());
    return finish_trace(finder);
}

std::string trace_finding_text(const std::optional<std::string>& finding) {
    if (!finding) return traceFileMissingText;
    return finding->empty() ? traceFileSilentText : " - " + *finding;
}
