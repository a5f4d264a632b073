// The NetWeaver library's texts and its error record as the sensor writes
// them, for its back end and for the test command's notes alike.
#pragma once

#include <cstddef>
#include <string>

#include "nwrfc_library.h"
#include "rfc_backend.h"

// A text of the library, up to its terminator or `units` code units, in
// the sensor's Windows-1252.
std::string nwrfc_text(const SAP_UC* text, std::size_t units);

// The record in the classic library's four fields: the code's name stands
// for the status, the group's for the internal status.
LibraryError nwrfc_error(const RFC_ERROR_INFO& record);
