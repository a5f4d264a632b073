#include "queue_table.h"

#include <gtest/gtest.h>

namespace {

// A line in the layout the dispatcher delivers: the name in 13 columns, five
// numbers of 11 columns separated by a blank, ending at column 72, 8 blanks.
std::string queue_line(const std::string& name, long waitings, long maxQue, long queSize, long writes, long reads) {
    char text[81];
    std::snprintf(text, sizeof text, "%-13s%11ld %11ld %11ld %11ld %11ld        ", name.c_str(), waitings, maxQue,
                  queSize, writes, reads);
    return text;
}

}  // namespace

TEST(Measurement, FieldsFromTheRight) {
    QueueTotals totals;
    add_queue_line(totals, queue_line("DIA", 5, 4, 3, 2, 1));
    EXPECT_EQ(totals.reads, 1u);
    EXPECT_EQ(totals.writes, 2u);
    EXPECT_EQ(totals.queSize, 3u);
    EXPECT_EQ(totals.maxQue, 4u);
    EXPECT_EQ(totals.waitings, 5u);
    EXPECT_EQ(totals.dialog, 1u);
    EXPECT_EQ(totals.noWork + totals.batch + totals.update + totals.update2 + totals.enQueue + totals.spool, 0u);
}

TEST(Measurement, QueueCodesAndNormalization) {
    QueueTotals totals;
    add_queue_line(totals, queue_line("NOWORK", 0, 0, 0, 0, 2));
    add_queue_line(totals, queue_line("NOW", 0, 0, 0, 0, 3));
    add_queue_line(totals, queue_line("U P 2", 0, 0, 0, 0, 7));  // blanks in the name are ignored
    add_queue_line(totals, queue_line("UPD", 0, 0, 0, 0, 11));
    add_queue_line(totals, queue_line("dia", 0, 0, 0, 0, 13));  // codes are case-sensitive
    add_queue_line(totals, queue_line("ENQUEUE", 0, 0, 0, 0, 17));
    add_queue_line(totals, queue_line("SPO", 0, 0, 0, 0, 19));
    add_queue_line(totals, queue_line("BTC", 1, 0, 0, 0, 23));
    EXPECT_EQ(totals.noWork, 5u);
    EXPECT_EQ(totals.update2, 7u);
    EXPECT_EQ(totals.update, 11u);
    EXPECT_EQ(totals.dialog, 0u);
    EXPECT_EQ(totals.enQueue, 17u);
    EXPECT_EQ(totals.spool, 19u);
    EXPECT_EQ(totals.batch, 23u);
    EXPECT_EQ(totals.reads, 2u + 3 + 7 + 11 + 13 + 17 + 19 + 23);
    EXPECT_EQ(totals.waitings, 1u);
    EXPECT_EQ(normalized_line("D I A        x"), "DIA          x");
}

TEST(Measurement, UnusualLines) {
    QueueTotals totals;
    // Columns after 72 are not read.
    add_queue_line(totals, queue_line("DIA", 0, 0, 0, 0, 5).substr(0, 72) + "     999");
    EXPECT_EQ(totals.reads, 5u);
    // A line ending in a blank at column 72 gives an empty first field.
    add_queue_line(totals, std::string("DIA          1 2 3 4 ") + std::string(51, ' '));
    EXPECT_EQ(totals.reads, 5u);
    EXPECT_EQ(totals.writes, 4u);
    EXPECT_EQ(totals.waitings, 1u);
    // Words count 0, signs are read, short lines are fine.
    QueueTotals words;
    add_queue_line(words, "SPO          abc -3 +4 12x 7");
    EXPECT_EQ(words.reads, 7u);
    EXPECT_EQ(words.writes, 12u);
    EXPECT_EQ(words.queSize, 4u);
    EXPECT_EQ(words.maxQue, static_cast<uint32_t>(-3));
    EXPECT_EQ(words.waitings, 0u);
    QueueTotals shortLine;
    add_queue_line(shortLine, "DIA");
    add_queue_line(shortLine, "");
    EXPECT_EQ(shortLine.reads + shortLine.dialog, 0u);
}

TEST(Measurement, LabelCodeLastKeywordInOrderWins) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},           {"DIALOG", "DIA"}, {"DIALOG,BATCH", "BTC"}, {"BATCH,DIALOG", "BTC"},
        {"UPDATE2", "UP2"}, {"UPDATE", "UPD"}, {"SPOOL NOWORK", "SPO"}, {"ENQUEUE", "ENQ"},
        {"NOWORK", "NOW"},
    };
    for (const auto& [option, code] : cases) EXPECT_EQ(queue_label_code(option), code) << option;
}

TEST(Measurement, DocumentGroupsTheFreeTextOnly) {
    QueueTotals totals;
    totals.queSize = 1024;
    totals.reads = 123456;
    totals.writes = 123460;
    totals.maxQue = 35;
    totals.waitings = 4;
    totals.dialog = 1234;
    ResultDocument document;
    build_queue_document(document, totals, "PRD", "");
    EXPECT_NE(document.text.find("<Text>(PRD) System-Queues: QueSize=1.024, Reads=123.456, Writes=123.460, "
                                 "MaxQue=35, Waitings=4</Text>"),
              std::string::npos);
    EXPECT_NE(document.text.find("<Channel>Requests Dialog</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Reqs"
                                 "</CustomUnit>\n<Value>1234</Value>"),
              std::string::npos);
    build_queue_document(document, totals, "PRD", "BTC");
    EXPECT_NE(document.text.find("(PRD) Sys-Queue[BTC]: QueSize=1.024"), std::string::npos);
    std::vector<std::string> names;
    for (const QueueChannel& channel : queue_channels(totals)) names.push_back(channel.name);
    const std::vector<std::string> order = {"Requests NoWork", "Requests Dialog",  "Requests Batch",
                                            "Requests Update", "Requests Update2", "Requests EnQueue",
                                            "Requests Spool",  "Requests Waiting"};
    EXPECT_EQ(names, order);
}

TEST(Measurement, QueueLengthsSumNowAndTakeTheLargestMark) {
    const QueueTotals totals = sum_queue_lines({
        queue_line("DIA", 2, 7, 0, 0, 0),
        queue_line("D I A", 3, 5, 0, 0, 0),
        queue_line("dia", 100, 100, 0, 0, 0),  // no queue type: codes are case-sensitive
        queue_line("UP2", 1, 4, 0, 0, 0),
        queue_line("ICM", 9, 9, 0, 0, 0),
    });
    std::vector<std::pair<std::string, uint32_t>> channels;
    for (const QueueChannel& channel : queue_length_channels(totals))
        channels.emplace_back(channel.name, channel.total);
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"Queue NoWork", 0},  {"Queue NoWork High", 0},  {"Queue Dialog", 5},  {"Queue Dialog High", 7},
        {"Queue Batch", 0},   {"Queue Batch High", 0},   {"Queue Update", 0},  {"Queue Update High", 0},
        {"Queue Update2", 1}, {"Queue Update2 High", 4}, {"Queue EnQueue", 0}, {"Queue EnQueue High", 0},
        {"Queue Spool", 0},   {"Queue Spool High", 0},
    };
    EXPECT_EQ(channels, expected);
    EXPECT_EQ(totals.waitings, 115u);
    EXPECT_EQ(totals.maxQue, 125u);
}

TEST(Measurement, RatesOnlyForCounterChannels) {
    QueueTotals totals;
    totals.dialog = 12;
    totals.waitings = 3;
    ChannelOptions options;
    options.rates = true;
    options.queueLengths = true;
    ResultDocument document;
    build_queue_document(document, totals, "PRD", "", options);
    std::size_t modes = 0;
    for (std::size_t at = document.text.find("<Mode>"); at != std::string::npos;
         at = document.text.find("<Mode>", at + 1))
        ++modes;
    EXPECT_EQ(modes, 7u);  // neither "Requests Waiting" nor the queue lengths
    EXPECT_NE(document.text.find("<Channel>Requests Spool</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Reqs</CustomUnit>"
                                 "\n<Mode>Difference</Mode>\n<Value>0</Value></Result>"),
              std::string::npos);

    EXPECT_EQ(item_channel(totals, "Requests Dialog", "PRD", true),
              "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Reqs</CustomUnit>"
              "\n<Mode>Difference</Mode>\n<Value>12</Value></Result>\n");
    EXPECT_EQ(item_channel(totals, "Requests Waiting", "PRD", true),
              "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Reqs</CustomUnit>"
              "\n<Value>3</Value></Result>\n");
}

TEST(Measurement, CallFailureTexts) {
    EXPECT_EQ(call_failure_text(1, "x"), "Error 1014: RFC-Failure raised !");
    EXPECT_EQ(call_failure_text(2, "NOT_FOUND"), "Error 1012: Exception.: NOT_FOUND");
    EXPECT_EQ(call_failure_text(3, "SYSTEM_FAILURE"), "Error 1013: Sys-Exception raised !");
    EXPECT_EQ(call_failure_text(4, "x"), "Error 1015: Other Failure raised !");
    EXPECT_EQ(call_failure_text(-1, "x"), "Error 1015: Other Failure raised !");
}
