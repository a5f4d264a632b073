#include "queue_table.h"

#include "messages.h"
#include "text_helpers.h"

namespace {

// The totals are signed 32-bit sums printed unsigned: a field wraps as the
// sums do.
uint32_t field_value(const std::string& field) {
    return static_cast<uint32_t>(c_integer(field, NumberOverflow::Wrap));
}

// Takes the field after the last blank off the end of the text.
uint32_t take_last_field(std::string& text) {
    std::size_t blank = text.rfind(' ');
    std::string field = blank == std::string::npos ? text : text.substr(blank + 1);
    text.resize(blank == std::string::npos ? 0 : blank);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return field_value(field);
}

struct QueueRow {
    const char* lineCode;
    const char* keyword;
    const char* channel;
    uint32_t QueueTotals::*total;
};

const QueueRow queueRows[] = {
    {"NOW", "NOWORK", "Requests NoWork", &QueueTotals::noWork},
    {"DIA", "DIALOG", "Requests Dialog", &QueueTotals::dialog},
    {"BTC", "BATCH", "Requests Batch", &QueueTotals::batch},
    {"UPD", "UPDATE", "Requests Update", &QueueTotals::update},
    {"UP2", "UPDATE2", "Requests Update2", &QueueTotals::update2},
    {"ENQ", "ENQUEUE", "Requests EnQueue", &QueueTotals::enQueue},
    {"SPO", "SPOOL", "Requests Spool", &QueueTotals::spool},
};

}  // namespace

std::string normalized_line(const std::string& line) {
    std::string name;
    for (std::size_t i = 0; i < line.size() && i < queueNameColumns; ++i)
        if (line[i] != ' ') name += line[i];
    name.resize(queueNameColumns, ' ');
    if (line.size() > queueNameColumns) name += line.substr(queueNameColumns, readColumns - queueNameColumns);
    return name;
}

void add_queue_line(QueueTotals& totals, const std::string& line) {
    std::string text = normalized_line(line);
    const std::string code = text.substr(0, 3);
    uint32_t reads = take_last_field(text);
    totals.reads += reads;
    totals.writes += take_last_field(text);
    totals.queSize += take_last_field(text);
    totals.maxQue += take_last_field(text);
    totals.waitings += take_last_field(text);
    for (const QueueRow& row : queueRows) {
        if (code == row.lineCode) {
            totals.*row.total += reads;
            break;
        }
    }
}

QueueTotals sum_queue_lines(const std::vector<std::string>& lines) {
    QueueTotals totals;
    for (const std::string& line : lines) add_queue_line(totals, line);
    return totals;
}

std::string queue_label_code(const std::string& optionString) {
    // Tested in this order, the last keyword found wins.
    static const char* const order[][2] = {{"NOWORK", "NOW"}, {"DIALOG", "DIA"}, {"UPDATE", "UPD"}, {"ENQUEUE", "ENQ"},
                                           {"BATCH", "BTC"},  {"SPOOL", "SPO"},  {"UPDATE2", "UP2"}};
    std::string code;
    for (const auto& keyword : order)
        if (optionString.find(keyword[0]) != std::string::npos) code = keyword[1];
    return code;
}

std::vector<QueueChannel> queue_channels(const QueueTotals& totals) {
    std::vector<QueueChannel> channels;
    for (const QueueRow& row : queueRows) channels.push_back({row.channel, totals.*row.total});
    channels.push_back({"Requests Waiting", totals.waitings});
    return channels;
}

void build_queue_document(ResultDocument& document, const QueueTotals& totals, const std::string& destination,
                          const std::string& labelCode) {
    begin_document(document);
    document.text.reserve(1200);  // the whole document, without growing
    begin_text(document);
    append_text(document, "(" + destination);
    append_text(document, labelCode.empty() ? ") System-Queues: " : ") Sys-Queue[" + labelCode + "]: ");
    auto grouped = [](uint32_t value) { return group_thousands(std::to_string(value)); };
    append_text(document, "QueSize=" + grouped(totals.queSize) + ", Reads=" + grouped(totals.reads) +
                              ", Writes=" + grouped(totals.writes) + ", MaxQue=" + grouped(totals.maxQue) +
                              ", Waitings=" + grouped(totals.waitings));
    end_text(document);
    for (const QueueChannel& channel : queue_channels(totals))
        add_channel(document, channel.name, std::to_string(channel.total), "Reqs");
    end_document(document);
}

std::string item_channel(const QueueTotals& totals, const std::string& itemId, const std::string& systemLabel) {
    ResultDocument fragment;
    for (const QueueChannel& channel : queue_channels(totals))
        if (itemId == channel.name) add_channel(fragment, systemLabel, std::to_string(channel.total), "Reqs");
    return fragment.text;
}

std::string call_failure_text(int code, const std::string& exceptionText) {
    switch (code) {
    case 1: return rfcFailureMessage;
    case 2: return exception_message(exceptionText);
    case 3: return systemExceptionMessage;
    default: return otherFailureMessage;
    }
}
