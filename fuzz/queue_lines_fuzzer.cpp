// The request-queue table's lines. The input's first line is the option
// text (it chooses the label code and ",RATE" or ",QUEUES"), the second the
// destination; every further line is a table line as the library hands it
// over: at most 80 characters, ending at a NUL byte.
#include <cstddef>
#include <cstdint>

#include "document.h"
#include "fuzz_input.h"
#include "queue_table.h"
#include "text_helpers.h"

namespace {

// The width of a line of the REQUEST_QUEUES table.
constexpr std::size_t tableLineWidth = 80;

std::string table_line(const std::string& line) {
    std::string cut = line.substr(0, tableLineWidth);
    return cut.substr(0, cut.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string text = input_text(data, size);
    const std::string optionString = upper_cased(take_first_line(text));
    const std::string destination = take_first_line(text);
    QueueTotals totals;
    while (!text.empty()) {
        const std::string line = take_first_line(text);
        const std::string normalized = normalized_line(line);
        require(normalized.size() >= queueNameColumns && normalized.size() <= readColumns,
                "a normalized line has the name columns and at most 72 characters");
        add_queue_line(totals, table_line(line));
    }
    ResultDocument document;
    build_queue_document(document, totals, destination, queue_label_code(optionString), channel_options(optionString));
    const std::size_t textStart = document.text.find("<Text>") + 6;
    const std::size_t textEnd = document.text.find("</Text>");
    require(textEnd != std::string::npos && textEnd >= textStart, "the document has its text element");
    require(is_escaped_text(document.text.substr(textStart, textEnd - textStart)), "the destination is escaped");
    return 0;
}
