// The two system runs. Both end the process.
#pragma once

#include <string>

#include "run/settings.h"

// Measures the one system of the profile that run control opened.
[[noreturn]] void run_single_system(RunSettings& settings);

// Measures every system of the server listing, one channel each.
[[noreturn]] void run_listing(RunSettings& settings);

// The parameter text of the "State=Executing" line: the option text cut
// before its first '#' and its first '@', or "(No Parameters)".
std::string parameter_text(const std::string& optionText);

// The option text as the listing run shows it: ':' read as a blank, cut
// before the first " @".
std::string option_display_text(const std::string& optionText);

// "* hh:mm:ss NAME, HOST, DESTINATION, SYSNR, CLIENT"
struct ConnectionProfile;
std::string system_line(const std::string& timeText, const std::string& profileName,
                        const ConnectionProfile& profile);
