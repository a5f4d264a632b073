#include "texts.h"

#include <gtest/gtest.h>

namespace rfcsim {
namespace {

TEST(LogText, BracketsExactlyAsPassedOrNone) {
    EXPECT_EQ(log_text("MONITOR     "), "[MONITOR     ]");
    EXPECT_EQ(log_text(""), "[]");
    EXPECT_EQ(log_text(nullptr), "none");
}

TEST(OpenOptions, R3ConnectionAsTheCallLogShowsIt) {
    RfcR3ConnectionRecord r3{"APP01", 0, nullptr, nullptr};
    RfcConnectionOptions options{"PRD", RFC_MODE_R3, &r3, "100", "MONITOR     ", "s3cret    ", "E", 0};
    EXPECT_EQ(describe_open_options(&options),
              "destination=[PRD] mode=0 host=[APP01] sysnr=0 gwhost=none gwservice=none client=[100] "
              "user=[MONITOR     ] password=[s3cret    ] language=[E] trace=0");
}

TEST(OpenOptions, R2ConnectionShowsTheGateway) {
    RfcGatewayRecord gateway{"gw01", "sapgw00"};
    RfcConnectionOptions options{"R2X", RFC_MODE_R2, &gateway, "...", "...", "...", "...", 0};
    EXPECT_EQ(describe_open_options(&options),
              "destination=[R2X] mode=1 gwhost=[gw01] gwservice=[sapgw00] client=[...] user=[...] "
              "password=[...] language=[...] trace=0");
}

TEST(OpenOptions, MissingRecords) {
    RfcConnectionOptions options{nullptr, RFC_MODE_R3, nullptr, nullptr, nullptr, nullptr, nullptr, 0};
    EXPECT_EQ(describe_open_options(&options),
              "destination=none mode=0 data=none client=none user=none password=none language=none trace=0");
    EXPECT_EQ(describe_open_options(nullptr), "options=none");
}

TEST(Elements, EachElementWithItsFields) {
    RfcTypeElement elements[2] = {{"THLINE", RFC_TYPE_CHAR, 80, 0, 0}, {nullptr, 1, 2, 3, 4}};
    EXPECT_EQ(describe_elements(elements, 1), " element=[THLINE]/0/80/0/0");
    EXPECT_EQ(describe_elements(elements, 2), " element=[THLINE]/0/80/0/0 element=none/1/2/3/4");
    EXPECT_EQ(describe_elements(elements, 0), "");
    EXPECT_EQ(describe_elements(nullptr, 1), " element=none");
}

TEST(Tables, UpToTheEntryWithoutName) {
    int table = 0;
    RfcTableDescriptor tables[3] = {{"REQUEST_QUEUES", 14, 1, 0, &table, 0, 0}, {"B", 1, 2, 0, nullptr, 0, 0}, {}};
    EXPECT_EQ(describe_tables(tables, true), " table=[REQUEST_QUEUES]/14/type=1 table=[B]/1/type=2");
    EXPECT_EQ(describe_tables(tables, false), " table=[REQUEST_QUEUES] table=[B]");
    EXPECT_EQ(describe_tables(tables + 2, true), " table=none");
    EXPECT_EQ(describe_tables(nullptr, false), " table=none");
}

TEST(Trace, ClassicEntry) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 7;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    EXPECT_EQ(classic_trace_entry("partner not reached", time),
              (std::vector<std::string>{"**** ERROR file opened at 20240307 090503",
                                        "T:0001 ======> partner not reached"}));
}

}  // namespace
}  // namespace rfcsim
