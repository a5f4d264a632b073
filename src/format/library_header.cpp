#include "library_header.h"

#include <cstdint>

namespace {

constexpr std::size_t peOffsetField = 0x3C;
constexpr std::uint32_t machineI386 = 0x014C;
constexpr std::uint32_t machineAmd64 = 0x8664;
constexpr std::uint32_t machineArm64 = 0xAA64;

// The little-endian number of `width` bytes at `at`.
std::uint32_t little_endian(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

std::optional<unsigned> windows_library_bits(const std::string& head) {
    if (head.size() < peOffsetField + 4 || head.compare(0, 2, "MZ") != 0) return std::nullopt;
    const std::size_t pe = little_endian(head, peOffsetField, 4);
    if (pe > head.size() || head.size() - pe < 6 || head.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
        return std::nullopt;
    switch (little_endian(head, pe + 4, 2)) {
    case machineI386: return 32;
    case machineAmd64:
    case machineArm64: return 64;
    default: return std::nullopt;
    }
}
