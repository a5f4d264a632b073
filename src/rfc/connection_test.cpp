#include "connection.h"

#include <cctype>
#include <optional>

#include <gtest/gtest.h>

namespace {

ConnectionProfile sample_profile() {
    ConnectionProfile profile;
    profile.destination = "PRD";
    profile.client = "100";
    profile.user = "ABC";
    profile.password = "pass";
    profile.language = "E";
    profile.mode = "R/3";
    profile.hostname = "APP01";
    profile.sysnr = "07";
    profile.gwhost = "";
    profile.gwservice = "sapgw00";
    return profile;
}

std::string text(const char* value) {
    return value ? value : "none";
}

}  // namespace

TEST(Connection, R3RecordPaddingAndNone) {
    ConnectionRecords records;
    fill_connection_records(records, sample_profile(), {});
    EXPECT_EQ(records.options.mode, RFC_MODE_R3);
    EXPECT_EQ(records.options.connectionData, &records.r3);
    EXPECT_EQ(std::string(records.options.user), "ABC         ");
    EXPECT_EQ(std::string(records.options.password), "pass      ");
    EXPECT_EQ(text(records.r3.hostname), "APP01");
    EXPECT_EQ(records.r3.systemNumber, 7);
    EXPECT_EQ(text(records.r3.gatewayHost), "none");
    EXPECT_EQ(text(records.r3.gatewayService), "sapgw00");
    EXPECT_EQ(records.options.trace, 0);
}

TEST(Connection, ModeAndSystemNumberKept) {
    ConnectionRecords records;
    ConnectionProfile profile = sample_profile();
    for (const char* mode : {"r/2", "R/3", "", "R/2 "}) {
        profile.mode = mode;
        fill_connection_records(records, profile, {});
        EXPECT_EQ(records.options.mode, RFC_MODE_R3) << mode;
    }
    profile.mode = "R/2";
    profile.gwhost = "gw01";
    fill_connection_records(records, profile, {});
    EXPECT_EQ(records.options.mode, RFC_MODE_R2);
    EXPECT_EQ(records.options.connectionData, &records.gateway);
    EXPECT_EQ(text(records.gateway.gatewayHost), "gw01");

    profile.mode = "R/3";
    profile.sysnr = "";
    fill_connection_records(records, profile, {});
    EXPECT_EQ(records.r3.systemNumber, 7);  // from the call before
    profile.user = "A_VERY_LONG_USER";
    fill_connection_records(records, profile, {});
    EXPECT_EQ(std::string(records.options.user), "A_VERY_LONG_USER");
}

TEST(Connection, Overrides) {
    ConnectionOverrides none = connection_overrides("DIALOG", "dialog");
    EXPECT_FALSE(none.hasHost);
    EXPECT_FALSE(none.hasSystemNumber);

    ConnectionOverrides both = connection_overrides("X,HOST=APP02,NO=07 #", "x,host=app02,no=07 #");
    EXPECT_TRUE(both.hasHost);
    EXPECT_EQ(both.host, "app02");
    EXPECT_EQ(both.systemNumber, "07");

    ConnectionOverrides empty = connection_overrides(",HOST=,NO=", ",host=,no=");
    ConnectionRecords records;
    records.r3.systemNumber = 5;
    fill_connection_records(records, sample_profile(), empty);
    EXPECT_EQ(records.r3.hostname, nullptr);
    EXPECT_EQ(records.r3.systemNumber, 5);
}

TEST(Connection, ConnectStringIsUnpadded) {
    ConnectionProfile profile = sample_profile();
    profile.destination = "BIN";
    EXPECT_EQ(connect_string(profile), "CLIENT=100 USER=ABC PASSWD=pass LANG=D DEST=BIN");
}

TEST(Connection, NetWeaverParametersForEachWay) {
    using Parameters = std::vector<std::pair<std::string, std::string>>;
    ConnectionProfile r2 = sample_profile();
    r2.mode = "R/2";
    r2.gwhost = "gw01";
    ConnectionProfile noLanguage = sample_profile();
    noLanguage.language.clear();
    noLanguage.sysnr = "3";
    const struct {
        const char* name;
        ConnectionProfile profile;
        ConnectionOverrides overrides;
        bool configured;
        Parameters expected;
    } cases[] = {
        {"R/3 direct",
         sample_profile(),
         {},
         false,
         {{"ASHOST", "APP01"},
          {"SYSNR", "07"},
          {"GWSERV", "sapgw00"},
          {"SYSID", "PRD"},
          {"CLIENT", "100"},
          {"USER", "ABC"},
          {"PASSWD", "pass"},
          {"LANG", "E"}}},
        {"overrides",
         sample_profile(),
         {true, "app02", true, "12"},
         false,
         {{"ASHOST", "app02"},
          {"SYSNR", "12"},
          {"GWSERV", "sapgw00"},
          {"SYSID", "PRD"},
          {"CLIENT", "100"},
          {"USER", "ABC"},
          {"PASSWD", "pass"},
          {"LANG", "E"}}},
        {"R/2",
         r2,
         {},
         false,
         {{"GWHOST", "gw01"},
          {"GWSERV", "sapgw00"},
          {"SYSID", "PRD"},
          {"CLIENT", "100"},
          {"USER", "ABC"},
          {"PASSWD", "pass"},
          {"LANG", "E"}}},
        {"configured",
         sample_profile(),
         {},
         true,
         {{"DEST", "PRD"}, {"CLIENT", "100"}, {"USER", "ABC"}, {"PASSWD", "pass"}, {"LANG", "D"}}},
        {"one digit, no language",
         noLanguage,
         {},
         false,
         {{"ASHOST", "APP01"},
          {"SYSNR", "03"},
          {"GWSERV", "sapgw00"},
          {"SYSID", "PRD"},
          {"CLIENT", "100"},
          {"USER", "ABC"},
          {"PASSWD", "pass"}}},
    };
    for (const auto& c : cases) {
        ConnectionRecords records;
        fill_connection_records(records, c.profile, c.overrides);
        EXPECT_EQ(netweaver_parameters(records, c.configured), c.expected) << c.name;
    }
}

// Only 00 to 99 are system numbers; anything else would reach the library
// as whatever its digits make.
TEST(Connection, SystemNumberOverrideRefusedUnlessASystemNumber) {
    struct Case {
        const char* optionText;
        bool refused;
    };
    const Case cases[] = {
        {",NO=07", false}, {",NO=0", false}, {",NO=99", false}, {",NO=00", false},         {",NO=", false},
        {"DIALOG", false}, {",NO=-1", true}, {",NO=100", true}, {",NO=2147483647", true},  {",NO=4294967303", true},
        {",NO=+5", true},  {",NO=7x", true}, {",NO=007", true}, {",NO=ab,HOST=app", true},
    };
    for (const Case& c : cases) {
        const std::string text = c.optionText;
        std::string upper = text;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const ConnectionOverrides overrides = connection_overrides(upper, text);
        const std::optional<std::string> refusal = system_number_override_refusal(overrides, "PRD.P00");
        EXPECT_EQ(refusal.has_value(), c.refused) << text;
        if (refusal) {
            EXPECT_EQ(*refusal, "Error 1071: PRD.P00: ,NO=" + overrides.systemNumber +
                                    " is no system number; write two digits, 00 to 99 !")
                << text;
        }
    }
}

// What the NetWeaver library is given of a classic file: the destination's
// entry without the classic TYPE= line, each line as Notepad saved it.
TEST(Connection, NetWeaverConfigurationIsTheDestinationsEntry) {
    struct Case {
        const char* name;
        std::string classic;
        std::string expected;
    };
    const Case cases[] = {
        {"application server", "DEST=BIN\r\nTYPE=A\r\nASHOST=sapbin01\r\nSYSNR=30\r\n",
         "DEST=BIN\r\nASHOST=sapbin01\r\nSYSNR=30\r\n"},
        {"load balancing, last line unended",
         "* logon groups\nDEST=BIN\ntype = B\nMSHOST=msg01\nR3NAME=BIN\nGROUP=PUBLIC",
         "DEST=BIN\nMSHOST=msg01\nR3NAME=BIN\nGROUP=PUBLIC"},
        {"among other entries",
         "DEST=PRD\nTYPE=A\nASHOST=prd\nSYSNR=00\n\n  dest = BIN \n# "
         "ours\nTYPE=A\nASHOST=bin\nSYSNR=30\nDEST=BIN2\nASHOST=x\n",
         "  dest = BIN \nASHOST=bin\nSYSNR=30\n"},
        {"no entry for it", "DEST=bin\nTYPE=A\nASHOST=x\n", "DEST=bin\nTYPE=A\nASHOST=x\n"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(netweaver_configuration(c.classic, "BIN"), c.expected) << c.name;
}
