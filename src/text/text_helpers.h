// Small text operations shared by every reader of the sensor's inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Upper-cases the letters a to z and nothing else.
std::string upper_cased(const std::string& text);

bool begins_with(const std::string& text, const std::string& start);

// The value after a keyword: the characters of asTyped from start on, up to
// a blank or a comma in stopText (same positions), the end, or maxLength
// characters. stopText is the upper-cased copy that the keyword was found
// in, so the value keeps the case in which it was typed.
std::string keyword_value(const std::string& stopText, const std::string& asTyped, std::size_t start,
                          std::size_t maxLength);

// The text with every occurrence of one character replaced by another.
std::string replaced(std::string text, char from, char to);

// What happens to a number too large for 32 bits, which C's atoi leaves
// undefined: Wrap keeps its low 32 bits, Clamp holds its magnitude at
// 2147483647 (the sign applies afterwards).
enum class NumberOverflow { Wrap, Clamp };

// Reads a number as C's atoi does: leading white space, an optional sign,
// then digits up to the first other character; no digits read as 0.
int32_t c_integer(const std::string& text, NumberOverflow overflow);

// True when the text starts with a UTF-16 byte-order mark (Notepad's
// "Unicode"): every other byte of such a file is a NUL, and no line of it
// reads as this program's files are written.
bool has_utf16_mark(const std::string& text);
