#include "platform/files.h"

#include <gtest/gtest.h>

#include "platform/text_pieces.h"

TEST(Files, PosixPathsForWindowsTexts) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\PRTG_Path.Txt", "/drives/C/PRTG_Path.Txt"},
        {"d:\\Tools\\x", "/drives/D/Tools/x"},
        {"D:Sensors\\PRD.P00", "/drives/D/Sensors/PRD.P00"},
        {"\\Program Files\\a b", "/drives/C/Program Files/a b"},
        {"PRD.P00", "PRD.P00"},
        {"sub\\PRD.P00", "sub/PRD.P00"},
    };
    for (const auto& [windows, posix] : cases) EXPECT_EQ(posix_path_for(windows, "/drives"), posix) << windows;
    EXPECT_EQ(posix_path_for("C:\\x", "/"), "/C/x");
}

TEST(Files, TextModeJoinsCrLfOnly) {
    EXPECT_EQ(text_mode_contents("a\r\nb\rc\n\r\r\n"), "a\nb\rc\n\r\n");
}

TEST(TextPieces, FgetsLikePieces) {
    std::string text = "12345\nab\n" + std::string(7, 'x') + "\nlast";
    TextPieces pieces{text};
    std::vector<std::string> got;
    std::string piece;
    while (next_piece(pieces, 5, piece)) got.push_back(piece);
    const std::vector<std::string> expected = {"12345", "\n", "ab\n", "xxxxx", "xx\n", "last"};
    EXPECT_EQ(got, expected);

    std::string withNul("ab\0cd\nef", 8);
    TextPieces nul{withNul};
    ASSERT_TRUE(next_piece(nul, 99, piece));
    EXPECT_EQ(piece, "ab");
    ASSERT_TRUE(next_piece(nul, 99, piece));
    EXPECT_EQ(piece, "ef");
    EXPECT_EQ(without_line_end("a\n"), "a");
    EXPECT_EQ(without_line_end("a\r"), "a");
    EXPECT_EQ(without_line_end("a\r\n"), "a\r");
}
