// The lines of console report mode, written for a person at the console
// around the document.
#pragma once

#include <string>

#include "profile.h"

// "* hh:mm:ss SAP Wickerby Vers ..."
std::string banner_line(const std::string& timeText);

// The parameter text of the "State=Executing" line: the option text cut
// before its first '#' and its first '@', or "(No Parameters)".
std::string parameter_text(const std::string& optionText);

// The option text as the listing run shows it: ':' read as a blank, cut
// before the first " @".
std::string option_display_text(const std::string& optionText);

// "* hh:mm:ss NAME, HOST, DESTINATION, SYSNR, CLIENT"
std::string system_line(const std::string& timeText, const std::string& profileName, const ConnectionProfile& profile);

// "\n* hh:mm:ss SAP Wickerby now processed...\n", the last line of a run.
std::string processed_line(const std::string& timeText);
