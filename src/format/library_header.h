// What the first bytes of a library file say about it, so that a library
// the sensor cannot load is told apart by what it is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// How many bytes of a file library_width reads at most: the header of a
// Windows library lies near its start.
inline constexpr std::size_t libraryHeaderBytes = 4096;

// The width of the Windows library (32 or 64 bits) whose first bytes these
// are, from its PE header's machine field; nothing for any other file.
std::optional<unsigned> windows_library_bits(const std::string& head);
