// The return codes of the NetWeaver face by name: the scenario's nw.open and
// nw.invoke are written as names, and the call log shows names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rfcsim {

// The RFC_RC of that name (RFC_OK ... RFC_AUTHORIZATION_FAILURE, exactly as
// written), or nothing.
std::optional<int32_t> rfc_rc_named(std::string_view name);

// The name of a return code; a value outside the enumeration is written as
// its number.
std::string rfc_rc_name(int32_t code);

// The RFC_ERROR_GROUP that the error record gives with a return code.
int32_t error_group_of(int32_t code);

}  // namespace rfcsim
