// The option-string entries that change what PRTG gets: ",RATE", ",QUEUES"
// and ",FAILED" its channels, ",REASON" its texts.
#pragma once

#include <string>

struct ChannelOptions {
    bool rates = false;          // ",RATE": counter channels in PRTG's difference mode
    bool queueLengths = false;   // ",QUEUES": a single run adds each queue's length and high-water mark
    bool failedSystems = false;  // ",FAILED": a listing adds its number of failed systems, with an error limit
    bool reasons = false;        // ",REASON": a failure's text tells the library's reason
    unsigned parallel = 1;       // ",PARALLEL[=N]": a listing measures this many systems at once
};

// Host-name and system-number overrides of the option string: ",HOST=" and
// ",NO=" followed by a value up to a blank, a comma or the end.
struct ConnectionOverrides {
    bool hasHost = false;
    std::string host;
    bool hasSystemNumber = false;
    std::string systemNumber;
};

// The overrides of an upper-cased option string, their values taken in
// the case the option text gives them.
ConnectionOverrides connection_overrides(const std::string& optionString, const std::string& optionText);

// Which RFC library the run talks through: ",LIBRARY=CLASSIC" librfc32,
// ",LIBRARY=NWRFC" SAP's NetWeaver library; without either, librfc32 where
// there is one and the NetWeaver library otherwise.
enum class LibraryChoice { either, classic, netWeaver };
LibraryChoice library_choice(const std::string& optionString);

// ",PARALLEL" without a number, and the most it may be.
inline constexpr unsigned defaultParallel = 8;
inline constexpr unsigned maxParallel = 32;

// The entries of an upper-cased option string. An entry counts only when a
// comma, a blank or the end follows it, so ",RATES" is not ",RATE".
ChannelOptions channel_options(const std::string& optionString);
