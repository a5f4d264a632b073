#include "rfc/connection.h"

#include <cctype>
#include <cstdint>

#include "platform/console.h"
#include "platform/files.h"
#include "run/command_line.h"

namespace {

const char* text_or_none(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
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

int32_t system_number_value(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) value = INT32_MAX;  // out of range: held at the largest number
    }
    return static_cast<int32_t>(negative ? -value : value);
}

void fill_connection_records(ConnectionRecords& records, const ConnectionProfile& profile,
                             const ConnectionOverrides& overrides) {
    records.destination = profile.destination;
    records.client = profile.client;
    records.user = padded(profile.user, paddedUserWidth);
    records.password = padded(profile.password, paddedPasswordWidth);
    records.language = profile.language;
    records.mode = profile.mode;
    records.hostname = overrides.hasHost ? overrides.host : profile.hostname;
    records.sysnr = overrides.hasSystemNumber ? overrides.systemNumber : profile.sysnr;
    records.gwhost = profile.gwhost;
    records.gwservice = profile.gwservice;

    RfcConnectionOptions& options = records.options;
    options.destination = records.destination.c_str();
    options.client = records.client.c_str();
    options.user = records.user.c_str();
    options.password = records.password.c_str();
    options.language = records.language.c_str();
    options.trace = 0;

    records.gateway.gatewayHost = text_or_none(records.gwhost);
    records.gateway.gatewayService = text_or_none(records.gwservice);
    if (records.mode == "R/2") {
        options.mode = RFC_MODE_R2;
        options.connectionData = &records.gateway;
        return;
    }
    options.mode = RFC_MODE_R3;
    options.connectionData = &records.r3;
    records.r3.hostname = text_or_none(records.hostname);
    if (!records.sysnr.empty()) records.r3.systemNumber = system_number_value(records.sysnr);
    records.r3.gatewayHost = text_or_none(records.gwhost);
    records.r3.gatewayService = text_or_none(records.gwservice);
}

std::string connect_string(const ConnectionProfile& profile) {
    return "CLIENT=" + profile.client + " USER=" + profile.user + " PASSWD=" + profile.password +
           " LANG=D DEST=" + profile.destination;
}

RfcHandle rfc_open_connection(ConnectionRecords& records, const ConnectionProfile& profile,
                              const ConnectionOverrides& overrides) {
    fill_connection_records(records, profile, overrides);
    std::optional<std::string> configuration = read_raw_file("SapRfc." + profile.destination);
    if (!configuration) return RfcOpen(&records.options);

    write_output("* SapRfc.Ini.......: " + profile.destination + "<\n");
    // The library reads "SapRfc.ini" itself; it must never see half a copy.
    if (!replace_file("SapRfc.ini", *configuration)) return 0;
    records.connectString = connect_string(profile);
    RfcExtendedError error{};
    return RfcOpenEx(records.connectString.c_str(), &error);
}
