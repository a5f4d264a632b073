#include "credentials.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(CredentialSource, OnlyAWholeValueNamingAPrtgVariable) {
    const std::string longest = "prtg_" + std::string(53, 'x');
    const struct {
        std::string value;
        std::optional<std::string> variable;
    } cases[] = {
        {"%prtg_windowspassword%", "prtg_windowspassword"},
        {"%PRTG_LinuxUser_2%", "PRTG_LinuxUser_2"},  // Windows matches names in any case
        {"%" + longest + "%", longest},
        {"%" + longest + "x%", std::nullopt},  // longer than any other profile value
        {"%prtg_%", std::nullopt},
        {"%windowspassword%", std::nullopt},
        {"prtg_windowspassword", std::nullopt},
        {"%prtg_windowspassword", std::nullopt},
        {"%prtg_windowspassword% ", std::nullopt},
        {" %prtg_windowspassword%", std::nullopt},
        {"%prtg_windows password%", std::nullopt},
        {"%prtg_a%b%", std::nullopt},
        {"%%", std::nullopt},
        {"%", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(credential_source(c.value), c.variable) << c.value;
}

TEST(CredentialSource, DescribesTheSourceNeverTheValue) {
    EXPECT_EQ(credential_source_text("prtg_windowspassword", "s3cret"),
              "from the environment variable prtg_windowspassword, set");
    EXPECT_EQ(credential_source_text("prtg_linuxuser", ""), "from the environment variable prtg_linuxuser, empty");
    EXPECT_EQ(credential_source_text("prtg_linuxuser", std::nullopt),
              "from the environment variable prtg_linuxuser, not set");
}

ConnectionProfile profile_with(const std::string& user, const std::string& password) {
    ConnectionProfile profile;
    profile.user = user;
    profile.password = password;
    profile.client = "100";
    return profile;
}

TEST(TakeCredentials, TheVariablesValuesTakeThePlaceholdersPlace) {
    const std::map<std::string, std::string> environment = {{"prtg_windowsuser", "monitor"},
                                                            {"prtg_windowspassword", "Pa55 w0rd!"},
                                                            {"prtg_empty", ""}};
    int lookups = 0;
    const EnvironmentLookup lookup = [&](const std::string& name) -> std::optional<std::string> {
        ++lookups;
        const auto variable = environment.find(name);
        if (variable == environment.end()) return std::nullopt;
        return variable->second;
    };
    const std::string notSet = "Error 1060: PRD.P00: environment variable prtg_linuxpassword is not set; switch on "
                               "\"Set placeholders as environment values\" in the sensor's settings !";
    const std::string empty = "Error 1061: PRD.P00: environment variable prtg_empty is empty; enter the "
                              "credentials in the settings of the sensor's device !";
    const struct {
        std::string user, password;
        std::optional<std::string> message;
        std::string userAfter, passwordAfter;
        int lookups;
    } cases[] = {
        {"MONITOR", "secret", std::nullopt, "MONITOR", "secret", 0},
        {"%prtg_windowsuser%", "%prtg_windowspassword%", std::nullopt, "MONITOR", "Pa55 w0rd!", 2},
        // Only the user is upper-cased.
        {"%prtg_windowsuser%", "%prtg_windowsuser%", std::nullopt, "MONITOR", "monitor", 2},
        {"MONITOR", "%prtg_linuxpassword%", notSet, "MONITOR", "%prtg_linuxpassword%", 1},
        {"%prtg_empty%", "%prtg_linuxpassword%", empty, "%prtg_empty%", "%prtg_linuxpassword%", 1},
        {"%prtg_windowsuser%", "%prtg_empty%", empty, "MONITOR", "%prtg_empty%", 2},
    };
    for (const auto& c : cases) {
        ConnectionProfile profile = profile_with(c.user, c.password);
        lookups = 0;
        EXPECT_EQ(take_credentials(profile, lookup, "PRD.P00"), c.message) << c.user << " " << c.password;
        EXPECT_EQ(profile.user, c.userAfter);
        EXPECT_EQ(profile.password, c.passwordAfter);
        EXPECT_EQ(profile.client, "100");
        EXPECT_EQ(lookups, c.lookups) << c.user << " " << c.password;
    }
}

}  // namespace
