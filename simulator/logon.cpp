#include "logon.h"

#include <cctype>

namespace rfcsim {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool check_holds(const std::optional<std::string>& expected, std::string_view passed) {
    while (!passed.empty() && passed.back() == ' ') passed.remove_suffix(1);
    return !expected || *expected == passed;
}

}  // namespace

bool logon_holds(const SystemScenario& system, const LogonValues& passed) {
    return check_holds(system.client, passed.client) && check_holds(system.user, passed.user) &&
           check_holds(system.password, passed.password);
}

ConnectString parse_connect_string(std::string_view text) {
    ConnectString result;
    while (!text.empty()) {
        std::size_t end = text.find(' ');
        std::string_view word = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::size_t equals = word.find('=');
        if (equals == std::string_view::npos) continue;
        std::string key = upper(word.substr(0, equals));
        std::string value(word.substr(equals + 1));
        if (key == "CLIENT") result.logon.client = value;
        else if (key == "USER") result.logon.user = value;
        else if (key == "PASSWD") result.logon.password = value;
        else if (key == "LANG") result.language = value;
        else if (key == "DEST") result.destination = value;
    }
    return result;
}

bool ini_names_destination(std::string_view iniText, std::string_view destination) {
    while (!iniText.empty()) {
        std::size_t end = iniText.find('\n');
        std::string_view line = iniText.substr(0, end);
        iniText.remove_prefix(end == std::string_view::npos ? iniText.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (upper(trim(line.substr(0, equals))) == "DEST" && trim(line.substr(equals + 1)) == destination) return true;
    }
    return false;
}

}  // namespace rfcsim
