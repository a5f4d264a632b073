// The names of the NetWeaver library's return codes and error groups, as the
// error block shows them and the simulator's scenario and call log write
// them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "nwrfc_library.h"

namespace wickerby::nwrfc {

// Indexed by the code's value.
inline constexpr std::array<const char*, RFC_AUTHORIZATION_FAILURE + 1> returnCodeNames = {
    "RFC_OK",
    "RFC_COMMUNICATION_FAILURE",
    "RFC_LOGON_FAILURE",
    "RFC_ABAP_RUNTIME_FAILURE",
    "RFC_ABAP_MESSAGE",
    "RFC_ABAP_EXCEPTION",
    "RFC_CLOSED",
    "RFC_CANCELED",
    "RFC_TIMEOUT",
    "RFC_MEMORY_INSUFFICIENT",
    "RFC_VERSION_MISMATCH",
    "RFC_INVALID_PROTOCOL",
    "RFC_SERIALIZATION_FAILURE",
    "RFC_INVALID_HANDLE",
    "RFC_RETRY",
    "RFC_EXTERNAL_FAILURE",
    "RFC_EXECUTED",
    "RFC_NOT_FOUND",
    "RFC_NOT_SUPPORTED",
    "RFC_ILLEGAL_STATE",
    "RFC_INVALID_PARAMETER",
    "RFC_CODEPAGE_CONVERSION_FAILURE",
    "RFC_CONVERSION_FAILURE",
    "RFC_BUFFER_TOO_SMALL",
    "RFC_TABLE_MOVE_BOF",
    "RFC_TABLE_MOVE_EOF",
    "RFC_START_SAPGUI_FAILURE",
    "RFC_ABAP_CLASS_EXCEPTION",
    "RFC_UNKNOWN_ERROR",
    "RFC_AUTHORIZATION_FAILURE",
};

// Indexed by the group's value.
inline constexpr std::array<const char*, EXTERNAL_AUTHORIZATION_FAILURE + 1> errorGroupNames = {
    "OK",
    "ABAP_APPLICATION_FAILURE",
    "ABAP_RUNTIME_FAILURE",
    "LOGON_FAILURE",
    "COMMUNICATION_FAILURE",
    "EXTERNAL_RUNTIME_FAILURE",
    "EXTERNAL_APPLICATION_FAILURE",
    "EXTERNAL_AUTHORIZATION_FAILURE",
};

// The name of a value; one outside the enumeration is written as its number.
template <std::size_t size>
std::string name_of(const std::array<const char*, size>& names, int32_t value) {
    return value >= 0 && static_cast<std::size_t>(value) < size ? names[static_cast<std::size_t>(value)]
                                                                : std::to_string(value);
}

// The value of a name written exactly as in the table, or nothing.
template <std::size_t size>
std::optional<int32_t> value_named(const std::array<const char*, size>& names, std::string_view name) {
    for (std::size_t i = 0; i < size; ++i)
        if (name == names[i]) return static_cast<int32_t>(i);
    return std::nullopt;
}

}  // namespace wickerby::nwrfc
