// The process's environment variables.
#pragma once

#include <optional>
#include <string>

// The variable's value, as the process was given it; nothing when it is not
// set. Windows matches the name without regard to case.
std::optional<std::string> environment_variable(const std::string& name);
