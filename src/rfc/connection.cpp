#include "connection.h"

#include <algorithm>

#include "failure_report.h"
#include "messages.h"
#include "own_configuration.h"
#include "rfc_loader.h"
#include "text_helpers.h"

namespace {

const char* text_or_none(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::optional<std::string> host_override_refusal(const ConnectionOverrides& overrides, const ConnectionProfile& profile,
                                                 const std::string& profileName) {
    if (!overrides.hasHost || overrides.host.empty() || allows_host(profile, overrides.host)) return std::nullopt;
    return host_not_allowed_message(profileName, overrides.host);
}

std::optional<std::string> system_number_override_refusal(const ConnectionOverrides& overrides,
                                                          const std::string& profileName) {
    const std::string& value = overrides.systemNumber;
    const bool digits = value.find_first_not_of("0123456789") == std::string::npos;
    if (!overrides.hasSystemNumber || value.empty() || (digits && value.size() <= 2)) return std::nullopt;
    return system_number_not_valid_message(profileName, value);
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
    if (!records.sysnr.empty()) records.r3.systemNumber = c_integer(records.sysnr, NumberOverflow::Clamp);
    records.r3.gatewayHost = text_or_none(records.gwhost);
    records.r3.gatewayService = text_or_none(records.gwservice);
}

std::string connect_string(const ConnectionProfile& profile) {
    return "CLIENT=" + profile.client + " USER=" + profile.user + " PASSWD=" + profile.password +
           " LANG=D DEST=" + profile.destination;
}

namespace {

std::string without_padding(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> netweaver_parameters(const ConnectionRecords& records,
                                                                      bool configured) {
    std::vector<std::pair<std::string, std::string>> parameters;
    const auto add = [&parameters](const char* name, const std::string& value) {
        if (!value.empty()) parameters.emplace_back(name, value);
    };
    if (configured) {
        add("DEST", records.destination);
    } else if (records.mode == "R/2") {
        add("GWHOST", records.gwhost);
        add("GWSERV", records.gwservice);
        add("SYSID", records.destination);
    } else {
        add("ASHOST", records.hostname);
        const int32_t number = records.r3.systemNumber;
        add("SYSNR", std::string(number >= 0 && number < 10 ? "0" : "") + std::to_string(number));
        add("GWHOST", records.gwhost);
        add("GWSERV", records.gwservice);
        add("SYSID", records.destination);
    }
    add("CLIENT", records.client);
    add("USER", without_padding(records.user));
    add("PASSWD", without_padding(records.password));
    // A configured destination logs on in German, as its connect string says.
    add("LANG", configured ? std::string("D") : records.language);
    return parameters;
}

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string netweaver_configuration(const std::string& classic, const std::string& destination) {
    std::string entry;
    bool inEntry = false;
    bool found = false;
    for (std::size_t start = 0; start < classic.size();) {
        const std::size_t end = std::min(classic.find('\n', start), classic.size());
        const std::string line = classic.substr(start, end - start + (end < classic.size() ? 1 : 0));
        start = end + 1;
        const std::string text = trimmed(line);
        const std::size_t equals = text.find('=');
        const std::string key =
            equals == std::string::npos ? std::string() : upper_cased(trimmed(text.substr(0, equals)));
        if (key == "DEST") {
            inEntry = trimmed(text.substr(equals + 1)) == destination;
            found = found || inEntry;
        }
        const bool comment = !text.empty() && (text[0] == '*' || text[0] == '#');
        if (inEntry && !text.empty() && !comment && key != "TYPE") entry += line;
    }
    return found ? entry : classic;
}

std::string destination_configuration_name(const std::string& destination) {
    return "SapRfc." + destination;
}

namespace {

RfcHandle open_configured(RfcSession& session, const ConnectionProfile& profile, const std::string& configuration,
                          const std::function<bool(const std::string& bytes)>& writeConfiguration) {
    // The library reads the run's own copy, which RFC_INI names; the working
    // directory's file is replaced all the same.
    if (!writeConfiguration(configuration)) {
        session.openProblem = std::string("RfcOpenEx not called: ") + configurationFileName +
                              " cannot be written in the working directory";
        return 0;
    }
    if (const std::optional<std::string> problem = write_own_configuration(configuration)) {
        session.openProblem = "RfcOpenEx not called: " + *problem;
        return 0;
    }
    session.records.connectString = connect_string(profile);
    RfcExtendedError error{};
    const WaitingIn waiting(session, "RfcOpenEx");
    return rfc_operations().RfcOpenEx(session.records.connectString.c_str(), &error);
}

}  // namespace

RfcHandle classic_open_connection(RfcSession& session, const ConnectionProfile& profile,
                                  const ConnectionOverrides& overrides, const std::optional<std::string>& configuration,
                                  const std::function<bool(const std::string& bytes)>& writeConfiguration) {
    fill_connection_records(session.records, profile, overrides);
    session.openProblem.clear();
    if (configuration) return open_configured(session, profile, *configuration, writeConfiguration);
    const WaitingIn waiting(session, "RfcOpen");
    return rfc_operations().RfcOpen(&session.records.options);
}

void classic_close_connection(RfcSession& session, RfcHandle handle) {
    const WaitingIn waiting(session, "RfcClose");
    rfc_operations().RfcClose(handle);
}
