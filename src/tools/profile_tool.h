// wickerby-profile, the administrator's tool: writes connection profiles with
// a scrambled password, checks a profile the way the sensor finds and reads
// it, and prints the stored form of a password. The commands take their
// arguments and the outside world through ToolContext and return what to
// print, so that main alone does the I/O.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sensor_world.h"

struct ToolContext {
    std::function<bool(const std::string& windowsPath)> fileOpens;
    std::function<std::optional<std::string>(const std::string& windowsPath)> readTextFile;
    std::function<bool(const std::string& windowsPath, const std::string& bytes)> replaceFile;
    // One line of standard input; the prompt is shown, and the input
    // hidden, only at a terminal.
    std::function<std::optional<std::string>(const std::string& prompt)> readSecretLine;
    bool inputIsTerminal = false;
    // An environment variable's value in the tool's own environment, which
    // lacks the ones PRTG sets for the sensor alone.
    std::function<std::optional<std::string>(const std::string& name)> environmentVariable;
    // The test command: standard output as it goes, and the sensor's world.
    std::function<void(const std::string& text)> write;
    SensorWorld sensorWorld;
    // The directory of the tool's own file, with its trailing separator;
    // empty when the system does not tell it.
    std::string executableDirectory;
    // The working directory's full path, with its trailing separator, for
    // the paths check names; empty when the system does not tell it.
    std::string workingDirectory;
};

struct ToolOutcome {
    std::string output;  // for standard output
    std::string errors;  // for standard error
    int exitCode = 0;
};

// Bad usage and every refusal end with this exit code, as in the sensor.
inline constexpr int toolFailure = 2;

// Where the tool sends a person who has met an error.
inline constexpr const char* errorReferenceLine =
    "ERRORS.md, beside wickerby-profile.exe, explains every message and what to do.\n";

// Used when --extcompany is not given.
inline constexpr const char* defaultExtcompany = "Wickerby";

// The whole tool: the arguments after the program name.
ToolOutcome run_tool(const std::vector<std::string>& arguments, const ToolContext& context);

// The commands: the arguments after the command's name.
ToolOutcome run_create(const std::vector<std::string>& arguments, const ToolContext& context);
ToolOutcome run_check(const std::vector<std::string>& arguments, const ToolContext& context);
ToolOutcome run_scramble(const std::vector<std::string>& arguments, const ToolContext& context);
// Runs the sensor and prints what it does as it goes, through context.write.
ToolOutcome run_test(const std::vector<std::string>& arguments, const ToolContext& context);

// One line of advice for a library error's key and message; empty when
// there is none for it.
std::string failure_advice(const std::string& key, const std::string& message);

// A destination's configuration file as the test command shows it: its
// lines joined by commas, without comments and without any line that the
// library reads as the password.
std::string configuration_text(const std::string& configuration);

// The help texts of the tool and its commands.
std::string tool_help();
std::string create_help();
std::string check_help();
std::string scramble_help();
std::string test_help();

// Shared by the commands.
ToolOutcome usage_failure(const std::string& command, const std::string& message);
bool asks_for_help(const std::vector<std::string>& arguments);
// "refused: REASON; ...": what check and test tell of a listing entry that
// the sensor refuses to open.
std::string refused_entry_text(const std::string& reason);

// A command that writes a file refuses to from a folder whose programs PRTG
// offers to its users, who could have it rewrite profiles: the refusal, or
// nothing when the tool lies elsewhere.
std::optional<ToolOutcome> refusal_in_program_folder(const std::string& command, const ToolContext& context);

// Reads a new password: once from a pipe or file, twice at a terminal.
// Empty, with a message in `problem`, when none was read.
std::optional<std::string> read_new_password(const ToolContext& context, std::string& problem);
