#include <gtest/gtest.h>

#include <ctime>

#include "tool_test_support.h"

TEST(TestCommand, AdviceFollowsTheLibrarysKeyAndMessage) {
    const struct {
        const char* key;
        const char* message;
        const char* adviceBegins;  // empty: no advice
    } cases[] = {
        {"RFC_ERROR_LOGON_FAILURE", "Name or password is incorrect", "SAP refused the logon"},
        // The library reports some refused logons under its communication key.
        {"RFC_ERROR_COMMUNICATION", "Name or password is incorrect", "SAP refused the logon"},
        {"RFC_ERROR_LOGON_FAILURE", "User is locked. Please notify the person responsible", "SAP refused the logon"},
        {"RFC_ERROR_COMMUNICATION", "partner 'sapdev01:sapgw20' not reached", "the system was not reached"},
        {"RFC_ERROR_SYSTEM_FAILURE", "No RFC authorization for function module TH_REQUEST_QUEUE",
         "the SAP user may not call"},
        {"FU_NOT_FOUND", "", "the system has no function module"},
        {"RFC_ERROR_COMMUNICATION", "destination BIN not found in saprfc.ini", "the destination's SapRfc file"},
        {"", "", ""},
        {"RFC_ERROR_PROGRAM", "something else", ""},
    };
    for (const auto& c : cases) {
        const std::string advice = failure_advice(c.key, c.message);
        EXPECT_EQ(advice.substr(0, std::string(c.adviceBegins).size()), c.adviceBegins) << c.key << " " << c.message;
        EXPECT_EQ(advice.empty(), *c.adviceBegins == '\0') << c.key << " " << c.message;
    }
}

// The library reads a key whatever its case and the blanks before it, so
// every line it would take for the password stays hidden.
TEST(TestCommand, ConfigurationShownWithoutItsPasswordLines) {
    const std::pair<const char*, const char*> cases[] = {
        {"DEST=PRD\nTYPE=A\nASHOST=app01\n", "DEST=PRD, TYPE=A, ASHOST=app01"},
        {"DEST=PRD\r\n# a comment\r\n\r\nSYSNR=00", "DEST=PRD, SYSNR=00"},
        {"DEST=PRD\nPASSWD=s3cret\n", "DEST=PRD"},
        {"DEST=PRD\n PASSWD=s3cret\n", "DEST=PRD"},
        {"DEST=PRD\n\t passwd = s3cret\r\n", "DEST=PRD"},
        {"DEST=PRD\nPassWd=s3cret", "DEST=PRD"},
        {"PASSWD=s3cret\nDEST=PRD\n", "DEST=PRD"},
    };
    for (const auto& [configuration, shown] : cases)
        EXPECT_EQ(configuration_text(configuration), shown) << configuration;
}

// The test runs the sensor once per process; its state lasts the process.
TEST(TestCommand, TellsWhyAListingEntryIsRefused) {
    FakeWorld fake;
    fake.files["Pendrake.Prf"] = "# Gsng: KEY       : ..\\PRD.P00#/PRD.P00#\n";
    fake.files["..\\PRD.P00"] = "Destination: PRD\n";
    ToolContext context = fake.context();
    std::string told;
    context.write = [&told](const std::string& text) { told += text; };
    SensorWorld& world = context.sensorWorld;
    world.write = [](const std::string&) {};
    world.readTextFile = context.readTextFile;
    world.now = [] { return std::time_t{0}; };
    world.timeOfDay = [](std::time_t) { return std::string("12:34:56"); };
    world.loadRfcLibrary = []() -> std::optional<std::string> { return std::nullopt; };
    world.environmentVariable = context.environmentVariable;

    const ToolOutcome outcome = run_test({"X", "ITEM=Requests:Dialog"}, context);
    EXPECT_EQ(outcome.exitCode, toolFailure);
    const std::string refused = "; the sensor counts it as failed without opening it.\n";
    EXPECT_NE(told.find("File Pendrake.Prf: read\n"
                        "Listing entry ..\\PRD.P00: refused: '..' leads out of the sensor directory" +
                        refused + "Listing entry /PRD.P00: refused: a leading '/' names the root of the drive" +
                        refused),
              std::string::npos)
        << told;
    EXPECT_EQ(told.find("File ..\\PRD.P00"), std::string::npos) << told;
    EXPECT_NE(told.find("NoSystems=2, Processed=0, Failed=2"), std::string::npos) << told;
}
