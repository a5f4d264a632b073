#include "password.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Golden {
    std::string password;
    std::string stored;
};

// Stored values written by earlier builds: profiles in the field hold them,
// so a change of key, alphabet or layout must fail here.
const std::vector<Golden> goldens = {
    {"", "4281FU{ECfHmzWY0eM%qZ%|I"},
    {"x", "3380z~FziEh2Pe}S]bO,xF3w"},
    {"secret", "?287tamr]JyI`d5gY)xU&bf`"},
    {"Pa55 w0rd!", "6291W7(1}v>Cj)I}S]b;ga!d"},
    {" lead and trail ", "47970jjbyxhgQyoL6}w<h7kr"},
    {"ABCDEFGHIJKLMNOPQRST", "7::1B^INBT^UDE@WLH[@VK\\P"},
    {"~!@#$%^&*()_+{}|:\"<>", "76:1gP+P)4't1#-8imK-:#4+"},
};

// The printable rule a stored value must meet to survive editors and
// trailing-blank trimming.
void expect_printable_stored_form(const std::string& stored, const std::string& password) {
    ASSERT_EQ(stored.size(), storedPasswordLength) << password;
    for (char c : stored)
        EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << "password [" << password << "] stored [" << stored << "]";
    EXPECT_NE(stored.front(), ' ') << password;
    EXPECT_NE(stored.back(), ' ') << password;
}

TEST(Password, GoldenStoredValuesReadBack) {
    for (const Golden& golden : goldens) {
        DescrambledPassword descrambled = descramble_password(golden.stored);
        EXPECT_EQ(descrambled.result, DescrambleResult::Ok) << golden.stored;
        EXPECT_EQ(descrambled.password, golden.password) << golden.stored;
    }
}

TEST(Password, ScramblingIsRepeatable) {
    for (const Golden& golden : goldens)
        EXPECT_EQ(scramble_password(golden.password), golden.stored) << golden.password;
}

// Values made by hand with the key, reaching the corners the scrambler never
// produces: characters that decode to 0, a length beyond the decoded block,
// key offsets 5 and 9, a check over characters outside the alphabet.
TEST(Password, HandMadeValuesFollowTheLayout) {
    const struct {
        std::string stored;
        std::string password;
    } cases[] = {
        // header 0 5 1 2: offset 5, length 12 of "Wickerby2024fillerXY"
        {"0793Glka/>ogzKCgz}1,\x7f"
         "eaw",
         "Wickerby2024"},
        // two characters decode to 0 and are left out; length 99 takes the whole shortened block
        {"6118Vzum\x0e"
         "q\x7f"
         "\x0c"
         ";?* +pyD|nm~",
         "WickerbyProbe12345"},
        // a 0 inside the password part shifts the rest forward
        {"3285f\x02"
         "lgqzc`so\x7f"
         "xdrxsrswg",
         "abcd"},
        // offset 9 reaches key bytes 10 to 29; '~' is outside the alphabet, so the sum is 0
        {"7;:1crwuamdkhj{bxit`sfle", "~~~~~~~~~~~~~~~~~~~~"},
    };
    for (const auto& c : cases) {
        DescrambledPassword descrambled = descramble_password(c.stored);
        EXPECT_EQ(descrambled.result, DescrambleResult::Ok);
        EXPECT_EQ(descrambled.password, c.password);
    }
}

TEST(Password, BadFormIsTheLengthOrTheHeader) {
    const std::string good = "?287tamr]JyI`d5gY)xU&bf`";
    std::string headerNotDigit = good;
    headerNotDigit[2] = static_cast<char>(headerNotDigit[2] ^ 0x40);
    const std::string badForms[] = {
        "x",
        good.substr(0, 23),
        good + " ",
        good + good,
        headerNotDigit,
        std::string(24, '\0'),
        std::string(24, '\xff'),
    };
    for (const std::string& stored : badForms)
        EXPECT_EQ(descramble_password(stored).result, DescrambleResult::BadForm) << stored;
}

TEST(Password, FailedCheckCoversPasswordAndFiller) {
    // header digit 0 of the offset-5 value above changed from 0 to 1
    EXPECT_EQ(descramble_password("?793Glka/>ogzKCgz}1,\x7f"
                                  "eaw")
                  .result,
              DescrambleResult::FailedCheck);
    // 'A' of the password read as 'B'
    std::string password = *scramble_password("AAAAAAAAAAAAAAAAAAAA");
    password[4] = static_cast<char>(password[4] ^ 0x03);
    EXPECT_EQ(descramble_password(password).result, DescrambleResult::FailedCheck);
    // a filler character changed, the password "AB" itself untouched
    std::string filler = "5183@-@c9Pr!_y-tQor\\r}CU";
    ASSERT_EQ(descramble_password(filler).password, "AB");
    filler[5] = static_cast<char>(filler[5] ^ 0x01);
    EXPECT_EQ(descramble_password(filler).result, DescrambleResult::FailedCheck);
}

// Every length 0 to 20, every printable character at every position.
TEST(Password, EveryCharacterAtEveryPositionRoundTrips) {
    const std::string base = "Kq7#mZ p0-w!Rt9&xB~e";
    for (std::size_t length = 0; length <= passwordMaxLength; ++length) {
        for (std::size_t position = 0; position < length; ++position) {
            for (int c = 0x20; c <= 0x7E; ++c) {
                std::string password = base.substr(0, length);
                password[position] = static_cast<char>(c);
                std::optional<std::string> stored = scramble_password(password);
                ASSERT_TRUE(stored.has_value()) << password;
                expect_printable_stored_form(*stored, password);
                DescrambledPassword descrambled = descramble_password(*stored);
                ASSERT_EQ(descrambled.result, DescrambleResult::Ok) << password;
                ASSERT_EQ(descrambled.password, password);
            }
        }
        if (length == 0) expect_printable_stored_form(*scramble_password(""), "");
    }
}

TEST(Password, RefusesWhatCannotBeStored) {
    EXPECT_FALSE(scramble_password(std::string(21, 'a')).has_value());
    EXPECT_FALSE(scramble_password("tab\there").has_value());
    EXPECT_FALSE(scramble_password("del\x7f").has_value());
    EXPECT_FALSE(scramble_password("\xe4hnlich").has_value());
    EXPECT_FALSE(is_storable_password(std::string(21, 'a')));
    EXPECT_TRUE(is_storable_password(std::string(20, '~')));
    // Each of the ten key offsets turns one of these characters into DEL.
    EXPECT_TRUE(is_storable_password("xc~yphbuta"));
    EXPECT_FALSE(scramble_password("xc~yphbuta").has_value());
}

}  // namespace
