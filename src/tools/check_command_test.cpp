#include <gtest/gtest.h>

#include <utility>

#include "files.h"
#include "library_loader.h"
#include "messages.h"
#include "process_lock.h"
#include "rfc_loader.h"
#include "runs.h"
#include "tool_test_support.h"

namespace {

const std::string prdProfile = "Extcompany.: Wickerby\n"
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

const std::string prdFields = "Extcompany.: \"Wickerby\"\n"
                              "Destination: \"PRD\"\n"
                              "Client.....: \"100\"\n"
                              "User.......: \"MONITOR\"\n"
                              "Password...: (set, not shown)\n"
                              "Language...: \"E\"\n"
                              "Mode.......: \"R/3\"\n"
                              "Hostname...: \"sapprd01\"\n"
                              "Sysnr......: \"00\"\n"
                              "Gwhost.....: \"sapgw\"\n"
                              "Gwservice..: \"sapgw00\"\n"
                              "Allowedhost: none, so no ,HOST= value is used\n"
                              "SapRfc.PRD: none in the working directory, so the sensor connects directly\n";

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
                              "Tried: " +
                                  directory +
                                  "PRD.P00\n"
                                  "Tried: " +
                                  directory +
                                  "Custom Sensors\\ExeXml\\PRD.P00\n"
                                  "Tried: " +
                                  directory +
                                  "PRD.P00\n"
                                  "Tried: " +
                                  directory +
                                  "PRD.P00\n"
                                  "Found: " +
                                  directory + "PRD.P00\n" + prdFields + "OK\n");
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
                              "Error 1002: Profile PRD.P00 is missing...\n" +
                                  std::string(errorReferenceLine));
}

std::string last_line(const std::string& output) {
    std::size_t end = output.size() - 1;
    return output.substr(output.rfind('\n', end - 1) + 1);
}

// The line that gives the verdict: the last one, or, after an error, the one
// before the line naming the error reference, which must then follow it.
std::string verdict_line(const std::string& output) {
    const std::string reference = errorReferenceLine;
    if (last_line(output) != reference) return last_line(output);
    return last_line(output.substr(0, output.size() - reference.size()));
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
        EXPECT_EQ(verdict_line(outcome.output), c.message + "\n");
        EXPECT_EQ(last_line(outcome.output) == errorReferenceLine, c.message != "OK") << c.message;
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

TEST(CheckCommand, BadUsage) {
    FakeWorld world;
    ToolOutcome outcome = world.run({"check"});
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.output, "");
    EXPECT_NE(outcome.errors.find("Try 'wickerby-profile check --help'."), std::string::npos);
}

const std::string sensorTag = "Sensor=\"SAP Wickerby\"";

std::string profile_without(const std::string& key) {
    std::string profile = prdProfile;
    const std::size_t at = profile.find(key);
    return profile.erase(at, profile.find('\n', at) + 1 - at);
}

TEST(CheckCommand, GlobalListingShowsEachSystemAsTheRunReadsIt) {
    FakeWorld world;
    world.files["SAP Pendrake.Gbl"] =
        "# GSNG: OTHER     : OTHER.P00#\n"
        "# gsnx: sensor01  : Item=Requests:Dialog DIALOG,Alias," +
        sensorTag +
        "\n"
        "# GSNG: SENSOR01  : NOUSER.P00#PRD.P00#GONE.P00#\n"
        "# GSNG: Sensor01  : INHERITS.P00#FORM.P00#CHECK.P00#SHORT.P00#..\\PRD.P00#LAST\n";
    world.files["NOUSER.P00"] = profile_without("User.......:");
    world.files["PRD.P00"] = prdProfile;
    world.files["INHERITS.P00"] = profile_without("User.......:");
    // The first bad password decides, even when a later line is good.
    world.files["FORM.P00"] = prdProfile + "Password...: ?287tamr]JyI`d5gY)xU&bf` \n" + prdProfile;
    world.files["CHECK.P00"] = prdProfile + "Password...: ?287tamr]JyI`d5gY)xU&bf_\n";
    world.files["SHORT.P00"] = prdProfile + "Client.....: 10\n";
    world.files["LAST"] = prdProfile + "Password...:\n";
    world.files["..\\PRD.P00"] = profile_without("User.......:");
    ToolOutcome outcome = world.run({"check", "global", "Sensor01", "ignored"});
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.output, "Profile name: SAP Pendrake.Gbl\n"
                              "Path file C:\\PRTG_Path.Txt: none\n"
                              "Tried: SAP Pendrake.Gbl\n"
                              "Found: SAP Pendrake.Gbl\n"
                              "Sensor key: \"SENSOR01  \"\n"
                              "Allocation text: \" Item=Requests:Dialog DIALOG,Alias," +
                                  sensorTag +
                                  "\"\n"
                                  "Item: \"Requests Dialog\"\n"
                                  "Label kind: Alias\n"
                                  "Systems: 9\n"
                                  "1. NOUSER.P00: Error 1006: Username in Profile NOUSER.P00 is missing...\n"
                                  "2. PRD.P00: found and valid\n"
                                  "3. GONE.P00: missing\n"
                                  "4. INHERITS.P00: found and valid\n"
                                  "5. FORM.P00: Error 1004: Invalid Password in Profile FORM.P00 found...\n"
                                  "6. CHECK.P00: Error 1005: Wrong Password in Profile CHECK.P00 found...\n"
                                  "7. SHORT.P00: Error 1003: Invalid Parameter(s) at SHORT.P00 found...\n"
                                  "8. ..\\PRD.P00: refused: '..' leads out of the sensor directory; the sensor "
                                  "counts it as failed without opening it\n"
                                  "9. LAST: Error 1007: Password in Profile LAST is missing...\n"
                                  "7 of 9 systems are missing or fail before the sensor connects to them\n" +
                                  std::string(errorReferenceLine));
}

TEST(CheckCommand, ProfileListBelowThePathFileDirectory) {
    FakeWorld world;
    const std::string directory = "D:\\Sensors\\";
    world.files["C:\\PRTG_Path.Txt"] = "D:\\Sensors\n";
    world.files[directory + "Pendrake.Prf"] = "# Gsng: ANY       : PRD.P00#\n# GSNG: ANY       : NOT.P00#\n";
    world.files[directory + "PRD.P00"] = prdProfile;
    world.files["PRD.P00"] = "in the working directory, not looked at\n";
    ToolOutcome outcome = world.run({"check", "X", "item=Requests:Batch,DIALOG"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output, "Profile name: Pendrake.Prf\n"
                              "Path file C:\\PRTG_Path.Txt: directory D:\\Sensors\n"
                              "Tried: D:\\Sensors\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\Pendrake.Prf\n"
                              "Tried: D:\\Sensors\\Custom Sensors\\ExeXml\\Pendrake.Prf\n"
                              "Tried: D:\\Sensors\\Pendrake.Prf\n"
                              "Tried: D:\\Sensors\\Pendrake.Prf\n"
                              "Found: D:\\Sensors\\Pendrake.Prf\n"
                              "Item: \"Requests Batch\"\n"
                              "Label kind: Profile\n"
                              "Systems: 1\n"
                              "1. PRD.P00: found and valid\n"
                              "OK\n");
}

TEST(CheckCommand, ListingEndsWithTheSensorsMessage) {
    const std::string allocation = "# GSNX: SENSOR01  : Item=Requests:Dialog," + sensorTag + "\n";
    const std::string server = "# GSNG: SENSOR01  : PRD.P00#\n";
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::optional<std::string> listing;
        std::string message;
    } cases[] = {
        {"no global listing",
         {"check", "GLOBAL", "SENSOR01"},
         std::nullopt,
         "Error 1002: Profile SAP Pendrake.Gbl is missing..."},
        {"no profile list",
         {"check", "X", "ITEM=Requests:Dialog"},
         std::nullopt,
         "Error 1002: Profile Pendrake.Prf is missing..."},
        {"no allocation line",
         {"check", "GLOBAL", "Sensor02"},
         allocation + server,
         "Error 1030: Global Sensor Sensor02 not found..."},
        {"allocation without the tag",
         {"check", "GLOBAL", "SENSOR01"},
         "# GSNX: SENSOR01  : Item=Requests:Dialog\n" + server,
         "Error 1029: Invalid Sensor-Allocation..."},
        {"no server line", {"check", "GLOBAL", "SENSOR01"}, allocation, "Error 1025: Global Server Listing missing..."},
        {"no item",
         {"check", "GLOBAL", "SENSOR01"},
         "# GSNX: SENSOR01  : Alias," + sensorTag + "\n" + server,
         "Error 1026: Global Item Idenification missing..."},
        {"profile list, item without value",
         {"check", "X", "ITEM="},
         "# Gsng: KEY       : PRD.P00#\n",
         "Error 1026: Global Item Idenification missing..."},
        {"profile list, marker in capitals",
         {"check", "X", "ITEM=Requests:Dialog"},
         server,
         "Error 1025: Global Server Listing missing..."},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.files["PRD.P00"] = prdProfile;
        const std::string listingName = c.arguments[1] == "GLOBAL" ? "SAP Pendrake.Gbl" : "Pendrake.Prf";
        if (c.listing) world.files[listingName] = *c.listing;
        ToolOutcome outcome = world.run(c.arguments);
        EXPECT_EQ(verdict_line(outcome.output), c.message + "\n") << c.what;
        EXPECT_EQ(outcome.output.find("Systems:"), std::string::npos) << c.what;
        EXPECT_EQ(outcome.exitCode, toolFailure) << c.what;
    }
}

TEST(CheckCommand, ListingWarnings) {
    const struct {
        std::size_t systems;
        std::string item;
        std::string warnings;
    } cases[] = {
        {50, "Requests:Waiting", ""},
        {51, "Requests:Waiting",
         "Warning: 51 systems, but PRTG does not officially support more than 50 channels per sensor\n"},
        {1, "Requests:dialog", "Warning: the item names none of the sensor's channels, so no system writes one\n"},
        {49, "Requests:Waiting,FAILED", ""},
        {50, "Requests:Waiting,FAILED",
         "Warning: 50 systems and the channel Failed Systems, but PRTG does not officially support more than 50 "
         "channels per sensor\n"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        std::string& listing = world.files["Pendrake.Prf"];
        for (std::size_t i = 1; i <= c.systems; ++i) {
            listing += "# Gsng: KEY       : S" + std::to_string(i) + ".P00#\n";
            world.files["S" + std::to_string(i) + ".P00"] = prdProfile;
        }
        ToolOutcome outcome = world.run({"check", "X", "ITEM=" + c.item});
        const std::size_t systemsEnd = outcome.output.find(std::to_string(c.systems) + ". S");
        ASSERT_NE(systemsEnd, std::string::npos) << c.systems;
        const std::size_t warningsStart = outcome.output.find('\n', systemsEnd) + 1;
        EXPECT_EQ(outcome.output.substr(warningsStart), c.warnings + "OK\n") << c.systems;
        EXPECT_EQ(outcome.exitCode, 0);
    }
}

// What the global listing holds, for a sensor key it does not hold: the keys
// of allocation and server lines, upper-cased and each once, as the sensor
// compares them; a line shorter than its marked columns holds none.
TEST(CheckCommand, UnknownSensorKeyListsTheKeysOfTheListing) {
    const struct {
        std::string listing;
        std::string keyLines;
    } cases[] = {
        {"# GSNX: sensor01  : Item=Requests:Dialog," + sensorTag +
             "\n"
             "# GSNG: SENSOR01  : PRD.P00#\n"
             "# gsng: Other     : QAS.P00#\n"
             "# GSNG: sensor01  : QAS.P00#\n",
         "Sensor keys of allocation lines: \"SENSOR01  \"\n"
         "Sensor keys of server lines: \"SENSOR01  \", \"OTHER     \"\n"},
        {"# GSNG: LONGER_KEY_IS_CUT: PRD.P00#\n"
         "# GSNX: SHORT\n"
         "# Gsng: KEY       : PRD.P00#\n",
         "Sensor keys of allocation lines: none\n"
         "Sensor keys of server lines: \"LONGER_KEY\", \"KEY       \"\n"},
        {"", "Sensor keys of allocation lines: none\nSensor keys of server lines: none\n"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.files["SAP Pendrake.Gbl"] = c.listing;
        ToolOutcome outcome = world.run({"check", "GLOBAL", "Sensor02"});
        EXPECT_EQ(outcome.output.substr(outcome.output.find("Label kind: Profile\n") + 20),
                  c.keyLines + "Error 1030: Global Sensor Sensor02 not found...\n" + errorReferenceLine)
            << c.listing;
        EXPECT_EQ(outcome.exitCode, toolFailure);
    }
}

TEST(CheckCommand, OtherListingErrorsListNoKeys) {
    FakeWorld world;
    world.files["SAP Pendrake.Gbl"] = "# GSNX: SENSOR01  : Item=Requests:Dialog\n# GSNG: SENSOR01  : PRD.P00#\n";
    ToolOutcome outcome = world.run({"check", "GLOBAL", "SENSOR01"});
    EXPECT_EQ(verdict_line(outcome.output), "Error 1029: Invalid Sensor-Allocation...\n");
    EXPECT_EQ(outcome.output.find("Sensor keys"), std::string::npos);
}

// The sensor keeps one profile for all systems of a listing, so a profile
// without a User, Password, Gwhost or Gwservice line logs on with the value
// of the last profile before it that had one. Each such value is named on
// standard error; the report on standard output stays as it was.
TEST(CheckCommand, WarnsOfFieldsTakenFromAnEarlierProfile) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> profiles;  // in the listing's order; empty: missing
        std::string warnings;
        bool valid;  // every system found and valid: the check ends with OK
    } cases[] = {
        {"every profile complete", {{"A.P00", prdProfile}, {"B.P00", prdProfile}}, "", true},
        {"the first profile has nothing to take", {{"A.P00", profile_without("Gwhost.....:")}}, "", false},
        {"user from the profile before, past a missing one",
         {{"A.P00", prdProfile}, {"GONE.P00", ""}, {"B.P00", profile_without("User.......:")}},
         "Warning: B.P00 has no User line, so the sensor takes the User of A.P00\n",
         false},
        {"each field from the last profile that had its line",
         {{"A.P00", prdProfile},
          {"B.P00", profile_without("Gwservice..:")},
          {"C.P00", profile_without("Password...:")},
          {"D.P00", profile_without("Gwhost.....:")}},
         "Warning: B.P00 has no Gwservice line, so the sensor takes the Gwservice of A.P00\n"
         "Warning: C.P00 has no Password line, so the sensor takes the Password of B.P00\n"
         "Warning: D.P00 has no Gwhost line, so the sensor takes the Gwhost of C.P00\n",
         true},
        {"an empty line is a line, and a bad password line fails the system",
         {{"A.P00", prdProfile},
          {"B.P00", profile_without("User.......:") + "User.......:\n"},
          {"C.P00", profile_without("Password...:") + "Password...: ?287tamr]JyI`d5gY)xU&bf_\n"}},
         "",
         false},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        std::string& listing = world.files["Pendrake.Prf"];
        for (const auto& [name, contents] : c.profiles) {
            listing += "# Gsng: KEY       : " + name + "#\n";
            if (!contents.empty()) world.files[name] = contents;
        }
        ToolOutcome outcome = world.run({"check", "X", "ITEM=Requests:Waiting"});
        EXPECT_EQ(outcome.errors, c.warnings) << c.what;
        EXPECT_EQ(last_line(outcome.output) == "OK\n", c.valid) << c.what;
        EXPECT_EQ(outcome.exitCode, c.valid ? 0 : toolFailure) << c.what;
        EXPECT_EQ(outcome.output.find(" has no "), std::string::npos) << c.what;
    }
}

}  // namespace

namespace {

// A User or Password taken from PRTG's variable: check names the variable and
// whether its own environment has it, never the value. PRTG sets it for the
// sensor alone, so one the tool lacks is only a warning, in a profile and in
// each system of a listing.
TEST(CheckCommand, CredentialsFromPrtgNameTheirSource) {
    const std::string warning = " (only a warning: PRTG sets it for the sensor, not for this tool)\n";
    const struct {
        std::map<std::string, std::string> environment;
        std::string userLine, passwordLine, message;
    } cases[] = {
        {{},
         "User.......: from the environment variable prtg_windowsuser, not set" + warning,
         "Password...: from the environment variable prtg_windowspassword, not set" + warning,
         "OK"},
        {{{"prtg_windowsuser", "operator"}, {"prtg_windowspassword", "Pa55 w0rd!"}},
         "User.......: from the environment variable prtg_windowsuser, set\n",
         "Password...: from the environment variable prtg_windowspassword, set\n",
         "OK"},
        {{{"prtg_windowsuser", ""}, {"prtg_windowspassword", "operator-password-of-25"}},
         "User.......: from the environment variable prtg_windowsuser, empty" + warning,
         "Password...: from the environment variable prtg_windowspassword, set  <- longer than 20 characters\n",
         "Error 1003: Invalid Parameter(s) at PRD.P00 found..."},
    };
    const std::string profile = prdProfile + "User.......: %prtg_windowsuser%\nPassword...: %prtg_windowspassword%\n";
    for (const auto& c : cases) {
        FakeWorld world;
        world.environment = c.environment;
        world.files["PRD.P00"] = profile;
        ToolOutcome outcome = world.run({"check", "PRD"});
        EXPECT_NE(outcome.output.find("Client.....: \"100\"\n" + c.userLine + c.passwordLine + "Language...: \"E\"\n"),
                  std::string::npos)
            << outcome.output;
        EXPECT_EQ(verdict_line(outcome.output), c.message + "\n");
        EXPECT_EQ(outcome.exitCode, c.message == "OK" ? 0 : toolFailure);
        EXPECT_EQ(outcome.output.find("operator"), std::string::npos) << "the value must never be shown";
        EXPECT_EQ(outcome.output.find("OPERATOR"), std::string::npos) << "the value must never be shown";

        world.files["Pendrake.Prf"] = "# Gsng: KEY       : PRD.P00#\n";
        outcome = world.run({"check", "X", "ITEM=Requests:Waiting"});
        EXPECT_NE(outcome.output.find("1. PRD.P00: " + (c.message == "OK" ? "found and valid" : c.message) + "\n"),
                  std::string::npos)
            << outcome.output;
    }
}

}  // namespace

TEST(CheckCommand, TellsWhatTheSensorMeetsBeyondTheProfile) {
    FakeWorld world;
    world.files["PRD.P00"] = prdProfile + "Allowedhost: sapapp01, sapapp02\n";
    world.files["SapRfc.PRD"] = "DEST=PRD\n";
    ToolOutcome outcome = world.run({"check", "PRD", ",HOST=elsewhere"});
    EXPECT_NE(outcome.output.find("Allowedhost: sapapp01, sapapp02\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("SapRfc.PRD: found in the working directory, so the sensor connects through it"),
              std::string::npos);
    EXPECT_NE(outcome.output.find(host_not_allowed_message("PRD.P00", "elsewhere") + "\n"), std::string::npos);
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(world.run({"check", "PRD", ",HOST=SAPAPP02"}).exitCode, 0);

    // Labelled by Sid, two profiles of one destination write one channel.
    world.files["Pendrake.Prf"] = "# Gsng: ANY       : PRD.P00#COPY.P00#\n";
    world.files["COPY.P00"] = prdProfile;
    world.files["SAP Pendrake.Gbl"] = "# GSNX: KEY       : Item=Requests:Dialog,Sid,Sensor=\"SAP Wickerby\"\n"
                                      "# GSNG: KEY       : PRD.P00#COPY.P00#\n";
    outcome = world.run({"check", "GLOBAL", "KEY"});
    EXPECT_NE(outcome.output.find("Warning: PRD.P00 and COPY.P00 both give the channel \"PRD\"; PRTG needs each "
                                  "channel name once\n"),
              std::string::npos)
        << outcome.output;
}

// A lock file held alone for longer than a sensor waits is told, once it
// is let go no longer; the lock's own file is the working directory's, as
// the sensor's is.
TEST(CheckCommand, TellsARunsLockHeldLongerThanASensorWaits) {
    ProcessLock holder = open_process_lock(runsLockFileName);
    ASSERT_NE(holder.handle, -1) << holder.problem;
    FakeWorld world;
    world.files["PRD.P00"] = prdProfile;
    world.files[runsLockFileName] = "";
    const std::string held = std::string("Lock file ") + runsLockFileName +
                             ": another process holds it for longer than a sensor waits (250 ms), so every run "
                             "waits that long and keeps Dev_Rfc.Trc\n";
    struct Case {
        bool heldAlone;
        std::string line;
    };
    for (const Case& c : {Case{true, held}, Case{false, ""}}) {
        if (c.heldAlone) {
            ASSERT_TRUE(lock_exclusive(holder, 0));
        }
        const ToolOutcome outcome = world.run({"check", "PRD"});
        unlock(holder);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.output.substr(outcome.output.find("SapRfc.PRD: ")),
                  "SapRfc.PRD: none in the working directory, so the sensor connects directly\n" + c.line + "OK\n")
            << c.heldAlone;
    }
    close_process_lock(holder);
    remove_file(runsLockFileName);
}

// The build puts the simulator's librfc32 and sapnwrfc beside the test
// program: the check loads the library the parameters choose, as the
// sensor would, and names it, its version and its file.
TEST(CheckCommand, NamesTheLibraryTheParametersChoose) {
    const std::string netWeaver = "Library: sapnwrfc version 7500.0.0 (750, patch level 0, rfcsim), " +
                                  executable_directory() + prefixed_library_file_name("sapnwrfc") + "\n";
    const std::string classic =
        "Library: librfc32 without a file version, " + executable_directory() + library_file_name("librfc32") + "\n";
    const std::pair<const char*, std::string> cases[] = {
        {",LIBRARY=NWRFC", netWeaver},
        {"", classic},
        {",LIBRARY=CLASSIC", classic},
    };
    for (const auto& [parameters, line] : cases) {
        FakeWorld world;
        world.files["PRD.P00"] = prdProfile;
        ToolContext context = world.context();
        context.sensorWorld.loadRfcLibrary = []() -> std::optional<std::string> {
            const std::optional<RfcLibraryFailure> failure = load_rfc_library();
            if (failure) return rfc_library_failure_message(*failure);
            return std::nullopt;
        };
        std::vector<std::string> arguments{"check", "PRD"};
        if (*parameters) arguments.push_back(parameters);
        const ToolOutcome outcome = run_tool(arguments, context);
        EXPECT_EQ(outcome.exitCode, 0) << parameters;
        EXPECT_EQ(outcome.output.substr(outcome.output.find("SapRfc.PRD: ")),
                  "SapRfc.PRD: none in the working directory, so the sensor connects directly\n" + line + "OK\n")
            << parameters;
    }
}
