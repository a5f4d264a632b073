#include <gtest/gtest.h>

#include "files.h"
#include "profile.h"
#include "tool_test_support.h"

namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

const Options prdOptions = {{"--destination", "PRD"}, {"--client", "100"},   {"--user", "monitor"},
                            {"--language", "E"},      {"--mode", "R/3"},     {"--hostname", "sapprd01"},
                            {"--sysnr", "00"},        {"--gwhost", "sapgw"}, {"--gwservice", "sapgw00"}};

// create FILE with the PRD options, some replaced ("" as value drops one) and some added.
std::vector<std::string> create_arguments(const std::string& file, const Options& changes = {},
                                          const std::vector<std::string>& extra = {}) {
    std::vector<std::string> arguments = {"create", file};
    for (auto [option, value] : prdOptions) {
        for (const auto& change : changes)
            if (change.first == option) value = change.second;
        if (value.empty()) continue;
        arguments.push_back(option);
        arguments.push_back(value);
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

TEST(CreateCommand, WritesTheSensorsFormat) {
    FakeWorld world;
    world.inputLines = {"secret"};
    ToolOutcome outcome = world.run(create_arguments("D:\\Sensors\\PRD.P00"));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "Profile D:\\Sensors\\PRD.P00 written.\n");
    EXPECT_EQ(world.files["D:\\Sensors\\PRD.P00"], "Extcompany.: Wickerby\r\n"
                                                   "Destination: PRD\r\n"
                                                   "Client.....: 100\r\n"
                                                   "User.......: MONITOR\r\n"
                                                   "Password...: ?287tamr]JyI`d5gY)xU&bf`\r\n"
                                                   "Language...: E\r\n"
                                                   "Mode.......: R/3\r\n"
                                                   "Hostname...: sapprd01\r\n"
                                                   "Sysnr......: 00\r\n"
                                                   "Gwhost.....: sapgw\r\n"
                                                   "Gwservice..: sapgw00\r\n");
    EXPECT_EQ(world.prompts.size(), 1u);
}

TEST(CreateCommand, TheSensorReadsWhatItWrites) {
    FakeWorld world;
    world.inputLines = {" p@ss w0rd~ "};
    ToolOutcome outcome = world.run(create_arguments("X.P01", {{"--client", ""}},
                                                     {"--extcompany=ACME corp ", "--client= 10", "--allow-host",
                                                      "sapapp02", "--allow-host=sapapp03"}));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    ConnectionProfile profile;
    EXPECT_EQ(read_profile(text_mode_contents(world.files["X.P01"]), singleRunLineWidth, PasswordFailureMode::EndRun,
                           "X.P01", profile),
              std::nullopt);
    EXPECT_EQ(validate_profile(profile, "X.P01"), std::nullopt);
    EXPECT_EQ(profile.password, " p@ss w0rd~ ");
    EXPECT_EQ(profile.extcompany, "ACME corp ");
    EXPECT_EQ(profile.client, " 10");
    EXPECT_EQ(profile.allowedHosts, (std::vector<std::string>{"sapapp02", "sapapp03"}));
    const ToolOutcome refused = world.run(create_arguments("Y.P00", {}, {"--allow-host", "a b"}));
    EXPECT_NE(refused.errors.find("--allow-host needs one host name without blanks or commas"), std::string::npos)
        << refused.errors;
}

TEST(CreateCommand, RefusesValuesTheSensorRejects) {
    const struct {
        Options changes;
        std::string message;
    } cases[] = {
        {{{"--destination", "PRDPRDPRDPRD"}}, "--destination must have 3 to 11 characters; \"PRDPRDPRDPRD\" has 12"},
        {{{"--client", "10"}}, "--client must have 3 to 11 characters; \"10\" has 2"},
        {{{"--gwhost", std::string(61, 'g')}}, "--gwhost must have 2 to 60 characters;"},
        {{{"--hostname", "a\nb"}}, "--hostname must not contain a line break"},
        {{{"--sysnr", "0"}}, "--sysnr must have 2 to 31 characters"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = {"secret"};
        ToolOutcome outcome = world.run(create_arguments("PRD.P00", c.changes));
        EXPECT_EQ(outcome.exitCode, toolFailure);
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << outcome.errors;
        EXPECT_TRUE(world.files.empty());
        EXPECT_TRUE(world.prompts.empty()) << "no password is asked for a profile that cannot be written";
    }
    FakeWorld world;
    world.inputLines = {"secret"};
    EXPECT_EQ(world.run(create_arguments("PRD.P00", {}, {"--extcompany", "A"})).exitCode, toolFailure);
}

TEST(CreateCommand, RefusesPasswordsTheSensorRejects) {
    const struct {
        std::vector<std::string> lines;
        bool terminal;
        std::string message;
    } cases[] = {
        {{}, false, "no password on standard input"},
        {{"x"}, false, "the password must have 2 to 20 characters; it has 1"},
        {{""}, false, "the password must have 2 to 20 characters; it has 0"},
        {{std::string(21, 'p')}, false, "the password must have 2 to 20 characters; it has 21"},
        {{"tab\there"}, false, "printable ASCII characters only"},
        {{"xc~yphbuta"}, false, "no printable stored form"},
        {{"secret", "secreT"}, true, "the two passwords differ"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = c.lines;
        world.terminal = c.terminal;
        ToolOutcome outcome = world.run(create_arguments("PRD.P00"));
        EXPECT_EQ(outcome.exitCode, toolFailure);
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << outcome.errors;
        EXPECT_TRUE(world.files.empty());
    }
}

TEST(CreateCommand, AsksTwiceAtATerminal) {
    FakeWorld world;
    world.terminal = true;
    world.inputLines = {"secret", "secret"};
    EXPECT_EQ(world.run(create_arguments("PRD.P00")).exitCode, 0);
    EXPECT_EQ(world.prompts, (std::vector<std::string>{"Password: ", "Password again: "}));
}

TEST(CreateCommand, ReplacesAFileOnlyWithForce) {
    FakeWorld world;
    world.files["PRD.P00"] = "old";
    world.inputLines = {"secret", "secret"};
    ToolOutcome outcome = world.run(create_arguments("PRD.P00"));
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.errors, "wickerby-profile create: PRD.P00 exists; --force replaces it\n");
    EXPECT_EQ(world.files["PRD.P00"], "old");
    EXPECT_EQ(world.run(create_arguments("PRD.P00", {}, {"--force"})).exitCode, 0);
    EXPECT_NE(world.files["PRD.P00"], "old");

    world.writesFail = true;
    world.inputLines = {"secret"};
    outcome = world.run(create_arguments("NEW.P00"));
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.errors, "wickerby-profile create: cannot write NEW.P00\n");
}

// Run from PRTG's program folder, create writes nothing and asks for no
// password, whatever it is given; the commands that only read work there.
TEST(CreateCommand, WritesNothingFromPrtgsProgramFolders) {
    FakeWorld world;
    world.inputLines = {"secret"};
    ASSERT_EQ(world.run(create_arguments("PRD.P00")).exitCode, 0);
    const std::string written = world.files["PRD.P00"];
    world.prompts.clear();

    world.executableDirectory = "C:\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
    world.inputLines = {"secret"};
    ToolOutcome outcome = world.run(create_arguments("PRD.P00", {{"--hostname", "attacker.example"}}, {"--force"}));
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(outcome.errors,
              "wickerby-profile create: refused: this program lies in C:\\PRTG Network Monitor\\Custom "
              "Sensors\\ExeXml\\, a folder whose programs every PRTG user who may add sensors can run; move it out "
              "of Custom Sensors\\EXE and Custom Sensors\\EXEXML, for example to a folder tools beside Custom "
              "Sensors, and run it from there\n");
    EXPECT_EQ(world.files["PRD.P00"], written);
    EXPECT_TRUE(world.prompts.empty());

    // As read in text mode, which the fake world's files are not.
    world.files["PRD.P00"] = text_mode_contents(written);
    const std::vector<std::string> reading[] = {{"check", "PRD"}, {"scramble"}, {"create", "--help"}, {"--version"}};
    for (const auto& arguments : reading) {
        world.inputLines = {"secret"};
        outcome = world.run(arguments);
        EXPECT_EQ(outcome.exitCode, 0) << arguments.front() << ": " << outcome.errors;
    }

    world.executableDirectory = "";
    outcome = world.run(create_arguments("NEW.P00"));
    EXPECT_EQ(outcome.exitCode, toolFailure);
    EXPECT_EQ(outcome.errors,
              "wickerby-profile create: refused: the system does not tell which folder this program lies in, and "
              "from Custom Sensors\\EXE or Custom Sensors\\EXEXML it writes nothing\n");
    EXPECT_EQ(world.files.count("NEW.P00"), 0u);
}

TEST(CreateCommand, BadUsage) {
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {create_arguments("PRD.P00", {{"--gwservice", ""}}), "--gwservice is missing"},
        {create_arguments("", {}), "the profile FILE is missing"},
        {create_arguments("PRD.P00", {}, {"OTHER.P00"}), "unexpected argument 'OTHER.P00'"},
        {create_arguments("PRD.P00", {}, {"--password", "x"}), "unknown option '--password'"},
        {create_arguments("PRD.P00", {}, {"--force=yes"}), "unknown option '--force=yes'"},
        {create_arguments("PRD.P00", {}, {"--sysnr", "01"}), "--sysnr is given twice"},
        {create_arguments("PRD.P00", {{"--gwservice", ""}}, {"--gwservice"}), "--gwservice needs a value"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = {"secret"};
        std::vector<std::string> arguments = c.arguments;
        if (arguments[1].empty()) arguments.erase(arguments.begin() + 1);
        ToolOutcome outcome = world.run(arguments);
        EXPECT_EQ(outcome.exitCode, toolFailure);
        EXPECT_EQ(outcome.errors,
                  "wickerby-profile create: " + c.message + "\nTry 'wickerby-profile create --help'.\n");
        EXPECT_TRUE(world.files.empty());
    }
}

TEST(CreateCommand, NotesNamesTheSensorReadsOtherwise) {
    const struct {
        std::string file;
        std::string note;
    } cases[] = {
        {"C:\\Sensors\\PRD.P00", ""},
        {"PRD", "Note: the sensor, given the name PRD, looks for the file PRD.P00.\n"},
        {"global.p00", "Note: the sensor reads the name global.p00 as its global server listing.\n"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = {"secret"};
        EXPECT_EQ(world.run(create_arguments(c.file)).output, "Profile " + c.file + " written.\n" + c.note);
    }
}

}  // namespace

namespace {

// With --user-from-prtg or --password-from-prtg the profile names PRTG's
// variable as written and the sensor takes the value from it; no password
// is asked for when PRTG gives it.
TEST(CreateCommand, CredentialsFromPrtg) {
    const struct {
        Options changes;
        std::vector<std::string> extra;
        std::string user, password;
        std::size_t prompts;
    } cases[] = {
        {{{"--user", ""}},
         {"--user-from-prtg", "prtg_windowsuser", "--password-from-prtg=prtg_windowspassword"},
         "%prtg_windowsuser%",
         "%prtg_windowspassword%",
         0},
        {{}, {"--password-from-prtg", "PRTG_LinuxPassword"}, "MONITOR", "%PRTG_LinuxPassword%", 0},
        {{{"--user", ""}}, {"--user-from-prtg", "prtg_linuxuser"}, "%prtg_linuxuser%", "secret", 1},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = {"secret"};
        ToolOutcome outcome = world.run(create_arguments("PRD.P00", c.changes, c.extra));
        ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
        EXPECT_EQ(outcome.output, "Profile PRD.P00 written.\nNote: the sensor takes the profile's credentials from "
                                  "PRTG only with its setting \"Set placeholders as environment values\" switched "
                                  "on.\n");
        EXPECT_EQ(world.prompts.size(), c.prompts);
        ConnectionProfile profile;
        EXPECT_EQ(read_profile(text_mode_contents(world.files["PRD.P00"]), singleRunLineWidth,
                               PasswordFailureMode::EndRun, "PRD.P00", profile),
                  std::nullopt);
        EXPECT_EQ(profile.user, c.user);
        EXPECT_EQ(profile.password, c.password);
        EXPECT_EQ(profile.client, "100");
    }
}

TEST(CreateCommand, CredentialsFromPrtgBadUsage) {
    const std::string notOne = " (\"prtg_\" and at most 53 letters, digits or _); \"windowspassword\" is not one";
    const struct {
        Options changes;
        std::vector<std::string> extra;
        std::string message;
    } cases[] = {
        {{},
         {"--password-from-prtg", "windowspassword"},
         "--password-from-prtg needs a variable that PRTG sets, such as prtg_windowspassword" + notOne},
        {{}, {"--user-from-prtg", "prtg_windowsuser"}, "--user and --user-from-prtg exclude each other"},
        {{},
         {"--password-from-prtg", "prtg_a", "--password-from-prtg", "prtg_b"},
         "--password-from-prtg is given twice"},
        {{}, {"--password-from-prtg"}, "--password-from-prtg needs a value"},
        {{}, {"--hostname-from-prtg", "prtg_host"}, "unknown option '--hostname-from-prtg'"},
    };
    for (const auto& c : cases) {
        FakeWorld world;
        world.inputLines = {"secret"};
        ToolOutcome outcome = world.run(create_arguments("PRD.P00", c.changes, c.extra));
        EXPECT_EQ(outcome.exitCode, toolFailure);
        EXPECT_EQ(outcome.errors,
                  "wickerby-profile create: " + c.message + "\nTry 'wickerby-profile create --help'.\n");
        EXPECT_TRUE(world.files.empty());
        EXPECT_TRUE(world.prompts.empty());
    }
}

}  // namespace
