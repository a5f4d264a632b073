// RfcOpenConnection: the system a parameter list selects, the configured
// destinations of sapnwrfc.ini, and the error record of each refusal.
#include <chrono>

#include "nw_fixture.h"

namespace nwrfcsim_test {
namespace {

constexpr const char* landscape = "[system PRD]\nclient = 100\nuser = MONITOR\npassword = s3cret\n"
                                  "[system app01]\n"
                                  "[system R2X]\nopen = refuse\nerror.message = R2X is down\n"
                                  "[system ABT]\nopen = abort\n"
                                  "[system TMO]\nnw.open = RFC_TIMEOUT\n"
                                  "[system QAS]\nclient = 200\nerror.key = LOGON_KEY\nerror.message = Kennwort falsch\n"
                                  "[system DLY]\ndelay = RfcOpen 5\ndelay = RfcOpenConnection 7\n";

struct OpenCase {
    const char* parameters;
    RFC_RC code;
    RFC_ERROR_GROUP group;
    const char* key;
    const char* message;
};

class OpenOutcomes : public NwOperations, public testing::WithParamInterface<OpenCase> {};

TEST_P(OpenOutcomes, GiveTheHandleOrTheErrorRecord) {
    scenario(landscape);
    error.code = RFC_UNKNOWN_ERROR;
    RFC_CONNECTION_HANDLE handle = open(GetParam().parameters);
    EXPECT_EQ(handle != nullptr, GetParam().code == RFC_OK);
    EXPECT_EQ(error.code, GetParam().code);
    EXPECT_EQ(error.group, GetParam().group);
    EXPECT_EQ(key_of(error), GetParam().key);
    EXPECT_EQ(message_of(error), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, OpenOutcomes,
    testing::Values(
        OpenCase{"ASHOST=app01;SYSNR=00;SYSID=PRD;CLIENT=100;USER=MONITOR;PASSWD=s3cret;LANG=E", RFC_OK, OK, "", ""},
        OpenCase{"ASHOST=app01;SYSNR=00;CLIENT=1;USER=x;PASSWD=y", RFC_OK, OK, "", ""},
        OpenCase{"ashost=PRD;client=100;user=MONITOR  ;passwd=s3cret   ", RFC_OK, OK, "", ""},
        OpenCase{"ASHOST=app01;SYSID=PRD;CLIENT=100;USER=MONITOR;PASSWD=S3CRET", RFC_LOGON_FAILURE, LOGON_FAILURE,
                 "RFC_LOGON_FAILURE", "Name or password is incorrect"},
        OpenCase{"SYSID=PRD;CLIENT=200;USER=MONITOR;PASSWD=s3cret", RFC_LOGON_FAILURE, LOGON_FAILURE,
                 "RFC_LOGON_FAILURE", "Name or password is incorrect"},
        OpenCase{"SYSID=PRD;CLIENT=100;PASSWD=s3cret", RFC_LOGON_FAILURE, LOGON_FAILURE, "RFC_LOGON_FAILURE",
                 "Name or password is incorrect"},
        OpenCase{"SYSID=QAS;CLIENT=100", RFC_LOGON_FAILURE, LOGON_FAILURE, "LOGON_KEY", "Kennwort falsch"},
        OpenCase{"ASHOST=app02;SYSID=NONE", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                 "RFC_COMMUNICATION_FAILURE", "partner not reached"},
        OpenCase{"", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE",
                 "partner not reached"},
        OpenCase{"SYSID=R2X", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE",
                 "R2X is down"},
        OpenCase{"SYSID=ABT", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE",
                 "partner not reached"},
        OpenCase{"SYSID=TMO", RFC_TIMEOUT, EXTERNAL_RUNTIME_FAILURE, "RFC_TIMEOUT", "partner not reached"}));

// Where sapnwrfc.ini is looked for, and what a configured destination needs.
struct IniCase {
    const char* file;      // where the ini file is written, relative
    const char* variable;  // RFC_INI, relative to the test's folder; "" unset
    const char16_t* path;  // RfcSetIniPath; null: not called
    const char* text;      // the ini file's text
    RFC_RC code;
};

class ConfiguredDestinations : public NwOperations, public testing::WithParamInterface<IniCase> {};

TEST_P(ConfiguredDestinations, AreLookedUpInSapnwrfcIni) {
    scenario(prd);
    fs::create_directories("conf");
    fs::create_directories("other");
    write_file(GetParam().file, GetParam().text);
    std::string variable = GetParam().variable;
    set_environment("RFC_INI", variable.empty() ? "" : (directory / variable).string());
    if (GetParam().path) {
        EXPECT_EQ(RfcSetIniPath(GetParam().path, &error), RFC_OK);
    }
    RFC_CONNECTION_HANDLE handle = open(std::string("DEST=PRD;") + logon);
    EXPECT_EQ(handle != nullptr, GetParam().code == RFC_OK);
    EXPECT_EQ(error.code, GetParam().code);
    if (GetParam().code != RFC_OK) {
        EXPECT_EQ(key_of(error), "RFC_INVALID_PARAMETER");
        EXPECT_EQ(message_of(error), "destination PRD not found in sapnwrfc.ini");
    }
}

INSTANTIATE_TEST_SUITE_P(Places, ConfiguredDestinations,
                         testing::Values(IniCase{"sapnwrfc.ini", "", nullptr, "DEST=PRD\nASHOST=app01\n", RFC_OK},
                                         IniCase{"sapnwrfc.ini", "", nullptr, "DEST = QAS\r\n dest = PRD \r\n", RFC_OK},
                                         IniCase{"sapnwrfc.ini", "", nullptr, "DEST=PRDX\n", RFC_INVALID_PARAMETER},
                                         IniCase{"saprfc.ini", "", nullptr, "DEST=PRD\n", RFC_INVALID_PARAMETER},
                                         IniCase{"conf/sapnwrfc.ini", "conf", nullptr, "DEST=PRD\n", RFC_OK},
                                         IniCase{"conf/own.ini", "conf/own.ini", nullptr, "DEST=PRD\n", RFC_OK},
                                         IniCase{"sapnwrfc.ini", "conf", nullptr, "DEST=PRD\n", RFC_INVALID_PARAMETER},
                                         IniCase{"other/sapnwrfc.ini", "conf", u"other", "DEST=PRD\n", RFC_OK},
                                         IniCase{"other/sapnwrfc.ini", "", u"other/", "DEST=PRD\n", RFC_OK},
                                         IniCase{"sapnwrfc.ini", "", u"other", "DEST=PRD\n", RFC_INVALID_PARAMETER},
                                         IniCase{"sapnwrfc.ini", "", u"", "DEST=PRD\n", RFC_OK}));

TEST_F(NwOperations, AConfiguredDestinationsFailuresAndLogonChecks) {
    scenario(std::string(prd) + "[system QAS]\nerror.key = LOGON_KEY\nerror.message = Kennwort falsch\n");
    write_file("sapnwrfc.ini", "DEST=PRD\n");
    EXPECT_EQ(open("DEST=PRD;CLIENT=100;USER=MONITOR;PASSWD=wrong"), nullptr);
    EXPECT_EQ(error.code, RFC_LOGON_FAILURE);
    EXPECT_EQ(open("DEST=NOPE;CLIENT=100;USER=MONITOR;PASSWD=s3cret"), nullptr);
    EXPECT_EQ(error.code, RFC_INVALID_PARAMETER);
    EXPECT_EQ(message_of(error), "destination NOPE not found in sapnwrfc.ini");
    EXPECT_EQ(open("DEST=QAS;CLIENT=100"), nullptr);
    EXPECT_EQ(error.code, RFC_INVALID_PARAMETER);
    EXPECT_EQ(key_of(error), "LOGON_KEY");
    EXPECT_EQ(message_of(error), "destination QAS not found in sapnwrfc.ini");
}

// A user and a password with Ü and € written in UTF-8 in the scenario hold
// against the same texts passed in UTF-16, and only against them.
TEST_F(NwOperations, LogonTextsCompareAsUtf8) {
    scenario("[system PRD]\nuser = M\xC3\x9C"
             "LLER\npassword = pa\xE2\x82\xAC!\n");
    set_environment("RFCSIM_LOG", (directory / "calls.log").string());
    std::u16string user = u"M\u00DCLLER", password = u"pa\u20AC!";
    RFC_CONNECTION_PARAMETER good[] = {{u"SYSID", u"PRD"}, {u"USER", user.c_str()}, {u"PASSWD", password.c_str()}};
    EXPECT_NE(RfcOpenConnection(good, 3, &error), nullptr);
    RFC_CONNECTION_PARAMETER latin[] = {{u"SYSID", u"PRD"}, {u"USER", u"M\u00C3\u0153LLER"}, {u"PASSWD", u"pa!"}};
    EXPECT_EQ(RfcOpenConnection(latin, 3, &error), nullptr);
    EXPECT_EQ(error.code, RFC_LOGON_FAILURE);
    EXPECT_EQ(file_text("calls.log"),
              "RfcOpenConnection SYSID=[PRD] USER=[M\xC3\x9CLLER] PASSWD=[pa\xE2\x82\xAC!] -> 1\n"
              "RfcOpenConnection SYSID=[PRD] USER=[M\xC3\x83\xC5\x93LLER] PASSWD=[pa!] -> null RFC_LOGON_FAILURE\n");
}

std::vector<std::chrono::microseconds> waits;

void note_wait(std::chrono::microseconds duration) {
    waits.push_back(duration);
}

TEST_F(NwOperations, AnOpenWaitsItsOwnDelay) {
    scenario(landscape);
    waits.clear();
    rfcsim::set_nw_waiter(note_wait);
    open("SYSID=DLY");
    open("SYSID=PRD");
    open("SYSID=NONE");
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0], std::chrono::seconds(7));
}

TEST_F(NwOperations, NullListsAndRecords) {
    scenario("[system PRD]\n");
    EXPECT_EQ(RfcOpenConnection(nullptr, 2, &error), nullptr);
    EXPECT_EQ(error.code, RFC_COMMUNICATION_FAILURE);
    RFC_CONNECTION_PARAMETER unnamed[] = {{nullptr, u"PRD"}, {u"SYSID", u"PRD"}};
    EXPECT_NE(RfcOpenConnection(unnamed, 2, nullptr), nullptr);
}

}  // namespace
}  // namespace nwrfcsim_test
