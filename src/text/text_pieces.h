// Reading a text file's contents in pieces, the way the sensor's files are
// read: at most a given number of characters at a time, ending after a line
// feed. A longer line thus arrives as several pieces.
#pragma once

#include <cstddef>
#include <string>

struct TextPieces {
    const std::string& text;
    std::size_t position = 0;
};

// The next piece of at most maxChars characters, up to and including a line
// feed; false at the end of the text. A NUL byte ends the piece's content,
// as it ends a C string.
bool next_piece(TextPieces& pieces, std::size_t maxChars, std::string& piece);

// The piece without its line end: a final line feed, else a final carriage return.
std::string without_line_end(const std::string& piece);
