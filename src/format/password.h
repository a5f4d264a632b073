// The stored password: 24 printable characters, a scrambled header and body
// that only this program's key reads back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

inline constexpr std::size_t storedPasswordLength = 24;
inline constexpr std::size_t passwordMaxLength = 20;

enum class DescrambleResult { Ok, BadForm, FailedCheck };

struct DescrambledPassword {
    DescrambleResult result = DescrambleResult::Ok;
    std::string password;  // only meaningful when result is Ok
};

DescrambledPassword descramble_password(const std::string& stored);

// True for a password that can be stored: printable ASCII, at most 20 characters.
bool is_storable_password(const std::string& password);

// The stored form of a password of printable ASCII of at most 20
// characters; empty when no stored form would be printable.
std::optional<std::string> scramble_password(const std::string& password);
