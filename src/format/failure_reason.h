// The reason of a failure in words PRTG can show, for ",REASON": what the
// RFC library said when it refused, and what follows from it.
#pragma once

#include <cstddef>
#include <string>

// PRTG keeps at most this many characters of a sensor's text.
inline constexpr std::size_t prtgTextLimit = 2000;

// True when the library's key or message says that SAP refused the logon
// itself (user, password, client, a locked user).
bool is_logon_refusal(const std::string& key, const std::string& message);

// "KEY: message" as the library's last error gives them (either alone when
// the other is empty), and for a refused logon the warning that every
// further scan counts towards locking the SAP user. Empty when both are.
std::string library_reason(const std::string& key, const std::string& message);

// The text cut to PRTG's limit, its end replaced by "..." when cut.
std::string within_text_limit(const std::string& text);
