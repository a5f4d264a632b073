// The program's entry: the start-up order from the command line to the
// hand-over to a system run, and the common error exit.
#pragma once

#include <string>

// The common error exit: prints the error document with the message and ends
// the process with exit code 2.
[[noreturn]] void fail_run(const std::string& message);

// Runs the sensor for the arguments after the program name; never returns.
[[noreturn]] void run_sensor(int argumentCount, char** arguments);
