#include "library_header.h"

#include <gtest/gtest.h>

namespace {

// A file that starts as a Windows library does: "MZ", the PE header's
// offset at 0x3C, and there "PE\0\0" and the machine.
std::string windows_head(std::uint32_t peOffset, std::uint16_t machine) {
    std::string head(peOffset + 24, '\0');
    head[0] = 'M';
    head[1] = 'Z';
    for (int i = 0; i < 4; ++i) head[0x3C + i] = static_cast<char>(peOffset >> (8 * i));
    head.replace(peOffset, 4, std::string("PE\0\0", 4));
    head[peOffset + 4] = static_cast<char>(machine & 0xFF);
    head[peOffset + 5] = static_cast<char>(machine >> 8);
    return head;
}

}  // namespace

TEST(LibraryHeader, WidthOfAWindowsLibrary) {
    const struct {
        const char* name;
        std::string head;
        std::optional<unsigned> bits;
    } cases[] = {
        {"i386", windows_head(0x80, 0x014C), 32u},
        {"amd64", windows_head(0x100, 0x8664), 64u},
        {"arm64", windows_head(0x80, 0xAA64), 64u},
        {"other machine", windows_head(0x80, 0x01C0), std::nullopt},
        {"text", "This is a text file, not a library.\n", std::nullopt},
        {"ELF",
         std::string("\x7F"
                     "ELF\x02\x01\x01",
                     7) +
             std::string(60, '\0'),
         std::nullopt},
        {"empty", "", std::nullopt},
        {"offset past the end", windows_head(0x80, 0x014C).substr(0, 0x82), std::nullopt},
        {"no PE signature", windows_head(0x80, 0x014C).replace(0x80, 2, "NE"), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(windows_library_bits(c.head), c.bits) << c.name;
    std::string far = windows_head(0x80, 0x8664);
    far[0x3C] = '\xFF';
    far[0x3F] = '\x7F';  // an offset near 2 GiB
    EXPECT_EQ(windows_library_bits(far), std::nullopt);
}
