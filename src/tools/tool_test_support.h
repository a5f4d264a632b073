// A stand-in for the outside world of wickerby-profile in the unit tests:
// files in a map, standard input as a list of lines.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "profile_tool.h"

struct FakeWorld {
    std::map<std::string, std::string> files;
    std::vector<std::string> inputLines;
    std::vector<std::string> prompts;
    bool terminal = false;
    bool writesFail = false;
    std::map<std::string, std::string> environment;
    std::string executableDirectory = "C:\\Tools\\";

    ToolContext context() {
        ToolContext context;
        context.fileOpens = [this](const std::string& path) { return files.count(path) > 0; };
        context.readTextFile = [this](const std::string& path) -> std::optional<std::string> {
            auto file = files.find(path);
            if (file == files.end()) return std::nullopt;
            return file->second;
        };
        context.replaceFile = [this](const std::string& path, const std::string& bytes) {
            if (writesFail) return false;
            files[path] = bytes;
            return true;
        };
        context.readSecretLine = [this](const std::string& prompt) -> std::optional<std::string> {
            prompts.push_back(prompt);
            if (inputLines.empty()) return std::nullopt;
            std::string line = inputLines.front();
            inputLines.erase(inputLines.begin());
            return line;
        };
        context.inputIsTerminal = terminal;
        context.environmentVariable = [this](const std::string& name) -> std::optional<std::string> {
            auto variable = environment.find(name);
            if (variable == environment.end()) return std::nullopt;
            return variable->second;
        };
        context.executableDirectory = executableDirectory;
        return context;
    }

    ToolOutcome run(const std::vector<std::string>& arguments) { return run_tool(arguments, context()); }
};
