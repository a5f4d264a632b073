#include "profile_tool.h"

#include <gtest/gtest.h>

#include "tool_test_support.h"
#include "wickerby_version.h"

namespace {

TEST(ScrambleCommand, PrintsTheStoredFormAndALineFeed) {
    const struct {
        std::string password;
        std::string output;
    } cases[] = {
        {"secret", "?287tamr]JyI`d5gY)xU&bf`\n"},
        {"", "4281FU{ECfHmzWY0eM%qZ%|I\n"},
        {"x", "3380z~FziEh2Pe}S]bO,xF3w\n"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = {c.password};
        ToolOutcome outcome = world.run({"scramble"});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.output, c.output);
        EXPECT_EQ(outcome.errors, "");
    }
}

TEST(ScrambleCommand, Refusals) {
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> lines;
        std::string errors;
    } cases[] = {
        {{"scramble"},
         {std::string(21, 'a')},
         "wickerby-profile scramble: a password has at most 20 printable ASCII characters\n"},
        {{"scramble"},
         {"xc~yphbuta"},
         "wickerby-profile scramble: this password has no printable stored form; choose another\n"},
        {{"scramble"}, {}, "wickerby-profile scramble: no password on standard input\n"},
        {{"scramble", "secret"},
         {"secret"},
         "wickerby-profile scramble: unexpected argument 'secret'\nTry 'wickerby-profile scramble --help'.\n"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = c.lines;
        ToolOutcome outcome = world.run(c.arguments);
        EXPECT_EQ(outcome.exitCode, toolFailure);
        EXPECT_EQ(outcome.output, "");
        EXPECT_EQ(outcome.errors, c.errors);
    }
}

TEST(ProfileTool, HelpAndBadUsage) {
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string expected;  // part of the output or, on failure, of the errors
    } cases[] = {
        {{"--help"}, 0, "scrambled, not encrypted"},
        {{"create", "--help"}, 0, "\"Wickerby\" when omitted"},
        {{"check", "PRD", "--help"}, 0, "Usage: wickerby-profile check NAME [OPTION-STRING]"},
        {{"scramble", "--help"}, 0, "24 characters and a line feed"},
        {{}, toolFailure, "wickerby-profile: a command is missing\n"},
        {{"list"}, toolFailure, "wickerby-profile: unknown command 'list'\nTry 'wickerby-profile --help'.\n"},
        {{"--version", "check"},
         toolFailure,
         "wickerby-profile: unexpected argument 'check'\nTry 'wickerby-profile --help'.\n"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        ToolOutcome outcome = world.run(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        const std::string& text = c.exitCode == 0 ? outcome.output : outcome.errors;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    }
}

TEST(ProfileTool, VersionIsOneLine) {
    FakeWorld world;
    ToolOutcome outcome = world.run({"--version"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output, std::string("wickerby-profile ") + WICKERBY_VERSION + "\n");
    EXPECT_EQ(outcome.errors, "");
}

}  // namespace
