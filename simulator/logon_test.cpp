#include "logon.h"

#include <gtest/gtest.h>

namespace rfcsim {
namespace {

SystemScenario system_with(std::optional<std::string> client, std::optional<std::string> user,
                           std::optional<std::string> password) {
    SystemScenario system;
    system.client = std::move(client);
    system.user = std::move(user);
    system.password = std::move(password);
    return system;
}

TEST(Logon, ChecksOnlyWhatTheSystemGives) {
    EXPECT_TRUE(logon_holds(SystemScenario{}, {"", "", ""}));
    EXPECT_TRUE(logon_holds(system_with(std::nullopt, "MONITOR", std::nullopt), {"999", "MONITOR", "x"}));
    EXPECT_FALSE(logon_holds(system_with("100", std::nullopt, std::nullopt), {"200", "", ""}));
}

TEST(Logon, TrailingBlanksOfThePassedValueAreRemoved) {
    SystemScenario system = system_with("100", "MONITOR", "s3cret");
    EXPECT_TRUE(logon_holds(system, {"100", "MONITOR     ", "s3cret    "}));
    EXPECT_FALSE(logon_holds(system, {"100", " MONITOR", "s3cret"}));
    EXPECT_FALSE(logon_holds(system, {"100", "monitor", "s3cret"}));
    EXPECT_FALSE(logon_holds(system, {"100", "MONITOR", "s3cre"}));
    EXPECT_FALSE(logon_holds(system_with(std::nullopt, "AB  ", std::nullopt), {"", "AB", ""}));
}

TEST(Logon, GivenEmptyValueWantsAnEmptyOrBlankText) {
    SystemScenario system = system_with("", std::nullopt, std::nullopt);
    EXPECT_TRUE(logon_holds(system, {"   ", "", ""}));
    EXPECT_FALSE(logon_holds(system, {"100", "", ""}));
}

TEST(ConnectString, ReadsTheBlankSeparatedWords) {
    ConnectString connect = parse_connect_string("CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=BIN");
    EXPECT_EQ(connect.logon.client, "100");
    EXPECT_EQ(connect.logon.user, "MONITOR");
    EXPECT_EQ(connect.logon.password, "s3cret");
    EXPECT_EQ(connect.language, "D");
    EXPECT_EQ(connect.destination, "BIN");
}

TEST(ConnectString, KeysInAnyCaseOtherWordsIgnoredLastWins) {
    ConnectString connect = parse_connect_string("  dest=A  TYPE=3 noise User=x=y DEST=B PASSWD=");
    EXPECT_EQ(connect.destination, "B");
    EXPECT_EQ(connect.logon.user, "x=y");
    EXPECT_EQ(connect.logon.password, "");
    EXPECT_EQ(connect.logon.client, "");
}

TEST(SapRfcIni, FindsTheDestinationLine) {
    EXPECT_TRUE(ini_names_destination("DEST=BIN\n", "BIN"));
    EXPECT_TRUE(ini_names_destination("TYPE=A\r\n  dest = BIN  \r\nASHOST=h\r\n", "BIN"));
    EXPECT_TRUE(ini_names_destination("Dest=BIN", "BIN"));
    EXPECT_FALSE(ini_names_destination("DEST=BIN2\n", "BIN"));
    EXPECT_FALSE(ini_names_destination("DEST=bin\n", "BIN"));
    EXPECT_FALSE(ini_names_destination("DESTINATION=BIN\n", "BIN"));
    EXPECT_FALSE(ini_names_destination("", "BIN"));
}

}  // namespace
}  // namespace rfcsim
