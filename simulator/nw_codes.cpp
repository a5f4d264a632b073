#include "nw_codes.h"

#include <array>

#include "nwrfc_library.h"

namespace rfcsim {

namespace {

// Indexed by the code's value.
constexpr std::array<const char*, RFC_AUTHORIZATION_FAILURE + 1> names = {
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

}  // namespace

std::optional<int32_t> rfc_rc_named(std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (name == names[i]) return static_cast<int32_t>(i);
    return std::nullopt;
}

std::string rfc_rc_name(int32_t code) {
    if (code >= 0 && static_cast<std::size_t>(code) < names.size()) return names[static_cast<std::size_t>(code)];
    return std::to_string(code);
}

int32_t error_group_of(int32_t code) {
    switch (code) {
    case RFC_OK: return OK;
    case RFC_COMMUNICATION_FAILURE: return COMMUNICATION_FAILURE;
    case RFC_LOGON_FAILURE: return LOGON_FAILURE;
    case RFC_ABAP_RUNTIME_FAILURE: return ABAP_RUNTIME_FAILURE;
    case RFC_ABAP_MESSAGE:
    case RFC_ABAP_EXCEPTION:
    case RFC_ABAP_CLASS_EXCEPTION: return ABAP_APPLICATION_FAILURE;
    case RFC_AUTHORIZATION_FAILURE: return EXTERNAL_AUTHORIZATION_FAILURE;
    default: return EXTERNAL_RUNTIME_FAILURE;
    }
}

}  // namespace rfcsim
