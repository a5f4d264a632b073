#include <gtest/gtest.h>

#include <map>

#include "fake_world.h"
#include "runs.h"

// Runs that end before any connection is opened: everything they print goes
// through the world, and they hand their exit code back.
TEST(Sensor, RunsWriteThroughTheWorldAndReturnTheirExitCode) {
    const std::string listing = "# GSNX: KEY       : Item=Requests:Dialog,Sensor=\"SAP Wickerby\"\n"
                                "# GSNG: KEY       : NOUSER.P00#MISSING.P00#\n";
    const struct {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> files;
        std::string output;
        int exitCode;
    } cases[] = {
        {{},
         {},
         "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n",
         2},
        {{"PRD"},
         {{"PRD.P00", "Client.....: 100\n"}},
         "<Prtg>\n<Error>1</Error>\n<Text>Error 1006: Username in Profile PRD.P00 is missing...</Text>\n</Prtg>\n",
         2},
        {{"GLOBAL", "KEY #"},
         {{"SAP Pendrake.Gbl", listing}, {"NOUSER.P00", "Client.....: 100\n"}},
         "* 12:34:56 SAP Wickerby Vers 4.3 / 29.08.22\n"
         "* 12:34:56  Item=Requests Dialog State=Executing\n"
         "\n<Prtg>\n\n"
         "\n* 12:34:56 NOUSER.P00, , , , 100 State=Rfc Failure\n"
         "\n<Text>(***) Requests Dialog: NoSystems=2, Processed=0, Failed=1</Text>\n\n</Prtg>\n\n"
         "\n* 12:34:56 SAP Wickerby now processed...\n",
         0},
    };
    for (const auto& c : cases) {
        FakeWorld fake;
        fake.files = c.files;
        EXPECT_EQ(run_sensor(c.arguments, fake.world()), c.exitCode);
        EXPECT_EQ(fake.output, c.output);
    }
}

// The library is loaded once, after the command line has been read and
// before the profile is looked for: a run without arguments never loads it,
// a run that cannot load it says so rather than anything about its profile,
// and a run that has loaded it goes on to the profile.
TEST(Sensor, TheLibraryIsLoadedOnceAfterTheCommandLine) {
    const std::string refused = "Error 1050: librfc32.dll not found in C:\\ExeXml\\ or C:\\windows\\system32\\ !";
    const std::string refusedDocument = "<Prtg>\n<Error>1</Error>\n<Text>" + refused + "</Text>\n</Prtg>\n";
    const struct {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> files;
        bool loads;
        int expectedLoads;
        std::string output;
    } cases[] = {
        {{},
         {},
         false,
         0,
         "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n"},
        {{"PRD"}, {}, false, 1, refusedDocument},
        {{"PRD"}, {{"PRD.P00", "Client.....: 100\n"}}, false, 1, refusedDocument},
        {{"GLOBAL", "KEY #"}, {}, false, 1, refusedDocument},
        {{"PRD"},
         {},
         true,
         1,
         "<Prtg>\n<Error>1</Error>\n<Text>Error 1002: Profile PRD.P00 is missing...</Text>\n</Prtg>\n"},
    };
    for (const auto& c : cases) {
        FakeWorld fake;
        fake.files = c.files;
        SensorWorld world = fake.world();
        int loads = 0;
        world.loadRfcLibrary = [&loads, &c, &refused]() -> std::optional<std::string> {
            ++loads;
            if (c.loads) return std::nullopt;
            return refused;
        };
        EXPECT_EQ(run_sensor(c.arguments, world), 2);
        EXPECT_EQ(loads, c.expectedLoads);
        EXPECT_EQ(fake.output, c.output);
    }
}
