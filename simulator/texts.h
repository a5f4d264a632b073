// The texts that the simulator writes: the pieces of the call log lines and
// the classic trace entry. Pure formatting, testable without files.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "rfc_library.h"

namespace rfcsim {

// A text as the call log shows it: [text] exactly as passed, or none.
std::string log_text(const char* text);

// "destination=[..] mode=0 host=[..] sysnr=0 gwhost=.. gwservice=.. client=[..]
// user=[..] password=[..] language=[..] trace=0"; mode 1 shows the gateway
// record instead of the R/3 record, a null record pointer shows "data=none".
std::string describe_open_options(const RfcConnectionOptions* options);

// " element=[NAME]/TYPE/LENGTH/DECIMALS/OFFSET" for each element.
std::string describe_elements(const RfcTypeElement* elements, uint32_t count);

// " table=[NAME]/NAMELENGTH/type=LINETYPE" (withLineType) or " table=[NAME]"
// for each descriptor up to the one whose name is null; " table=none" when
// the list is empty or null.
std::string describe_tables(const RfcTableDescriptor* tables, bool withLineType);

// The classic library's trace entry for a failure: the opening line with the
// local time, then the message line.
std::vector<std::string> classic_trace_entry(std::string_view message, const std::tm& localTime);

}  // namespace rfcsim
