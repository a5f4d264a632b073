#include "environment.h"

#include <cstdlib>

std::optional<std::string> environment_variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

#ifdef _WIN32

// _putenv sets the C runtime's copy, which getenv reads, and the process's
// environment block, which a library's own runtime copies when it loads.
bool set_environment_variable(const std::string& name, const std::string& value) {
    return _putenv((name + "=" + value).c_str()) == 0;
}

#else

bool set_environment_variable(const std::string& name, const std::string& value) {
    return setenv(name.c_str(), value.c_str(), 1) == 0;
}

#endif
