#include "channel_options.h"

#include <gtest/gtest.h>

#include "command_line.h"
#include "queue_table.h"

namespace {

Invocation parsed(const std::vector<std::string>& arguments) {
    std::optional<Invocation> invocation = parse_command_line(arguments);
    EXPECT_TRUE(invocation.has_value());
    return invocation.value_or(Invocation{});
}

}  // namespace

TEST(ChannelOptions, EntriesOfTheCommandLine) {
    struct Case {
        std::vector<std::string> arguments;
        bool rates, queueLengths, failedSystems;
    };
    const Case cases[] = {
        {{"PRD"}, false, false, false},
        {{"PRD", ",RATE"}, true, false, false},
        {{"PRD", "dialog,rate,Queues"}, true, true, false},
        {{"PRD", "DIALOG", ",failed"}, false, false, true},  // the third argument joins with a blank
        {{"PRD", ",FAILED #"}, false, false, true},
        {{"PRD", ",RATE,TIMEOUT=20"}, true, false, false},
        {{"PRD", ",RATES,QUEUE,FAILEDX"}, false, false, false},  // only a comma, a blank or the end may follow
        {{"PRD", ",RATES,RATE"}, true, false, false},
        {{"PRD", ",RATE#"}, false, false, false},
        {{"PRD", "RATE QUEUES FAILED"}, false, false, false},  // the comma belongs to the entry
        {{"X", "ITEM=Requests:Dialog,FAILED,RATE"}, true, false, true},
    };
    for (const Case& c : cases) {
        const ChannelOptions options = parsed(c.arguments).channels;
        const std::string what = c.arguments.size() > 1 ? c.arguments[1] : "(none)";
        EXPECT_EQ(options.rates, c.rates) << what;
        EXPECT_EQ(options.queueLengths, c.queueLengths) << what;
        EXPECT_EQ(options.failedSystems, c.failedSystems) << what;
    }
}

TEST(ChannelOptions, KeywordsFindTheSameWithTheEntries) {
    const char* const options[] = {
        "",
        "DIALOG",
        "UPDATE2",
        "ENQUEUE",
        "NOWORK,BATCH",
        "SPOOL,TIMEOUT=20",
        "UPDATE #",
        "ITEM=Requests:EnQueue",
        "item=Requests:Waiting UPDATE",
    };
    const char* const entries[] = {",RATE", ",QUEUES", ",FAILED", ",rate,queues,failed", " ,Failed,Rate"};
    for (const char* option : options) {
        const Invocation without = parsed({"PRD", option});
        for (const char* entry : entries) {
            const std::string text = std::string(option) + entry;
            const Invocation with = parsed({"PRD", text});
            EXPECT_EQ(queue_label_code(with.optionString), queue_label_code(without.optionString)) << text;
            EXPECT_EQ(with.itemMode, without.itemMode) << text;
            EXPECT_EQ(with.itemId, without.itemId) << text;
            EXPECT_EQ(with.profileName, without.profileName) << text;
            EXPECT_EQ(with.consoleReport, without.consoleReport) << text;
            EXPECT_EQ(with.deadlineSeconds, without.deadlineSeconds) << text;
        }
    }
}
