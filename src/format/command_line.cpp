#include "command_line.h"

#include "text_helpers.h"

std::string item_value(const std::string& stopText, const std::string& asTyped, std::size_t start) {
    return replaced(keyword_value(stopText, asTyped, start, itemMaxLength), ':', ' ');
}

unsigned deadline_seconds(const std::string& optionString) {
    const std::string keyword = ",TIMEOUT=";
    const std::size_t at = optionString.find(keyword);
    if (at == std::string::npos) return defaultDeadlineSeconds;
    const int32_t seconds = c_integer(keyword_value(optionString, optionString, at + keyword.size(), std::string::npos),
                                      NumberOverflow::Clamp);
    return seconds > 0 ? static_cast<unsigned>(seconds) : defaultDeadlineSeconds;
}

std::optional<Invocation> parse_command_line(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::nullopt;
    Invocation invocation;
    invocation.profileName = arguments[0];
    if (arguments.size() >= 2) {
        invocation.secondArgument = arguments[1];
        invocation.optionText = arguments[1];
        if (arguments.size() >= 3) invocation.optionText += " " + arguments[2];
    }
    invocation.optionString = upper_cased(invocation.optionText);

    const std::string itemKeyword = "ITEM=";
    const std::size_t item = invocation.optionString.find(itemKeyword);
    if (item != std::string::npos) {
        invocation.itemMode = true;
        invocation.itemId = item_value(invocation.optionString, invocation.optionText, item + itemKeyword.size());
        invocation.profileName = "Pendrake.Prf";
    }
    invocation.consoleReport = invocation.optionString.find_first_of("#$%") != std::string::npos;
    invocation.deadlineSeconds = deadline_seconds(invocation.optionString);
    invocation.channels = channel_options(invocation.optionString);
    invocation.overrides = connection_overrides(invocation.optionString, invocation.optionText);
    invocation.library = library_choice(invocation.optionString);
    return invocation;
}
