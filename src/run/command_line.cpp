#include "run/command_line.h"

std::string upper_cased(const std::string& text) {
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool has_option(const RunSettings& settings, const std::string& keyword) {
    return settings.optionString.find(keyword) != std::string::npos;
}

std::string banner_line(const std::string& timeText) {
    return "* " + timeText + " SAP " + programName + " " + programVersion;
}

std::string keyword_value(const std::string& stopText, const std::string& asTyped, std::size_t start,
                          std::size_t maxLength) {
    std::string value;
    for (std::size_t i = start; i < stopText.size() && i < asTyped.size() && value.size() < maxLength; ++i) {
        if (stopText[i] == ' ' || stopText[i] == ',') break;
        value += asTyped[i];
    }
    return value;
}

std::string item_value(const std::string& stopText, const std::string& asTyped, std::size_t start) {
    std::string value = keyword_value(stopText, asTyped, start, itemMaxLength);
    for (char& c : value)
        if (c == ':') c = ' ';
    return value;
}

bool parse_command_line(const std::vector<std::string>& arguments, RunSettings& settings) {
    if (arguments.empty()) return false;
    settings.profileName = arguments[0];
    settings.optionText.clear();
    if (arguments.size() >= 2) {
        settings.secondArgument = arguments[1];
        settings.optionText = arguments[1];
        if (arguments.size() >= 3) settings.optionText += " " + arguments[2];
    }
    settings.optionString = upper_cased(settings.optionText);

    const std::string itemKeyword = "ITEM=";
    std::size_t item = settings.optionString.find(itemKeyword);
    if (item != std::string::npos) {
        settings.listingMode = true;
        settings.itemId = item_value(settings.optionString, settings.optionText, item + itemKeyword.size());
        settings.profileName = "Pendrake.Prf";
    }
    settings.consoleReport = settings.optionString.find_first_of("#$%") != std::string::npos;
    return true;
}
