// The process's environment variables.
#pragma once

#include <optional>
#include <string>

// The variable's value, as the process was given it; nothing when it is not
// set. Windows matches the name without regard to case.
std::optional<std::string> environment_variable(const std::string& name);

// True where a library's C runtime takes its own copy of the environment
// when it loads (Windows, where a DLL may bring its own runtime): a variable
// it is to read must be set before it loads. On POSIX every library reads
// the process's one environment when it asks.
#ifdef _WIN32
inline constexpr bool environmentCopiedAtLoad = true;
#else
inline constexpr bool environmentCopiedAtLoad = false;
#endif

// Sets the variable for this process and what it starts, also for a
// library's C runtime that copies the environment when it is loaded (so it
// is set before the library loads). False when it cannot be set.
bool set_environment_variable(const std::string& name, const std::string& value);
