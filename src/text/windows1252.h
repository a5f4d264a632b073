// Texts between the sensor's 8-bit world and a library that takes UTF-16:
// profiles, listings and the option string are Windows-1252, as Windows
// writes them on a western system.
#pragma once

#include <string>

// Each byte as its character; the five bytes that Windows-1252 leaves
// unassigned keep their own values (U+0081, U+008D, U+008F, U+0090,
// U+009D), as Windows converts them, so that every byte comes back.
std::u16string utf16_from_windows1252(const std::string& text);

// Each character as its byte; one that Windows-1252 cannot write (a
// surrogate pair counts as one) becomes '?'.
std::string windows1252_from_utf16(const std::u16string& text);
