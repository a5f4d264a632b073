// The process's environment variables.
#pragma once

#include <optional>
#include <string>

// The variable's value, as the process was given it; nothing when it is not
// set. Windows matches the name without regard to case.
std::optional<std::string> environment_variable(const std::string& name);

// Sets the variable for this process and what it starts, also for a
// library's C runtime that copies the environment when it is loaded (so it
// is set before the library loads). False when it cannot be set.
bool set_environment_variable(const std::string& name, const std::string& value);
