#include "password.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t keyLength = 32;
constexpr std::size_t headerLength = 4;
constexpr std::size_t bodyLength = storedPasswordLength - headerLength;
constexpr std::size_t offsetCount = 10;

// Decoded characters found here count towards the check digit.
constexpr std::string_view checkAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";

using PasswordKey = std::array<unsigned char, keyLength>;

constexpr std::uint32_t keySeed = 0x3B9ACA07u;

// The key's first 31 bytes are the values 1 to 31 shuffled: XOR with any of
// them keeps a printable character printable except the one it turns into
// DEL, and no two bytes within reach of one character are equal, so each
// key offset fails for other characters.
PasswordKey build_key(std::uint32_t seed) {
    PasswordKey key{};
    for (std::size_t i = 0; i < keyLength; ++i) key[i] = static_cast<unsigned char>(1 + i % 31);
    std::uint32_t state = seed;
    for (std::size_t i = 30; i > 0; --i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        std::swap(key[i], key[state % (i + 1)]);
    }
    // A first byte of 0x10 to 0x19 would turn a header digit into a leading
    // blank; the last byte, never shuffled and out of the body's reach, takes its place.
    if (key[0] >= 0x10 && key[0] <= 0x19) std::swap(key[0], key[keyLength - 1]);
    return key;
}

const PasswordKey& password_key() {
    static const PasswordKey key = build_key(keySeed);
    return key;
}

// Where the character at a position of the plain block lies in the folded
// body: the odd-numbered characters in order, then the even-numbered ones
// backwards.
std::size_t folded_position(std::size_t plainPosition) {
    return plainPosition % 2 == 0 ? plainPosition / 2 : bodyLength - 1 - plainPosition / 2;
}

bool is_printable(unsigned char c) {
    return c >= 0x20 && c <= 0x7E;
}

bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int check_digit(const std::string& decoded) {
    unsigned sum = 0;
    for (char c : decoded)
        if (checkAlphabet.find(c) != std::string::npos) sum += static_cast<unsigned char>(c);
    return static_cast<int>(sum % 10);
}

// The stored character for a plain character, or 0 when it would not be
// printable or would end the stored value with a blank.
unsigned char stored_character(unsigned char plain, std::size_t plainPosition, std::size_t offset) {
    const std::size_t body = folded_position(plainPosition);
    const unsigned char stored = static_cast<unsigned char>(plain ^ password_key()[offset + body]);
    if (!is_printable(stored)) return 0;
    if (body == bodyLength - 1 && stored == ' ') return 0;
    return stored;
}

bool password_fits_offset(const std::string& password, std::size_t offset) {
    for (std::size_t p = 0; p < password.size(); ++p)
        if (stored_character(static_cast<unsigned char>(password[p]), p, offset) == 0) return false;
    return true;
}

// Fills the plain block up to its full width with alphabet characters that
// stay printable at their place; the choice follows the password so that
// equal passwords give equal stored values.
std::string filled_block(const std::string& password, std::size_t offset, unsigned seed) {
    std::string block = password;
    for (std::size_t p = password.size(); p < bodyLength; ++p) {
        std::size_t candidate = (seed + 11 * p) % checkAlphabet.size();
        while (stored_character(static_cast<unsigned char>(checkAlphabet[candidate]), p, offset) == 0)
            candidate = (candidate + 1) % checkAlphabet.size();
        block += checkAlphabet[candidate];
    }
    return block;
}

std::string stored_form(const std::string& password, std::size_t offset, unsigned seed) {
    const std::string block = filled_block(password, offset, seed);
    const PasswordKey& key = password_key();
    const int digits[headerLength] = {check_digit(block), static_cast<int>(offset),
                                      static_cast<int>(password.size() / 10), static_cast<int>(password.size() % 10)};
    std::string stored(storedPasswordLength, ' ');
    for (std::size_t i = 0; i < headerLength; ++i) stored[i] = static_cast<char>(('0' + digits[i]) ^ key[i]);
    for (std::size_t p = 0; p < bodyLength; ++p)
        stored[headerLength + folded_position(p)] =
            static_cast<char>(stored_character(static_cast<unsigned char>(block[p]), p, offset));
    return stored;
}

}  // namespace

DescrambledPassword descramble_password(const std::string& stored) {
    DescrambledPassword outcome;
    if (stored.size() != storedPasswordLength) {
        outcome.result = DescrambleResult::BadForm;
        return outcome;
    }
    const PasswordKey& key = password_key();
    int digits[headerLength];
    for (std::size_t i = 0; i < headerLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(stored[i]) ^ key[i];
        if (!is_digit(c)) {
            outcome.result = DescrambleResult::BadForm;
            return outcome;
        }
        digits[i] = c - '0';
    }
    const std::size_t offset = static_cast<std::size_t>(digits[1]);
    const std::size_t length = static_cast<std::size_t>(digits[2] * 10 + digits[3]);

    std::string decoded;
    for (std::size_t p = 0; p < bodyLength; ++p) {
        const std::size_t body = folded_position(p);
        const unsigned char c = static_cast<unsigned char>(stored[headerLength + body]) ^ key[offset + body];
        if (c != 0) decoded += static_cast<char>(c);
    }
    if (check_digit(decoded) != digits[0]) {
        outcome.result = DescrambleResult::FailedCheck;
        return outcome;
    }
    outcome.password = decoded.substr(0, length < decoded.size() ? length : decoded.size());
    return outcome;
}

bool is_storable_password(const std::string& password) {
    if (password.size() > passwordMaxLength) return false;
    for (char c : password)
        if (!is_printable(static_cast<unsigned char>(c))) return false;
    return true;
}

std::optional<std::string> scramble_password(const std::string& password) {
    if (!is_storable_password(password)) return std::nullopt;
    unsigned seed = static_cast<unsigned>(password.size());
    for (char c : password) seed = seed * 31 + static_cast<unsigned char>(c);
    for (std::size_t attempt = 0; attempt < offsetCount; ++attempt) {
        const std::size_t offset = (seed + attempt) % offsetCount;
        if (password_fits_offset(password, offset)) return stored_form(password, offset, seed);
    }
    return std::nullopt;
}
