#include "profile_tool.h"

#include "password.h"
#include "profile.h"
#include "sensor_folder.h"
#include "wickerby_version.h"

namespace {

const char* const storedPasswordWarning =
    "The stored password is scrambled, not encrypted: whoever can read a profile\n"
    "can recover its password. Protect profile files with the file system's\n"
    "permissions.\n";

// "  --destination D    3 to 11 characters" for each field the command line sets.
std::string field_option_lines() {
    std::string lines;
    for (const ProfileField& field : profileFields) {
        if (field.value == &ConnectionProfile::password) continue;
        std::string option = "  --" + std::string(field.name) + " VALUE";
        option.resize(26, ' ');
        lines += option + std::to_string(field.minLength) + " to " + std::to_string(field.maxLength) + " characters";
        if (field.value == &ConnectionProfile::extcompany)
            lines += std::string(", optional: \"") + defaultExtcompany + "\" when omitted";
        if (field.value == &ConnectionProfile::user) lines += ", written upper-cased as the sensor reads it";
        lines += "\n";
    }
    return lines;
}

}  // namespace

std::string tool_help() {
    return std::string("Usage: wickerby-profile COMMAND [ARGUMENTS]\n"
                       "Writes and checks the connection profiles of the Wickerby sensor.\n"
                       "\n"
                       "Commands:\n"
                       "  create FILE OPTIONS       write a profile; the password comes from standard input\n"
                       "                            or from PRTG (--password-from-prtg)\n"
                       "  check NAME [OPTION-STRING] find and read a profile as the sensor does\n"
                       "  scramble                  print the stored form of a password read from standard input\n"
                       "  test NAME [OPTION-STRING] run the sensor and tell each step, logging on to SAP\n"
                       "\n"
                       "'wickerby-profile COMMAND --help' describes a command;\n"
                       "'wickerby-profile --version' prints the version.\n"
                       "\n") +
           storedPasswordWarning;
}

std::string create_help() {
    return "Usage: wickerby-profile create FILE --destination D --client C --user U --language L\n"
           "         --mode M --hostname H --sysnr N --gwhost G --gwservice S [--extcompany T] [--force]\n"
           "         [--user-from-prtg VARIABLE] [--password-from-prtg VARIABLE] [--allow-host H]...\n"
           "Writes the connection profile FILE (a path as Windows writes it; the sensor\n"
           "adds \".P00\" to a profile name without an extension). Each value is checked\n"
           "against the length the sensor accepts:\n" +
           field_option_lines() +
           "  --force                 replace an existing FILE\n"
           "  --allow-host H          a host that a sensor's \",HOST=H\" may connect this\n"
           "                          profile to (an \"Allowedhost:\" line); repeatable.\n"
           "                          Without it no \",HOST=\" value is used\n"
           "  --user-from-prtg VARIABLE\n"
           "                          instead of --user: the sensor takes the user from\n"
           "                          PRTG's variable VARIABLE, e.g. prtg_windowsuser\n"
           "  --password-from-prtg VARIABLE\n"
           "                          the sensor takes the password from PRTG's variable\n"
           "                          VARIABLE, e.g. prtg_windowspassword; none is read\n"
           "The password, 2 to 20 printable ASCII characters, is read from standard input\n"
           "(asked twice, without echo, at a terminal) and stored scrambled. The file is\n"
           "written through a temporary file and a rename, so a failure leaves no half\n"
           "profile. Exit code 0 when written, 2 otherwise. Nothing is written while the tool\n"
           "lies in Custom Sensors\\EXE or Custom Sensors\\EXEXML, whose programs PRTG runs for\n"
           "every user who may add sensors.\n"
           "With --user-from-prtg or --password-from-prtg the profile holds \"%VARIABLE%\"\n"
           "in place of that value. PRTG passes the credentials of the sensor's device in\n"
           "variables beginning \"prtg_\" (prtg_windowsuser, prtg_windowspassword,\n"
           "prtg_linuxuser, prtg_linuxpassword) when the sensor's setting \"Set\n"
           "placeholders as environment values\" is on.\n" +
           storedPasswordWarning;
}

std::string check_help() {
    return "Usage: wickerby-profile check NAME [OPTION-STRING]\n"
           "Looks for the profile NAME as the sensor does: \".P00\" added to a name without\n"
           "an extension, the directory part dropped, then the directory of the path file\n"
           "C:\\PRTG_Path.Txt and its sub-paths, or, without a path file, the working\n"
           "directory and the fixed PRTG directories. Prints every path tried and the one\n"
           "found, then the profile's fields (of the password only whether there is one,\n"
           "never its length; a User or Password taken from PRTG's environment variable\n"
           "only as that variable's name and whether it is set here, where PRTG does not\n"
           "set it), and ends with \"OK\" or the message the sensor would give.\n"
           "With NAME GLOBAL and a sensor key, or an option string with ITEM=, it reads\n"
           "the listing as the sensor does instead: the sensor key, the allocation text,\n"
           "the item and the label kind, then each system's profile in order (found and\n"
           "valid, missing, refused as it leads out of the sensor directory, or the\n"
           "message it fails with), and warns when the listing has more than 50 systems,\n"
           "as PRTG does not officially support more than 50 channels per sensor. A\n"
           "profile without a User, Password, Gwhost or Gwservice line takes the value of\n"
           "a profile before it in the listing, as the sensor keeps them from one system\n"
           "to the next; each such value is named on standard error. When the sensor key\n"
           "has no allocation line, the sensor keys that the global listing holds are\n"
           "listed.\n"
           "Before the last line it loads the RFC library the sensor would load for the\n"
           "option string and names it, its version and its file; it does not log on.\n"
           "Exit code 0 when the sensor would run (\"OK\"), 2 otherwise.\n";
}

std::string scramble_help() {
    return std::string("Usage: wickerby-profile scramble\n"
                       "Reads one password line (printable ASCII, at most 20 characters) from\n"
                       "standard input and prints its stored form, the value of a profile's\n"
                       "\"Password...:\" line: 24 characters and a line feed. Exit code 0, or 2 when the\n"
                       "password cannot be stored.\n") +
           storedPasswordWarning;
}

ToolOutcome usage_failure(const std::string& command, const std::string& message) {
    ToolOutcome outcome;
    const std::string program = command.empty() ? "wickerby-profile" : "wickerby-profile " + command;
    outcome.errors = program + ": " + message + "\nTry '" + program + " --help'.\n";
    outcome.exitCode = toolFailure;
    return outcome;
}

std::string refused_entry_text(const std::string& reason) {
    return "refused: " + reason + "; the sensor counts it as failed without opening it";
}

bool asks_for_help(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument == "--help") return true;
    return false;
}

std::optional<ToolOutcome> refusal_in_program_folder(const std::string& command, const ToolContext& context) {
    const std::string& directory = context.executableDirectory;
    const std::string refused = "wickerby-profile " + command + ": refused: ";
    if (directory.empty())
        return ToolOutcome{"",
                           refused + "the system does not tell which folder this program lies in, and from Custom "
                                     "Sensors\\EXE or Custom Sensors\\EXEXML it writes nothing\n",
                           toolFailure};
    if (!is_prtg_program_folder(directory)) return std::nullopt;
    return ToolOutcome{"",
                       refused + "this program lies in " + directory +
                           ", a folder whose programs every PRTG user who may add sensors can run; move it out of "
                           "Custom Sensors\\EXE and Custom Sensors\\EXEXML, for example to a folder tools beside "
                           "Custom Sensors, and run it from there\n",
                       toolFailure};
}

std::optional<std::string> read_new_password(const ToolContext& context, std::string& problem) {
    std::optional<std::string> password = context.readSecretLine("Password: ");
    if (!password) {
        problem = "no password on standard input";
        return std::nullopt;
    }
    if (context.inputIsTerminal) {
        std::optional<std::string> again = context.readSecretLine("Password again: ");
        if (!again || *again != *password) {
            problem = "the two passwords differ";
            return std::nullopt;
        }
    }
    return password;
}

ToolOutcome run_scramble(const std::vector<std::string>& arguments, const ToolContext& context) {
    if (asks_for_help(arguments)) return {scramble_help(), "", 0};
    if (!arguments.empty()) return usage_failure("scramble", "unexpected argument '" + arguments.front() + "'");
    std::string problem;
    std::optional<std::string> password = read_new_password(context, problem);
    if (!password) return {"", "wickerby-profile scramble: " + problem + "\n", toolFailure};
    if (!is_storable_password(*password))
        return {"", "wickerby-profile scramble: a password has at most 20 printable ASCII characters\n", toolFailure};
    std::optional<std::string> stored = scramble_password(*password);
    if (!stored)
        return {"", "wickerby-profile scramble: this password has no printable stored form; choose another\n",
                toolFailure};
    return {*stored + "\n", "", 0};
}

ToolOutcome run_tool(const std::vector<std::string>& arguments, const ToolContext& context) {
    if (arguments.empty()) return usage_failure("", "a command is missing");
    const std::string& command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "--help" || command == "help") return {tool_help(), "", 0};
    if (command == "--version") {
        if (!rest.empty()) return usage_failure("", "unexpected argument '" + rest.front() + "'");
        return {std::string("wickerby-profile ") + WICKERBY_VERSION + "\n", "", 0};
    }
    if (command == "create") return run_create(rest, context);
    if (command == "check") return run_check(rest, context);
    if (command == "scramble") return run_scramble(rest, context);
    if (command == "test") return run_test(rest, context);
    return usage_failure("", "unknown command '" + command + "'");
}
