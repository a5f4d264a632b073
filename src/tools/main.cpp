// wickerby-profile: the administrator's tool for the sensor's connection profiles.
#include <cstdio>

#include "environment.h"
#include "files.h"
#include "library_loader.h"
#include "profile_tool.h"
#include "secret_input.h"

int main(int argumentCount, char** arguments) {
    ToolContext context;
    context.fileOpens = file_opens;
    context.readTextFile = read_text_file;
    context.replaceFile = replace_file;
    context.inputIsTerminal = standard_input_is_terminal();
    context.environmentVariable = environment_variable;
    context.readSecretLine = [&context](const std::string& prompt) {
        if (context.inputIsTerminal) std::fputs(prompt.c_str(), stderr);
        std::optional<std::string> line = read_secret_line();
        if (context.inputIsTerminal) std::fputs("\n", stderr);
        return line;
    };
    context.write = [](const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    };
    context.sensorWorld = standard_world();
    context.executableDirectory = executable_directory();
    context.workingDirectory = working_directory_text();
    const std::vector<std::string> words(arguments + (argumentCount > 0 ? 1 : 0), arguments + argumentCount);
    const ToolOutcome outcome = run_tool(words, context);
    std::fwrite(outcome.output.data(), 1, outcome.output.size(), stdout);
    std::fwrite(outcome.errors.data(), 1, outcome.errors.size(), stderr);
    std::fflush(stdout);
    return outcome.exitCode;
}
