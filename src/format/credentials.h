// Credentials kept by PRTG. A profile's User or Password may be written as
// "%prtg_windowspassword%": the sensor then takes the value from the
// environment variable of that name, which PRTG sets from the credentials of
// the sensor's device when the sensor's setting "Set placeholders as
// environment values" is on. read_profile keeps such a value as written
// (neither upper-cased nor descrambled); take_credentials puts the
// variable's value in its place.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "profile.h"

// Every variable PRTG sets begins so.
inline constexpr const char* prtgVariablePrefix = "prtg_";

// "%NAME%" is at most as long as any other profile value.
inline constexpr std::size_t prtgVariableMaxLength = 58;

// The fields whose value may name a variable, in the order they are taken.
inline constexpr std::string ConnectionProfile::*credentialFields[] = {&ConnectionProfile::user,
                                                                       &ConnectionProfile::password};

// True for the profile fields whose value may name a variable.
bool is_credential_field(const ProfileField& field);

// True for a name PRTG could set: "prtg_" (in any case) followed by letters,
// digits and underscores, at most 58 characters in all.
bool is_prtg_variable(const std::string& name);

// The name of the variable a User or Password value is taken from: the value
// is "%NAME%" with such a name. Nothing for a value kept in the profile.
std::optional<std::string> credential_source(const std::string& value);

// The profile value that takes its value from the variable.
std::string credential_placeholder(const std::string& variable);

// Where a value taken from a variable comes from, never the value itself:
// "from the environment variable prtg_windowspassword, set" (or ", empty",
// ", not set"), given the variable's value as the environment has it.
std::string credential_source_text(const std::string& variable, const std::optional<std::string>& value);

// A variable's value; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// Puts the variable's value in place of each User and Password that names
// one, the user upper-cased as a profile's own. The message of the first one,
// User before Password, whose variable is not set or empty; that one and the
// ones after it are left as they were.
std::optional<std::string> take_credentials(ConnectionProfile& profile, const EnvironmentLookup& environment,
                                            const std::string& profileName);
