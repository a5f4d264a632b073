#include "trace_finding.h"

#include "messages.h"
#include "text_helpers.h"
#include "text_pieces.h"

std::string trace_finding(const std::string& traceContents) {
    std::string finding;
    TextPieces pieces{traceContents};
    std::string piece;
    while (next_piece(pieces, tracePieceWidth, piece)) {
        if (begins_with(piece, "**** ERROR ")) finding.clear();
        if (begins_with(piece, "ERROR ")) finding = piece.size() > 12 ? piece.substr(12) : "";
        if (piece.size() >= 15 && piece.compare(7, 8, "======> ") == 0) finding = piece.substr(15);
        if (!finding.empty() && finding.back() == '\r') finding.pop_back();
        if (!finding.empty() && finding.back() == '\n') finding.pop_back();
    }
    return finding;
}

std::string trace_finding_text(const std::optional<std::string>& traceContents) {
    if (!traceContents) return traceFileMissingText;
    const std::string finding = trace_finding(*traceContents);
    return finding.empty() ? traceFileSilentText : " - " + finding;
}
