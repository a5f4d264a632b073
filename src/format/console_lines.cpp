#include "console_lines.h"

#include "messages.h"
#include "text_helpers.h"

std::string banner_line(const std::string& timeText) {
    return "* " + timeText + " SAP " + programName + " " + programVersion;
}

std::string parameter_text(const std::string& optionText) {
    std::string text = optionText.substr(0, optionText.find('#'));
    text = text.substr(0, text.find('@'));
    if (text.empty() || text == "(Parameters " || text == "(No ") return "(No Parameters)";
    return text;
}

std::string option_display_text(const std::string& optionText) {
    const std::string text = replaced(optionText, ':', ' ');
    return text.substr(0, text.find(" @"));
}

std::string system_line(const std::string& timeText, const std::string& profileName, const ConnectionProfile& profile) {
    return "* " + timeText + " " + profileName + ", " + profile.hostname + ", " + profile.destination + ", " +
           profile.sysnr + ", " + profile.client;
}

std::string processed_line(const std::string& timeText) {
    return "\n* " + timeText + " SAP " + programName + " now processed...\n";
}
