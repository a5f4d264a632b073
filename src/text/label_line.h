// Labelled console lines: a label padded to a width, " : " and a value, as
// the RFC error block prints them.
#pragma once

#include <cstddef>
#include <string>

// The line with its line feed; a label as long as the width or longer is
// written whole.
std::string label_line(const std::string& label, std::size_t indent, std::size_t labelWidth, const std::string& value);
