// Reading a secret, such as a password, from standard input.
#pragma once

#include <optional>
#include <string>

// True when standard input is a terminal (a console on Windows) that a
// person types at.
bool standard_input_is_terminal();

// One line of standard input without its line end, or nothing at the end of
// the input. At a terminal the typed characters are not shown.
std::optional<std::string> read_secret_line();
