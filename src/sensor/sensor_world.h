// Everything a run takes from the world or gives to it, besides the RFC
// library's operations: standard output, the files it reads or removes, the
// time of day, the environment, and the loading of the library itself. The program hands the
// real ones to the run; the tests hand their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "document.h"
#include "listing.h"
#include "system_outcome.h"

struct SensorWorld {
    // Standard output. What is written stays written: a failure report that
    // follows comes after it.
    std::function<void(const std::string& text)> write;
    // Writes the run's last words, its document, with the exit code it ends
    // with; once written, no deadline's text follows. Plain write when unset.
    std::function<void(const std::string& text, int exitCode)> writeEnding;
    // The file's contents as text mode reads them; nothing when it does not open.
    std::function<std::optional<std::string>(const std::string& windowsPath)> readTextFile;
    // The size of a regular file; nothing when it does not open.
    std::function<std::optional<std::uint64_t>(const std::string& windowsPath)> fileSize;
    // Hands the file's raw bytes over in chunks, at most byteLimit of them;
    // false when it does not open.
    std::function<bool(const std::string& windowsPath, std::uint64_t byteLimit,
                       const std::function<void(const char* data, std::size_t size)>& take)>
        readFileChunks;
    // The file's raw bytes; nothing when it does not open.
    std::function<std::optional<std::string>(const std::string& windowsPath)> readRawFile;
    // Replaces the file whole, never seen half written; false when it cannot.
    std::function<bool(const std::string& windowsPath, const std::string& bytes)> replaceFile;
    // Adds the bytes at the file's end.
    std::function<bool(const std::string& windowsPath, const std::string& bytes)> appendFile;
    // Deletes the file; a missing file is no error.
    std::function<void(const std::string& windowsPath)> removeFile;
    // The time now, and a time's local time of day as hh:mm:ss; the text is
    // made only where a console line shows it.
    std::function<std::time_t()> now;
    std::function<std::string(std::time_t)> timeOfDay;
    // Loads the RFC library and makes its operations the ones the runs
    // call; the message to show when it cannot.
    std::function<std::optional<std::string>()> loadRfcLibrary;
    // An environment variable's value, nothing when it is not set: PRTG
    // hands the device's credentials over in variables.
    std::function<std::optional<std::string>(const std::string& name)> environmentVariable;
    // Told each system's outcome as the run has it, under the name its
    // channel or message carries; the test command shows them. Nothing
    // when unset.
    std::function<void(const std::string& name, const SystemOutcome& outcome)> systemDone;
    // Told of a listing entry that the run does not open, and why; the
    // sensor itself leaves it empty and only the test command listens.
    std::function<void(const std::string& entry, const EntryCheck& check)> entryNotOpened;
    // When set, a listing with ",PARALLEL" measures its systems one after
    // another in this process, as each worker would measure its own, and
    // tells this first: the test command is no sensor that could be started
    // as a worker. The sensor leaves it empty and starts its workers.
    std::function<void()> measureInTurn;
};

// Standard output, the file system and the clock of this machine.
SensorWorld standard_world();

// Writes the document, followed by a line feed when asked.
void print_document(const SensorWorld& world, const ResultDocument& document, bool lineFeed);

// Writes the run's last words through writeEnding; returns the exit code.
int write_ending(const SensorWorld& world, const std::string& text, int exitCode);

// The common error exit: the message as the error document, printed without
// a further line feed; returns the exit code 2.
int fail_run(const SensorWorld& world, const std::string& message);

// The trace file's finding, read up to the given size in chunks, whatever
// the file's size; nothing when there was no trace file or it does not open.
std::optional<std::string> read_trace_finding(const SensorWorld& world, std::optional<std::uint64_t> size);
