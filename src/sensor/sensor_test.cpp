#include <gtest/gtest.h>

#include <map>

#include "runs.h"

namespace {

// The outside world of a run: files in a map, standard output in a string.
struct FakeWorld {
    std::map<std::string, std::string> files;
    std::string output;

    SensorWorld world() {
        SensorWorld world;
        world.write = [this](const std::string& text) { output += text; };
        world.readTextFile = [this](const std::string& path) -> std::optional<std::string> {
            auto file = files.find(path);
            if (file == files.end()) return std::nullopt;
            return file->second;
        };
        world.removeFile = [this](const std::string& path) { files.erase(path); };
        world.now = [] { return std::time_t{0}; };
        world.timeOfDay = [](std::time_t) { return std::string("12:34:56"); };
        return world;
    }
};

}  // namespace

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
        {{}, {}, "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n", 2},
        {{"PRD"}, {{"PRD.P00", "Client.....: 100\n"}},
         "<Prtg>\n<Error>1</Error>\n<Text>Error 1006: Username in Profile PRD.P00 is missing...</Text>\n</Prtg>\n", 2},
        {{"GLOBAL", "KEY #"}, {{"SAP Pendrake.Gbl", listing}, {"NOUSER.P00", "Client.....: 100\n"}},
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
