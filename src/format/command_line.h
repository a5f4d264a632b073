// The command line: profile name, option string and its keywords.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "channel_options.h"

// An item identification holds at most this many characters.
inline constexpr std::size_t itemMaxLength = 90;
// The run's own deadline, below PRTG's default timeout of 60 seconds, unless
// ",TIMEOUT=" sets another.
inline constexpr unsigned defaultDeadlineSeconds = 50;

// What PRTG asked for, as the command line says it; read once at start-up.
struct Invocation {
    std::string profileName;                            // the first argument, or "Pendrake.Prf" with ITEM=
    std::string optionText;                             // the second and third argument, as typed
    std::string optionString;                           // the same, upper-cased; keywords are looked for here
    std::string secondArgument;                         // as typed, named by Error 1030
    bool itemMode = false;                              // ITEM= was given: a run over the profile list
    std::string itemId;                                 // the value of ITEM=
    bool consoleReport = false;                         // '#', '$' or '%' in the option string
    unsigned deadlineSeconds = defaultDeadlineSeconds;  // ",TIMEOUT=" seconds
    ChannelOptions channels;                            // ",RATE", ",QUEUES", ",FAILED", ",REASON", ",PARALLEL"
    ConnectionOverrides overrides;                      // ",HOST=", ",NO="
    LibraryChoice library = LibraryChoice::either;      // ",LIBRARY="
};

// Takes the arguments after the program name apart; nothing when the profile
// name is missing.
std::optional<Invocation> parse_command_line(const std::vector<std::string>& arguments);

// The seconds of ",TIMEOUT=": the value up to a blank, a comma or the end;
// the default when there is none or it is not a positive number.
unsigned deadline_seconds(const std::string& optionString);

// An item identification: the keyword's value with every ':' read as a blank.
std::string item_value(const std::string& stopText, const std::string& asTyped, std::size_t start);
