// The trace file: its last error message, found in pieces of 99 characters
// and appended, escaped, to the result document.
#include <cstddef>
#include <cstdint>

#include "document.h"
#include "files.h"
#include "fuzz_input.h"
#include "trace_finding.h"

namespace {

void find_and_append(const std::string& contents) {
    const std::string finding = trace_finding(contents);
    require(finding.size() < tracePieceWidth, "a finding comes from one piece of 99 characters");
    require(finding.find('\n') == std::string::npos, "a finding holds no line feed");
    ResultDocument document;
    append_text(document, " - " + finding);
    require(is_escaped_text(document.text), "the finding reaches the document escaped");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string raw = input_text(data, size);
    find_and_append(text_mode_contents(raw));
    find_and_append(raw);
    return 0;
}
