#include "profile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "secret" and "Pa55 w0rd!" in stored form; a bad form; a failed check.
const std::string storedSecret = "?287tamr]JyI`d5gY)xU&bf`";
const std::string storedPassword = "6291W7(1}v>Cj)I}S]b;ga!d";
const std::string badForm = storedSecret + " ";
const std::string failedCheck = "?793Glka/>ogzKCgz}1,\x7f"
                                "eaw";

const std::string validFile = "Extcompany.: Wickerby\n"
                              "Destination: PRD\n"
                              "Client.....: 100\n"
                              "User.......: monitor\n"
                              "Password...: " +
                              storedSecret +
                              "\n"
                              "Language...: E\n"
                              "Mode.......: R/3\n"
                              "Hostname...: sapprd01\n"
                              "Sysnr......: 00\n"
                              "Gwhost.....: sapprd01\n"
                              "Gwservice..: sapgw00\n";

ConnectionProfile read(const std::string& contents, std::size_t width = singleRunLineWidth) {
    ConnectionProfile profile;
    EXPECT_EQ(read_profile(contents, width, PasswordFailureMode::EndRun, "PRD.P00", profile), std::nullopt);
    return profile;
}

TEST(ReadProfile, ValidFileFillsEveryField) {
    ConnectionProfile profile = read(validFile);
    EXPECT_EQ(profile.extcompany, "Wickerby");
    EXPECT_EQ(profile.destination, "PRD");
    EXPECT_EQ(profile.client, "100");
    EXPECT_EQ(profile.user, "MONITOR");
    EXPECT_EQ(profile.password, "secret");
    EXPECT_EQ(profile.language, "E");
    EXPECT_EQ(profile.mode, "R/3");
    EXPECT_EQ(profile.hostname, "sapprd01");
    EXPECT_EQ(profile.sysnr, "00");
    EXPECT_EQ(profile.gwhost, "sapprd01");
    EXPECT_EQ(profile.gwservice, "sapgw00");
    EXPECT_EQ(validate_profile(profile, "PRD.P00"), std::nullopt);
}

TEST(ReadProfile, KeysAndValues) {
    const struct {
        std::string contents;
        std::string client;
    } cases[] = {
        {"Client.....: 100 \n", "100 "},                // no trimming
        {"Client.....:  100\n", " 100"},                // only the 13th character is skipped
        {"Client.....:x100\n", "100"},                  // whatever stands in column 13
        {"client.....: 100\n", "keep"},                 // keys are case-sensitive
        {"Client....: 100\n", "keep"},                  // and exactly 12 characters
        {" Client.....: 100\n", "keep"},                // starting in column 1
        {"Client.....:\n", ""},                         // empties the field
        {"Client.....: \n", ""},                        // 13 characters: still empty
        {"Client.....: 100\r", "100"},                  // a carriage return ending the file
        {"Client.....: 100\nClient.....: 200", "200"},  // last line wins, no final line feed
        {"Client.....: a\rb\n", "a\rb"},                // an inner carriage return stays
    };
    for (const auto& c : cases) {
        ConnectionProfile profile;
        profile.client = "keep";
        read_profile(c.contents, singleRunLineWidth, PasswordFailureMode::EndRun, "PRD.P00", profile);
        EXPECT_EQ(profile.client, c.client) << c.contents;
    }
}

TEST(ReadProfile, UserIsUpperCasedOnlyInAsciiLetters) {
    EXPECT_EQ(read("User.......: sap_user-1\xe4\n").user, "SAP_USER-1\xe4");
}

TEST(ReadProfile, FieldsNotInTheFileKeepTheirValues) {
    ConnectionProfile profile;
    profile.hostname = "earlier";
    read_profile("Client.....: 100\n", singleRunLineWidth, PasswordFailureMode::EndRun, "A.P00", profile);
    EXPECT_EQ(profile.hostname, "earlier");
    read_profile("", singleRunLineWidth, PasswordFailureMode::EndRun, "A.P00", profile);
    EXPECT_EQ(profile.client, "100");
}

TEST(ReadProfile, LongLinesAreReadInPiecesOfTheLineWidth) {
    // A 120-character comment: the second piece begins with a key only when
    // the comment puts one at column 100.
    const std::string comment = std::string(99, '*') + "Hostname...: hidden";
    EXPECT_EQ(read(comment + "\n").hostname, "hidden");
    EXPECT_EQ(read(comment + "\n", listingRunLineWidth).hostname, "");
    // A value is never cut: a 150-character host stays whole in the wider reading.
    const std::string longHost(150, 'h');
    EXPECT_EQ(read("Hostname...: " + longHost + "\n", listingRunLineWidth).hostname, longHost);
    EXPECT_EQ(read("Hostname...: " + longHost + "\n").hostname, std::string(99 - 13, 'h'));
}

TEST(ReadProfile, PasswordLines) {
    EXPECT_EQ(read("Password...: " + storedPassword + "\n").password, "Pa55 w0rd!");
    EXPECT_EQ(read("Password...: " + storedSecret + "\nPassword...:\n").password, "");
    EXPECT_EQ(read("Password...: " + storedSecret + "\nPassword...: " + storedPassword + "\n").password, "Pa55 w0rd!");
}

// A value that names PRTG's variable is kept as written for the variable's
// value to take its place; anything else is read as it always was.
TEST(ReadProfile, ValuesNamingPrtgVariablesStayAsWritten) {
    ConnectionProfile profile = read("User.......: %prtg_windowsUser%\nPassword...: %prtg_windowspassword%\n");
    EXPECT_EQ(profile.user, "%prtg_windowsUser%");
    EXPECT_EQ(profile.password, "%prtg_windowspassword%");
    profile = ConnectionProfile{};
    EXPECT_EQ(read_profile("User.......: %windowsuser%\nPassword...: %windowspassword%\n", singleRunLineWidth,
                           PasswordFailureMode::EndRun, "PRD.P00", profile),
              "Error 1004: Invalid Password in Profile PRD.P00 found...");
    EXPECT_EQ(profile.user, "%WINDOWSUSER%");
}

TEST(ReadProfile, BadPasswordEndsTheSingleRunAtOnce) {
    const struct {
        std::string stored;
        std::string message;
    } cases[] = {
        {badForm, "Error 1004: Invalid Password in Profile PRD.P00 found..."},
        {storedSecret.substr(0, 23), "Error 1004: Invalid Password in Profile PRD.P00 found..."},
        {failedCheck, "Error 1005: Wrong Password in Profile PRD.P00 found..."},
    };
    for (const auto& c : cases) {
        ConnectionProfile profile;
        const std::optional<std::string> message =
            read_profile("User.......: a\nPassword...: " + c.stored + "\nClient.....: 100\n" +
                             "Password...: " + storedSecret + "\n",
                         singleRunLineWidth, PasswordFailureMode::EndRun, "PRD.P00", profile);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(profile.user, "A");
        EXPECT_EQ(profile.client, "") << "reading must stop at the bad password";
        EXPECT_EQ(profile.password, "");
    }
}

TEST(ReadProfile, BadPasswordMarksTheSystemAndReadingGoesOn) {
    for (const std::string& stored : {badForm, failedCheck, std::string("x")}) {
        ConnectionProfile profile;
        profile.password = "previous";
        const std::optional<std::string> message =
            read_profile("Password...: " + stored + "\nClient.....: 100\n", listingRunLineWidth,
                         PasswordFailureMode::MarkSystem, "PRD.P00", profile);
        EXPECT_TRUE(message.has_value()) << "the system is marked failed";
        EXPECT_EQ(profile.password, "previous");
        EXPECT_EQ(profile.client, "100");
    }
}

ConnectionProfile valid_profile() {
    ConnectionProfile profile;
    read_profile(validFile, singleRunLineWidth, PasswordFailureMode::EndRun, "PRD.P00", profile);
    return profile;
}

TEST(ValidateProfile, MissingUserAndPasswordComeFirst) {
    ConnectionProfile profile = valid_profile();
    profile.destination = "";
    profile.password = "";
    EXPECT_EQ(validate_profile(profile, "PRD.P00"), "Error 1007: Password in Profile PRD.P00 is missing...");
    profile.user = "";
    EXPECT_EQ(validate_profile(profile, "PRD.P00"), "Error 1006: Username in Profile PRD.P00 is missing...");
    EXPECT_EQ(validate_profile(ConnectionProfile{}, "X.P01"), "Error 1006: Username in Profile X.P01 is missing...");
}

TEST(ValidateProfile, EveryFieldHasItsMinimumAndMaximum) {
    const std::string invalid = "Error 1003: Invalid Parameter(s) at PRD.P00 found...";
    const struct {
        std::string ConnectionProfile::*field;
        std::size_t minimum;
        std::size_t maximum;
    } limits[] = {
        {&ConnectionProfile::extcompany, 2, 60}, {&ConnectionProfile::destination, 3, 11},
        {&ConnectionProfile::client, 3, 11},     {&ConnectionProfile::user, 2, 47},
        {&ConnectionProfile::password, 2, 20},   {&ConnectionProfile::language, 1, 31},
        {&ConnectionProfile::mode, 3, 31},       {&ConnectionProfile::hostname, 2, 47},
        {&ConnectionProfile::sysnr, 2, 31},      {&ConnectionProfile::gwhost, 2, 60},
        {&ConnectionProfile::gwservice, 2, 31},
    };
    for (const auto& limit : limits) {
        ConnectionProfile profile = valid_profile();
        profile.*limit.field = std::string(limit.minimum, 'v');
        EXPECT_EQ(validate_profile(profile, "PRD.P00"), std::nullopt);
        profile.*limit.field = std::string(limit.maximum, 'v');
        EXPECT_EQ(validate_profile(profile, "PRD.P00"), std::nullopt);
        profile.*limit.field = std::string(limit.minimum - 1, 'v');
        EXPECT_EQ(validate_profile(profile, "PRD.P00"), invalid);
        profile.*limit.field = std::string(limit.maximum + 1, 'v');
        EXPECT_EQ(validate_profile(profile, "PRD.P00"), invalid);
    }
}

// A configured destination's connect string is split at blanks; a control
// character, which PRTG's variables may hand over, is refused alike.
TEST(FitsConnectString, NoBlankOrControlCharacterInTheLogon) {
    const char* const refused[] = {"a b", "a\tb", "a\nb", "a\rb", "\x01", "a\x1f", "a\x7f", " "};
    for (std::string ConnectionProfile::*field :
         {&ConnectionProfile::client, &ConnectionProfile::user, &ConnectionProfile::password}) {
        ConnectionProfile profile = valid_profile();
        EXPECT_TRUE(fits_connect_string(profile));
        profile.*field = "Pa55-w0rd!~";
        EXPECT_TRUE(fits_connect_string(profile));
        for (const char* value : refused) {
            profile.*field = value;
            EXPECT_FALSE(fits_connect_string(profile)) << value;
        }
        profile.*field = std::string("a\0b", 3);
        EXPECT_FALSE(fits_connect_string(profile));
    }
    // Only the words of the connect string count.
    ConnectionProfile profile = valid_profile();
    profile.extcompany = "Example Corp";
    profile.hostname = "host\t";
    EXPECT_TRUE(fits_connect_string(profile));
}

TEST(ValidateProfile, TooLongCountsAfterMissingUserAndPassword) {
    ConnectionProfile profile = valid_profile();
    profile.destination = "PRDPRDPRDPRD";
    EXPECT_EQ(validate_profile(profile, "PRD.P00"), "Error 1003: Invalid Parameter(s) at PRD.P00 found...");
    profile.password = "";
    EXPECT_EQ(validate_profile(profile, "PRD.P00"), "Error 1007: Password in Profile PRD.P00 is missing...");
}

}  // namespace

TEST(Profile, AllowedHostsAddUpAndBelongToTheirOwnFile) {
    ConnectionProfile profile;
    ASSERT_FALSE(read_profile("Allowedhost: app01, APP02\nHostname...: app00\nAllowedhost:  app03\n",
                              listingRunLineWidth, PasswordFailureMode::MarkSystem, "A.P00", profile));
    EXPECT_EQ(profile.allowedHosts, (std::vector<std::string>{"app01", "APP02", "app03"}));
    EXPECT_TRUE(allows_host(profile, "App02"));
    EXPECT_FALSE(allows_host(profile, "app0"));
    // A later profile of a listing inherits the host name, never the hosts allowed.
    ASSERT_FALSE(
        read_profile("Client.....: 100\n", listingRunLineWidth, PasswordFailureMode::MarkSystem, "B.P00", profile));
    EXPECT_EQ(profile.hostname, "app00");
    EXPECT_TRUE(profile.allowedHosts.empty());
}
