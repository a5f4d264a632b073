// The command line: profile name, option string and its keywords.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "run/settings.h"

// An item identification holds at most this many characters.
inline constexpr std::size_t itemMaxLength = 90;

// Upper-cases the letters a to z and nothing else.
std::string upper_cased(const std::string& text);

// A keyword is present when it occurs anywhere in the upper-cased option string.
bool has_option(const RunSettings& settings, const std::string& keyword);

// "* hh:mm:ss SAP Wickerby Vers ..."
std::string banner_line(const std::string& timeText);

// The value after a keyword: the characters of asTyped from start on, up to
// a blank or a comma in stopText (same positions), the end, or maxLength
// characters.
std::string keyword_value(const std::string& stopText, const std::string& asTyped, std::size_t start,
                          std::size_t maxLength);

// An item identification: the keyword's value with every ':' read as a blank.
std::string item_value(const std::string& stopText, const std::string& asTyped, std::size_t start);

// Fills the settings from the arguments after the program name; false when
// the profile name is missing.
bool parse_command_line(const std::vector<std::string>& arguments, RunSettings& settings);
