#include "command_line.h"

#include <gtest/gtest.h>

#include "channel_options.h"
#include "console_lines.h"
#include "profile_search.h"
#include "queue_table.h"
#include "text_helpers.h"

namespace {

Invocation parsed(const std::vector<std::string>& arguments) {
    std::optional<Invocation> invocation = parse_command_line(arguments);
    EXPECT_TRUE(invocation.has_value());
    return invocation.value_or(Invocation{});
}

}  // namespace

TEST(CommandLine, MissingProfileName) {
    EXPECT_FALSE(parse_command_line({}).has_value());
    EXPECT_TRUE(parse_command_line({""}).has_value());
}

TEST(CommandLine, OptionStringFromSecondAndThirdArgument) {
    Invocation only = parsed({"PRD"});
    EXPECT_EQ(only.optionString, "");
    EXPECT_FALSE(only.itemMode);
    EXPECT_FALSE(only.consoleReport);

    Invocation four = parsed({"P", "q", "R", "S"});
    EXPECT_EQ(four.optionText, "q R");
    EXPECT_EQ(four.optionString, "Q R");
    EXPECT_EQ(four.secondArgument, "q");
    EXPECT_EQ(upper_cased("aZ09-\xe4z"), "AZ09-\xe4Z");
}

TEST(CommandLine, ItemOption) {
    struct Case {
        std::vector<std::string> arguments;
        std::string itemId;
    };
    const Case cases[] = {
        {{"X", "item=Requests:Batch,DIALOG"}, "Requests Batch"},
        {{"X", "ITEM=Requests Dialog"}, "Requests"},
        {{"X", "ITEM=Requests:Dialog"}, "Requests Dialog"},
        {{"X", "DIALOG ITEM="}, ""},
        {{"X", "#", "Item=requests:update"}, "requests update"},
        {{"X", "ITEM=" + std::string(100, 'x')}, std::string(90, 'x')},
    };
    for (const Case& c : cases) {
        Invocation invocation = parsed(c.arguments);
        EXPECT_TRUE(invocation.itemMode);
        EXPECT_EQ(invocation.itemId, c.itemId) << c.arguments[1];
        EXPECT_EQ(invocation.profileName, "Pendrake.Prf");
    }
    EXPECT_NE(parsed({"X", "item=Requests:Batch,DIALOG"}).optionString.find("DIALOG"), std::string::npos);
}

TEST(CommandLine, ConsoleReportCharacters) {
    for (const char* option : {"#", "a$b", "DIALOG%", "WORD#INSIDE"}) EXPECT_TRUE(parsed({"P", option}).consoleReport);
    EXPECT_FALSE(parsed({"P", "DIALOG,BATCH"}).consoleReport);
    EXPECT_TRUE(parsed({"P", "x", "#"}).consoleReport);
}

TEST(CommandLine, DeadlineFromTheTimeoutEntry) {
    const std::pair<const char*, unsigned> cases[] = {
        {"", 50},          {"DIALOG,TIMEOUT=20", 20}, {",timeout=7 #", 7}, {",TIMEOUT=5,HOST=x", 5},
        {",TIMEOUT=", 50}, {",TIMEOUT=0", 50},        {",TIMEOUT=-3", 50}, {"TIMEOUT=9", 50},
    };
    for (const auto& [option, seconds] : cases) EXPECT_EQ(parsed({"PRD", option}).deadlineSeconds, seconds) << option;
}

TEST(CommandLine, Banner) {
    EXPECT_EQ(banner_line("14:05:09"), "* 14:05:09 SAP Wickerby Vers 4.3 / 29.08.22");
}

TEST(ProfileName, Completion) {
    struct Case {
        const char* given;
        const char* completed;
        bool listing;
    };
    const Case cases[] = {
        {"PRD", "PRD.P00", false},
        {"prd", "prd.P00", false},
        {"PRD.P01", "PRD.P01", false},
        {"PRD.TXT", "PRD.TXT", false},
        {"A.B", "A.B.P00", false},
        {"", ".P00", false},
        {"global", "SAP Pendrake.Gbl", true},
        {"GLOBAL", "SAP Pendrake.Gbl", true},
        {"Global.p00", "SAP Pendrake.Gbl", true},
        {"GLOBALX", "GLOBALX.P00", false},
        {"GLOBAL.P01", "GLOBAL.P01", false},
        {"C:\\Sensors\\GLOBAL", "SAP Pendrake.Gbl", true},
        {"C:\\Sensors\\PRD", "PRD.P00", false},
        {"\\PRD", "\\PRD.P00", false},
        // Windows reads '/' as '\\': the last of either ends the directory part.
        {"../OUTSIDE", "OUTSIDE.P00", false},
        {"C:/Sensors/GLOBAL", "SAP Pendrake.Gbl", true},
        {"a/b\\c", "c.P00", false},
        {"a\\b/c.P01", "c.P01", false},
        {"/PRD", "/PRD.P00", false},
        {"\\..", "\\...P00", false},
        {"Pendrake.Prf", "Pendrake.Prf", false},
    };
    for (const Case& c : cases) {
        const CompletedName completed = complete_profile_name(c.given);
        EXPECT_EQ(completed.fileName, c.completed) << c.given;
        EXPECT_EQ(completed.global, c.listing) << c.given;
    }
}

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

TEST(ChannelOptions, ParallelTakesItsNumberWithinItsBounds) {
    const struct {
        const char* options;
        unsigned parallel;
    } cases[] = {
        {"", 1},
        {",PARALLEL", 8},
        {",PARALLEL=4", 4},
        {",parallel=32 #", 32},
        {",PARALLEL=99", 32},
        {",PARALLEL=0", 1},
        {",PARALLEL=1", 1},
        {",PARALLEL=", 1},
        {",PARALLELS", 1},
        {",PARALLEL=4X", 1},
        {"ITEM=A,PARALLEL=3,FAILED", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(parsed({"PRD", c.options}).channels.parallel, c.parallel) << c.options;
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
    const char* const entries[] = {",RATE",         ",QUEUES", ",FAILED",    ",rate,queues,failed",
                                   " ,Failed,Rate", ",REASON", ",PARALLEL=4"};
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

TEST(ChannelOptions, LibraryEntryChoosesTheLibrary) {
    const struct {
        const char* optionString;
        LibraryChoice choice;
    } cases[] = {
        {"", LibraryChoice::either},
        {",LIBRARY=NWRFC", LibraryChoice::netWeaver},
        {",RATE,LIBRARY=CLASSIC,QUEUES", LibraryChoice::classic},
        {",LIBRARY=NWRFC ,HOST=A", LibraryChoice::netWeaver},
        {",LIBRARY=NWRFCX", LibraryChoice::either},
        {",LIBRARY=", LibraryChoice::either},
        {"LIBRARY=NWRFC", LibraryChoice::either},
        {",LIBRARY=CLASSIC,LIBRARY=NWRFC", LibraryChoice::netWeaver},
        {",LIBRARY=NWRFC,LIBRARY=CLASSIC", LibraryChoice::classic},
    };
    for (const auto& c : cases) EXPECT_EQ(library_choice(c.optionString), c.choice) << c.optionString;
    const std::optional<Invocation> invocation = parse_command_line({"PRD", ",library=nwrfc"});
    ASSERT_TRUE(invocation.has_value());
    EXPECT_EQ(invocation->library, LibraryChoice::netWeaver);
}
