#include "windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, CharactersBothWays) {
    const struct {
        std::string bytes;
        std::u16string characters;
    } cases[] = {
        {"", u""},
        {"MONITOR", u"MONITOR"},
        {"\xDC"
         "ber\x80",
         u"\u00DCber\u20AC"},  // Ü and the euro sign
        {"\x8A\x9F\x99\x85", u"\u0160\u0178\u2122\u2026"},
        {"\xA0\xFF", u"\u00A0\u00FF"},
        {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // unassigned, kept
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf16_from_windows1252(c.bytes), c.characters) << c.bytes;
        EXPECT_EQ(windows1252_from_utf16(c.characters), c.bytes) << c.bytes;
    }
}

TEST(Windows1252, EveryByteComesBack) {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
    EXPECT_EQ(windows1252_from_utf16(utf16_from_windows1252(bytes)), bytes);
}

TEST(Windows1252, CharactersItCannotWriteBecomeQuestionMarks) {
    const struct {
        std::u16string characters;
        std::string bytes;
    } cases[] = {
        {u"\u0100", "?"},          // beyond Latin-1 and not in the upper controls
        {u"\u0080", "?"},          // the C1 control that the euro sign displaced
        {u"x\U0001F600y", "x?y"},  // a surrogate pair is one character
        {u"\xD800z", "?z"},        // an unpaired surrogate
        {u"\xDC00", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(windows1252_from_utf16(c.characters), c.bytes);
}
