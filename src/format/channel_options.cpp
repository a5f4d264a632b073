#include "channel_options.h"

#include "text_helpers.h"

namespace {

bool has_entry(const std::string& optionString, const std::string& entry) {
    for (std::size_t at = optionString.find(entry); at != std::string::npos; at = optionString.find(entry, at + 1)) {
        const std::size_t end = at + entry.size();
        if (end == optionString.size() || optionString[end] == ',' || optionString[end] == ' ') return true;
    }
    return false;
}

// ",PARALLEL" alone, or ",PARALLEL=N" with N from 1 to 32 (a larger one
// is 32, 0 is 1); 1 when it is not there.
unsigned parallel_entry(const std::string& optionString) {
    if (has_entry(optionString, ",PARALLEL")) return defaultParallel;
    const std::string keyword = ",PARALLEL=";
    for (std::size_t at = optionString.find(keyword); at != std::string::npos;
         at = optionString.find(keyword, at + 1)) {
        std::size_t end = at + keyword.size();
        unsigned value = 0;
        while (end < optionString.size() && optionString[end] >= '0' && optionString[end] <= '9') {
            if (value < maxParallel) value = value * 10 + static_cast<unsigned>(optionString[end] - '0');
            ++end;
        }
        const bool digits = end > at + keyword.size();
        if (digits && (end == optionString.size() || optionString[end] == ',' || optionString[end] == ' '))
            return value > maxParallel ? maxParallel : (value == 0 ? 1 : value);
    }
    return 1;
}

void find_override(const std::string& optionString, const std::string& optionText, const std::string& keyword,
                   bool& present, std::string& value) {
    std::size_t at = optionString.find(keyword);
    present = at != std::string::npos;
    if (present) value = keyword_value(optionString, optionText, at + keyword.size(), std::string::npos);
}

}  // namespace

ConnectionOverrides connection_overrides(const std::string& optionString, const std::string& optionText) {
    ConnectionOverrides overrides;
    find_override(optionString, optionText, ",HOST=", overrides.hasHost, overrides.host);
    find_override(optionString, optionText, ",NO=", overrides.hasSystemNumber, overrides.systemNumber);
    return overrides;
}

ChannelOptions channel_options(const std::string& optionString) {
    ChannelOptions options;
    options.rates = has_entry(optionString, ",RATE");
    options.queueLengths = has_entry(optionString, ",QUEUES");
    options.failedSystems = has_entry(optionString, ",FAILED");
    options.reasons = has_entry(optionString, ",REASON");
    options.parallel = parallel_entry(optionString);
    return options;
}

LibraryChoice library_choice(const std::string& optionString) {
    // Of several entries the last counts; another value chooses nothing.
    LibraryChoice choice = LibraryChoice::either;
    const std::string keyword = ",LIBRARY=";
    for (std::size_t at = optionString.find(keyword); at != std::string::npos;
         at = optionString.find(keyword, at + 1)) {
        const std::size_t start = at + keyword.size();
        const std::string value = optionString.substr(start, optionString.find_first_of(", ", start) - start);
        if (value == "CLASSIC") choice = LibraryChoice::classic;
        if (value == "NWRFC") choice = LibraryChoice::netWeaver;
    }
    return choice;
}
