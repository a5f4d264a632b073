#include "failure_reason.h"

#include "text_helpers.h"

bool is_logon_refusal(const std::string& key, const std::string& message) {
    const std::string words = upper_cased(key + " " + message);
    for (const char* word : {"LOGON", "PASSWORD", "LOCKED"})
        if (words.find(word) != std::string::npos) return true;
    return false;
}

std::string library_reason(const std::string& key, const std::string& message) {
    std::string reason = key.empty() || message.empty() ? key + message : key + ": " + message;
    if (!reason.empty() && is_logon_refusal(key, message))
        reason += "; every further scan counts towards locking the SAP user";
    return reason;
}

std::string within_text_limit(const std::string& text) {
    const std::string ellipsis = "...";
    if (text.size() <= prtgTextLimit) return text;
    return text.substr(0, prtgTextLimit - ellipsis.size()) + ellipsis;
}
