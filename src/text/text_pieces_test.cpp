#include "text_pieces.h"

#include <gtest/gtest.h>

#include <vector>

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
