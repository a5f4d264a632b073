// The texts of the NetWeaver face: UTF-16 at the library's interface, UTF-8
// in the scenario file and the call log. Pure conversions and formatting.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "nwrfc_library.h"

namespace rfcsim {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD. A null text is
// empty.
std::string utf8_of(std::u16string_view text);
std::string utf8_of(const SAP_UC* text);

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string utf16_of(std::string_view text);

// A text as the call log shows it: [text] in UTF-8, or none.
std::string log_text16(const SAP_UC* text);

// " NAME=[VALUE]" for each parameter in the order passed (the name as
// passed, in UTF-8; a null name or value is none), or " params=none" for a
// null list with a count.
std::string describe_parameters(const RFC_CONNECTION_PARAMETER* parameters, unsigned count);

// The parameters by upper-case name, in UTF-8: names are compared without
// regard to case, the last of a repeated name counts, a null name is skipped.
using ParameterValues = std::map<std::string, std::string>;
ParameterValues parameter_values(const RFC_CONNECTION_PARAMETER* parameters, unsigned count);

// The system that an open names: DEST if given, else SYSID, else ASHOST,
// each only when not empty.
std::string system_name(const ParameterValues& values);

// The text in UTF-16, cut to the field's size less one, NUL-padded to its end.
void copy_text16(SAP_UC* field, std::size_t size, std::string_view utf8);

}  // namespace rfcsim
