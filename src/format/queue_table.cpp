#include "queue_table.h"

#include <algorithm>

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
    const char* lengthChannel;
    const char* highChannel;
    QueueLength QueueTotals::*length;
};

const QueueRow queueRows[] = {
    {"NOW", "NOWORK", "Requests NoWork", &QueueTotals::noWork, "Queue NoWork", "Queue NoWork High",
     &QueueTotals::noWorkLength},
    {"DIA", "DIALOG", "Requests Dialog", &QueueTotals::dialog, "Queue Dialog", "Queue Dialog High",
     &QueueTotals::dialogLength},
    {"BTC", "BATCH", "Requests Batch", &QueueTotals::batch, "Queue Batch", "Queue Batch High",
     &QueueTotals::batchLength},
    {"UPD", "UPDATE", "Requests Update", &QueueTotals::update, "Queue Update", "Queue Update High",
     &QueueTotals::updateLength},
    {"UP2", "UPDATE2", "Requests Update2", &QueueTotals::update2, "Queue Update2", "Queue Update2 High",
     &QueueTotals::update2Length},
    {"ENQ", "ENQUEUE", "Requests EnQueue", &QueueTotals::enQueue, "Queue EnQueue", "Queue EnQueue High",
     &QueueTotals::enQueueLength},
    {"SPO", "SPOOL", "Requests Spool", &QueueTotals::spool, "Queue Spool", "Queue Spool High",
     &QueueTotals::spoolLength},
};

ChannelSettings requests_settings(bool difference) {
    ChannelSettings settings;
    settings.unit = "Custom";
    settings.customUnit = "Reqs";
    settings.difference = difference;
    return settings;
}

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
    const uint32_t maxQue = take_last_field(text);
    totals.maxQue += maxQue;
    const uint32_t waitings = take_last_field(text);
    totals.waitings += waitings;
    for (const QueueRow& row : queueRows) {
        if (code == row.lineCode) {
            totals.*row.total += reads;
            // Several lines of one type are one queue to the administrator:
            // what waits in each adds up, but a high-water mark says nothing
            // about the other lines, so the largest one stands for them all.
            QueueLength& length = totals.*row.length;
            length.current += waitings;
            length.highest = std::max(length.highest, maxQue);
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
    for (const QueueRow& row : queueRows) channels.push_back({row.channel, totals.*row.total, true});
    channels.push_back({"Requests Waiting", totals.waitings, false});
    return channels;
}

std::vector<QueueChannel> queue_length_channels(const QueueTotals& totals) {
    std::vector<QueueChannel> channels;
    for (const QueueRow& row : queueRows) {
        const QueueLength& length = totals.*row.length;
        channels.push_back({row.lengthChannel, length.current, false});
        channels.push_back({row.highChannel, length.highest, false});
    }
    return channels;
}

void build_queue_document(ResultDocument& document, const QueueTotals& totals, const std::string& destination,
                          const std::string& labelCode, const ChannelOptions& options) {
    begin_document(document);
    document.text.reserve(options.queueLengths ? 3200 : 1200);  // the whole document, without growing
    begin_text(document);
    append_text(document, "(" + destination);
    append_text(document, labelCode.empty() ? ") System-Queues: " : ") Sys-Queue[" + labelCode + "]: ");
    auto grouped = [](uint32_t value) { return group_thousands(std::to_string(value)); };
    append_text(document, "QueSize=" + grouped(totals.queSize) + ", Reads=" + grouped(totals.reads) +
                              ", Writes=" + grouped(totals.writes) + ", MaxQue=" + grouped(totals.maxQue) +
                              ", Waitings=" + grouped(totals.waitings));
    end_text(document);
    for (const QueueChannel& channel : queue_channels(totals))
        add_channel(document, channel.name, std::to_string(channel.total),
                    requests_settings(options.rates && channel.counter));
    if (options.queueLengths)
        for (const QueueChannel& channel : queue_length_channels(totals))
            add_channel(document, channel.name, std::to_string(channel.total), requests_settings(false));
    end_document(document);
}

std::optional<uint32_t> item_total(const QueueTotals& totals, const std::string& itemId) {
    for (const QueueChannel& channel : queue_channels(totals))
        if (itemId == channel.name) return channel.total;
    return std::nullopt;
}

std::string item_channel(const QueueTotals& totals, const std::string& itemId, const std::string& systemLabel,
                         bool rates) {
    ResultDocument fragment;
    for (const QueueChannel& channel : queue_channels(totals))
        if (itemId == channel.name)
            add_channel(fragment, systemLabel, std::to_string(channel.total),
                        requests_settings(rates && channel.counter));
    return fragment.text;
}

std::string failed_systems_channel(unsigned failed, bool limit, bool warning) {
    ChannelSettings settings;
    settings.unit = "Count";
    if (limit) settings.upperErrorLimit = "0";
    settings.warning = warning;
    ResultDocument fragment;
    add_channel(fragment, "Failed Systems", std::to_string(failed), settings);
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
