#include "channel_options.h"

namespace {

bool has_entry(const std::string& optionString, const std::string& entry) {
    for (std::size_t at = optionString.find(entry); at != std::string::npos; at = optionString.find(entry, at + 1)) {
        const std::size_t end = at + entry.size();
        if (end == optionString.size() || optionString[end] == ',' || optionString[end] == ' ') return true;
    }
    return false;
}

}  // namespace

ChannelOptions channel_options(const std::string& optionString) {
    ChannelOptions options;
    options.rates = has_entry(optionString, ",RATE");
    options.queueLengths = has_entry(optionString, ",QUEUES");
    options.failedSystems = has_entry(optionString, ",FAILED");
    options.reasons = has_entry(optionString, ",REASON");
    return options;
}
