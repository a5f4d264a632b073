#include "rfc/failure_report.h"

#include "output/label_line.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/text_pieces.h"

namespace {

bool begins_with(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The text of a fixed-size field of the error record, which the library may
// have left without its terminating zero.
std::string field_text(const char* field, std::size_t size) {
    std::size_t length = 0;
    while (length < size && field[length] != '\0') ++length;
    return std::string(field, length);
}

}  // namespace

std::string failure_block(const std::string& operation, const RfcErrorInformation& error) {
    return "RFC error\n" + label_line("operation/code", 0, errorLabelWidth, operation) +
           label_line("key", 0, errorLabelWidth, field_text(error.key, sizeof error.key)) +
           label_line("status", 0, errorLabelWidth, field_text(error.status, sizeof error.status)) +
           label_line("message", 0, errorLabelWidth, field_text(error.message, sizeof error.message)) +
           label_line("internal status", 0, errorLabelWidth,
                      field_text(error.internalStatus, sizeof error.internalStatus)) +
           "\n";
}

extern "C" void RFC_CALL rfc_failure_report(const char* operation) {
    RfcErrorInformation error{};
    RfcLastError(&error);
    write_output(failure_block(operation ? operation : "", error));
    RfcClose(0);
    write_output("* Programm aborted...\n");
    // No end-of-output stream is ever opened, so there is no file to write.
    write_output("* Error at EoXput-File...\n");
    end_process(1);
}

void install_failure_report() {
    // The record stays valid for the whole process, as the library may keep it.
    static RfcEnvironmentRecord environment{rfc_failure_report, nullptr};
    RfcEnvironment(&environment);
}

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

void append_trace_finding(ResultDocument& document) {
    std::optional<std::string> trace = read_text_file(traceFileName);
    if (!trace) {
        append_text(document, " - Look for Trace-File");
        return;
    }
    std::string finding = trace_finding(*trace);
    append_text(document, finding.empty() ? " - Please Check Trace-File !" : " - " + finding);
}
