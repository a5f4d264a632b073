#include "output/measurement.h"

#include <cctype>

#include "rfc/failure_report.h"
#include "rfc/request_queue.h"

namespace {

// Reads a field as C's atoi does, wrapping instead of overflowing.
uint32_t field_value(const std::string& field) {
    std::size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    uint32_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10 + (field[i] - '0');
    return negative ? 0u - value : value;
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

void end_measurement(TableHandle table) {
    if (ItDelete(table) != 0) rfc_failure_report("ItDelete REQUEST_QUEUES");
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
    totals.maxQue += take_last_field(text);
    totals.waitings += take_last_field(text);
    for (const QueueRow& row : queueRows) {
        if (code == row.lineCode) {
            totals.*row.total += reads;
            break;
        }
    }
}

std::string queue_label_code(const std::string& optionString) {
    // Tested in this order, the last keyword found wins.
    static const char* const order[][2] = {{"NOWORK", "NOW"}, {"DIALOG", "DIA"}, {"UPDATE", "UPD"},
                                           {"ENQUEUE", "ENQ"}, {"BATCH", "BTC"}, {"SPOOL", "SPO"},
                                           {"UPDATE2", "UP2"}};
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

std::string call_failure_text(int code, const std::string& exceptionText) {
    switch (code) {
    case 1: return "Error 1014: RFC-Failure raised !";
    case 2: return "Error 1012: Exception.: " + exceptionText;
    case 3: return "Error 1013: Sys-Exception raised !";
    default: return "Error 1015: Other Failure raised !";
    }
}

int measure_queues(RfcHandle handle, const MeasurementSettings& settings, ResultDocument& document,
                   std::string& callStatus) {
    TableHandle table = ItCreate(requestQueueTable, requestQueueLineWidth, 0, 0);
    if (!table) rfc_failure_report("ItCreate REQUEST_QUEUES");
    std::string exceptionText;
    int code = call_request_queue(handle, table, exceptionText);
    if (code != 0) {
        append_text(document, call_failure_text(code, exceptionText));
        end_measurement(table);
        return code;
    }
    callStatus = "OK";
    QueueTotals totals;
    for (uint32_t i = 1; i <= ItFill(table); ++i) {
        const char* line = static_cast<const char*>(ItGetLine(table, i));
        if (!line) rfc_failure_report("ItGetLine REQUEST_QUEUES");
        std::size_t length = 0;
        while (length < static_cast<std::size_t>(requestQueueLineWidth) && line[length] != '\0') ++length;
        add_queue_line(totals, std::string(line, length));
    }
    if (!settings.itemMode) {
        build_queue_document(document, totals, settings.destination, queue_label_code(settings.optionString));
    } else {
        clear_document(document);
        for (const QueueChannel& channel : queue_channels(totals)) {
            if (settings.itemId != channel.name) continue;
            add_channel(document, settings.systemLabel, std::to_string(channel.total), "Reqs");
            print_document(document, false);
            clear_document(document);
        }
    }
    end_measurement(table);
    return code;
}
