// The sensor's unit tests' outside world: files in a map, standard output
// in a string.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "sensor_world.h"

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
        world.readRawFile = world.readTextFile;
        world.replaceFile = [this](const std::string& path, const std::string& bytes) {
            files[path] = bytes;
            return true;
        };
        world.appendFile = [this](const std::string& path, const std::string& bytes) {
            files[path] += bytes;
            return true;
        };
        world.environmentVariable = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
        world.now = [] { return std::time_t{0}; };
        world.timeOfDay = [](std::time_t) { return std::string("12:34:56"); };
        // The simulator beside the test program: a listing's run calls the
        // library even for a system it does not connect to.
        world.loadRfcLibrary = standard_world().loadRfcLibrary;
        return world;
    }
};
