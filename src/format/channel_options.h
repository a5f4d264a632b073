// The option-string entries that change what PRTG gets: ",RATE", ",QUEUES"
// and ",FAILED" its channels, ",REASON" its texts.
#pragma once

#include <string>

struct ChannelOptions {
    bool rates = false;          // ",RATE": counter channels in PRTG's difference mode
    bool queueLengths = false;   // ",QUEUES": a single run adds each queue's length and high-water mark
    bool failedSystems = false;  // ",FAILED": a listing adds its number of failed systems, with an error limit
    bool reasons = false;        // ",REASON": a failure's text tells the library's reason
};

// The entries of an upper-cased option string. An entry counts only when a
// comma, a blank or the end follows it, so ",RATES" is not ",RATE".
ChannelOptions channel_options(const std::string& optionString);
