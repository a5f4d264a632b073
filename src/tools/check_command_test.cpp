#include <gtest/gtest.h>

#include "tools/tool_test_support.h"

namespace {

const std::string prdProfile =
    "Extcompany.: Wickerby\n"
    "Destination: PRD\n"
    "Client.....: 100\n"
    "User.......: monitor\n"
    "Password...: ?287tamr]JyI`d5gY)xU&bf`\n"
    "Language...: E\n"
    "Mode.......: R/3\n"
    "Hostname...: sapprd01\n"
    "Sysnr......: 00\n"
    "Gwhost.....: sapgw\n"
    "Gwservice..: sapgw00\n";

const std::string prdFields =
    "Extcompany.: \"Wickerby\"\n"
    "Destination: \"PRD\"\n"
    "Client.....: \"100\"\n"
    "User.......: \"MONITOR\"\n"
    "Password...: ****** (6 characters)\n"
    "Language...: \"E\"\n"
    "Mode.......: \"R/3\"\n"
    "Hostname...: \"sapprd01\"\n"
    "Sysnr......: \"00\"\n"
    "Gwhost.....: \"sapgw\"\n"
    "Gwservice..: \"sapgw00\"\n";

TEST(CheckCommand, ProfileInTheWorkingDirectory) {
    FakeWorld world;
    world.files["PRD.P00"] = prdProfile;
    ToolOutcome outcome = world.run({"check", "PRD"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output, "Profile name: PRD.P00\n"
                              "Path file C:\\PRTG_Path.Txt: none\n"
                              "Tried: PRD.P00\n"
                              "Found: PRD.P00\n" +
                                  prdFields + "OK\n");
    EXPECT_EQ(outcome.errors, "");
}

TEST(CheckCommand, ProfileBelowThePathFileDirectory) {
    FakeWorld world;
    const std::string directory = "D:\\Tools\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
    world.files["C:\\PRTG_Path.Txt"] = "Installed under:\nD:\\Tools\n";
    world.files[directory + "PRD.P00"] = prdProfile;
    ToolOutcome outcome = world.run({"check", "C:\\Old\\PRD", "DIALOG"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output, "Profile name: PRD.P00\n"
                              "Path file C:\\PRTG_Path.Txt: directory D:\\Tools\n"
                              "Tried: " + directory + "PRD.P00\n"
                              "Tried: " + directory + "Custom Sensors\\ExeXml\\PRD.P00\n"
                              "Tried: " + directory + "PRD.P00\n"
                              "Tried: " + directory + "PRD.P00\n"
                              "Found: " + directory + "PRD.P00\n" +
                                  prdFields + "OK\n");
}

TEST(CheckCommand, NotFound) {
    FakeWorld world;
    world.files["C:\\PRTG_Path.Txt"] = "no directory here\n";
    world.files["\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00"] = prdProfile;
    ToolOutcome outcome = world.run({"check", "PRD"});
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.output, "Profile name: PRD.P00\n"
                              "Path file C:\\PRTG_Path.Txt: no directory line, so the root of the current drive\n"
                              "Tried: \\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00\n"
                              "Tried: \\Custom Sensors\\ExeXml\\PRD.P00\n"
                              "Tried: \\PRD.P00\n"
                              "Error 1002: Profile PRD.P00 is missing...\n");
}

std::string last_line(const std::string& output) {
    std::size_t end = output.size() - 1;
    return output.substr(output.rfind('\n', end - 1) + 1);
}

TEST(CheckCommand, EndsWithTheSensorsMessage) {
    const struct {
        std::string extraLines;
        std::string message;
    } cases[] = {
        {"", "OK"},
        {"User.......:\n", "Error 1006: Username in Profile PRD.P00 is missing..."},
        {"Password...:\n", "Error 1007: Password in Profile PRD.P00 is missing..."},
        {"Destination: PRODUCTION01\n", "Error 1003: Invalid Parameter(s) at PRD.P00 found..."},
        {"Password...: ?287tamr]JyI`d5gY)xU&bf` \n", "Error 1004: Invalid Password in Profile PRD.P00 found..."},
        {"Password...: ?287tamr]JyI`d5gY)xU&bf_\n", "Error 1005: Wrong Password in Profile PRD.P00 found..."},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.files["PRD.P00"] = prdProfile + c.extraLines;
        ToolOutcome outcome = world.run({"check", "PRD.P00"});
        EXPECT_EQ(last_line(outcome.output), c.message + "\n");
        EXPECT_EQ(outcome.exitCode, c.message == "OK" ? 0 : toolFailure) << c.message;
        EXPECT_EQ(outcome.output.find("secret"), std::string::npos) << "the password must never be shown";
    }
}

TEST(CheckCommand, MarksTheFieldsThatFailTheirLength) {
    FakeWorld world;
    world.files["PRD.P00"] = prdProfile + "Destination: PRODUCTION01\nClient.....: 10\n";
    ToolOutcome outcome = world.run({"check", "PRD.P00"});
    EXPECT_NE(outcome.output.find("Destination: \"PRODUCTION01\"  <- longer than 11 characters\n"), std::string::npos);
    EXPECT_NE(outcome.output.find("Client.....: \"10\"  <- shorter than 3 characters\n"), std::string::npos);
}

TEST(CheckCommand, ListingsAndBadUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"check", "GLOBAL", "SENSOR01"}, {"check", "X", "ITEM=Requests:Dialog"}, {"check"}}) {
        FakeWorld world;
        ToolOutcome outcome = world.run(arguments);
        EXPECT_EQ(outcome.exitCode, toolFailure);
        EXPECT_EQ(outcome.output, "");
        EXPECT_NE(outcome.errors.find("Try 'wickerby-profile check --help'."), std::string::npos);
    }
}

}  // namespace
