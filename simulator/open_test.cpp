// Opening connections: scenario, logon checks, RfcOpenEx and SapRfc.ini.
#include "operations_fixture.h"

namespace rfcsim_test {
namespace {

TEST_F(Operations, MissingScenarioIsAnEmptyLandscape) {
    EXPECT_EQ(open("PRD"), 0u);
    RfcErrorInformation error = last_error();
    EXPECT_STREQ(error.key, "RFC_ERROR_COMMUNICATION");
    EXPECT_STREQ(error.status, "CONNECT_FAILED");
    EXPECT_STREQ(error.message, "partner not reached");
    EXPECT_STREQ(error.internalStatus, "");
    EXPECT_EQ(masked_trace(), classic_entry("partner not reached"));
}

TEST_F(Operations, HandlesCountFromOneAndFailedOpensTakeNone) {
    scenario(prd);
    EXPECT_EQ(open("PRD"), 1u);
    EXPECT_EQ(open("QAS"), 0u);
    EXPECT_EQ(open("PRD"), 2u);
    EXPECT_EQ(open("prd"), 0u);
    RfcClose(1);
    EXPECT_EQ(open("PRD"), 3u);
}

TEST_F(Operations, ScenarioPathFromTheEnvironmentAndReadOnce) {
    write_file("other.ini", "[system QAS]\n");
    set_environment("RFCSIM_SCENARIO", (directory / "other.ini").string());
    EXPECT_EQ(open("QAS"), 1u);
    write_file("other.ini", "[system PRD]\n");
    EXPECT_EQ(open("QAS"), 2u);
    EXPECT_EQ(open("PRD"), 0u);
}

TEST_F(Operations, MalformedScenarioEndsTheProcess) {
    scenario("[system PRD]\nuser MONITOR\n");
    // The child runs the test afresh in a directory of its own and leaves it
    // through exit, so it removes that directory on the way out.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    static fs::path childDirectory;
    childDirectory = directory;
    auto remove_child_directory = [] {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(childDirectory, ignored);
    };
    EXPECT_EXIT((std::atexit(remove_child_directory), open("PRD")), testing::ExitedWithCode(70),
                "^rfcsim: rfcsim\\.ini:2: expected 'key = value', \\[library\\] or \\[system NAME\\]\n$");
}

TEST_F(Operations, LogonChecksWithTrailingBlanksRemoved) {
    scenario(prd);
    EXPECT_NE(open("PRD", "100", "MONITOR     ", "s3cret    "), 0u);
    EXPECT_NE(open("PRD", "100", "MONITOR", "s3cret"), 0u);
    EXPECT_EQ(open("PRD", "100", " MONITOR", "s3cret"), 0u);
    EXPECT_EQ(open("PRD", "200", "MONITOR", "s3cret"), 0u);
    EXPECT_EQ(open("PRD", "100", "MONITOR", "wrong"), 0u);
    EXPECT_EQ(open("PRD", "100", nullptr, "s3cret"), 0u);
    RfcErrorInformation error = last_error();
    EXPECT_STREQ(error.key, "RFC_ERROR_COMMUNICATION");
    EXPECT_STREQ(error.message, "Name or password is incorrect");
}

TEST_F(Operations, LogonFailureTakesTheSystemsErrorAndTrace) {
    scenario(std::string(prd) + "error.key = RFC_ERROR_LOGON_FAILURE\nerror.message = bad logon\n"
                                "error.internal = LOGON\ntrace = ERROR       first\ntrace = T:0001 ======> second\n");
    EXPECT_EQ(open("PRD", "100", "MONITOR", "wrong"), 0u);
    RfcErrorInformation error = last_error();
    EXPECT_STREQ(error.key, "RFC_ERROR_LOGON_FAILURE");
    EXPECT_STREQ(error.status, "CONNECT_FAILED");
    EXPECT_STREQ(error.message, "bad logon");
    EXPECT_STREQ(error.internalStatus, "LOGON");
    EXPECT_EQ(trace(), "ERROR       first\nT:0001 ======> second\n");
}

TEST_F(Operations, RefusedOpenAppendsToTheTrace) {
    scenario("[system PRD]\nopen = refuse\nerror.status = REFUSED\n");
    EXPECT_EQ(open("PRD"), 0u);
    EXPECT_EQ(open("PRD"), 0u);
    EXPECT_STREQ(last_error().status, "REFUSED");
    EXPECT_EQ(masked_trace(), classic_entry("partner not reached") + classic_entry("partner not reached"));
    EXPECT_EQ(handlerCalls, "");
}

TEST_F(Operations, AbortedOpenCallsTheHandlerAfterTheFailure) {
    scenario("[system PRD]\nopen = abort\nerror.message = gone\n");
    EXPECT_EQ(open("PRD"), 0u);
    EXPECT_EQ(handlerCalls, "RfcOpen;");
    EXPECT_STREQ(last_error().message, "gone");
    EXPECT_NE(trace().find("T:0001 ======> gone\n"), std::string::npos);
}

TEST_F(Operations, AbortWithoutHandlerReturnsTheNullHandle) {
    scenario("[system PRD]\nopen = abort\n");
    RfcEnvironmentRecord environment{nullptr, nullptr};
    RfcEnvironment(&environment);
    EXPECT_EQ(open("PRD"), 0u);
    EXPECT_EQ(handlerCalls, "");
}

TEST_F(Operations, OpenExWithoutSapRfcIni) {
    scenario(prd);
    RfcExtendedError error{};
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=PRD", &error), 0u);
    EXPECT_STREQ(error.key, "RFC_ERROR_COMMUNICATION");
    EXPECT_STREQ(error.message, "destination PRD not found in saprfc.ini");
    EXPECT_STREQ(last_error().message, "destination PRD not found in saprfc.ini");
    EXPECT_EQ(masked_trace(), classic_entry("destination PRD not found in saprfc.ini"));
}

TEST_F(Operations, OpenExWithoutSapRfcIniTakesTheSystemsErrorAndTrace) {
    scenario("[system PRD]\nerror.key = MYKEY\nerror.message = ignored here\ntrace = ERROR       own line\n");
    RfcExtendedError error{};
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=PRD", &error), 0u);
    EXPECT_STREQ(last_error().key, "MYKEY");
    EXPECT_STREQ(last_error().message, "destination PRD not found in saprfc.ini");
    EXPECT_EQ(trace(), "ERROR       own line\n");
}

TEST_F(Operations, OpenExWithSapRfcIni) {
    scenario(prd);
    write_file("SapRfc.ini", "DEST=QAS\r\nTYPE=A\r\n dest = PRD \r\nASHOST=app01\r\n");
    RfcExtendedError error{};
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=PRD", &error), 1u);
    EXPECT_STREQ(error.message, "");
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=wrong LANG=D DEST=PRD", &error), 0u);
    EXPECT_STREQ(error.message, "Name or password is incorrect");
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=QAS", nullptr), 0u);
    EXPECT_STREQ(last_error().message, "partner not reached");
}

TEST_F(Operations, OpenExTakesTheIniPathFromTheEnvironment) {
    scenario(prd);
    write_file("SapRfc.ini", "DEST=OTHER\n");
    fs::create_directories("conf");
    write_file("conf/rfc.ini", "DEST=PRD\n");
    set_environment("RFC_INI", (directory / "conf" / "rfc.ini").string());
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret DEST=PRD", nullptr), 1u);
    EXPECT_EQ(RfcOpenEx("DEST=OTHER", nullptr), 0u);
}

TEST_F(Operations, OpenExAbortNamesItsOwnOperation) {
    scenario("[system PRD]\nopen = abort\n");
    write_file("SapRfc.ini", "DEST=PRD\n");
    RfcExtendedError error{};
    EXPECT_EQ(RfcOpenEx("DEST=PRD", &error), 0u);
    EXPECT_EQ(handlerCalls, "RfcOpenEx;");
    EXPECT_STREQ(error.message, "partner not reached");
}

}  // namespace
}  // namespace rfcsim_test
