// Standard output, the local time of day and the end of the process.
#pragma once

#include <ctime>
#include <string>

// Puts standard output in the platform's text mode: on Windows every line
// feed reaches the monitor as CR LF.
void prepare_standard_output();

void write_output(const std::string& text);

// Hands what was written to standard output to the system.
void flush_output();

std::time_t current_time();

// The local time of day of a time as hh:mm:ss.
std::string time_of_day_text(std::time_t time);

// Flushes standard output and ends the process.
[[noreturn]] void end_process(int exitCode);

// Flushes standard output and ends the process at once, without the exit
// handlers, while another thread may still wait inside a library call.
[[noreturn]] void end_process_at_once(int exitCode);
