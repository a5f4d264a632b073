// The PRTG result document: everything the sensor tells the monitor goes
// through one ResultDocument, composed piece by piece and then printed by
// the run.
#pragma once

#include <string>

struct ResultDocument {
    std::string text;
};

// Inserted texts are escaped (& < >), and their control characters other
// than the tab become blanks, because PRTG parses the output as XML and a
// bare '&' or '<', or a character XML does not allow, would hide the
// sensor's real message behind a parse error. The document declares no
// encoding, so a byte from 0x80 up (a German library message, say) is
// written as a numeric character reference, read as Windows-1252 as the
// library wrote it: every XML reader then reads the same text.
unsigned windows1252_code_point(unsigned char byte);
std::string xml_escaped(const std::string& text);
void append_escaped(std::string& out, const std::string& text);

void begin_document(ResultDocument& document);
void begin_text(ResultDocument& document);
void append_text(ResultDocument& document, const std::string& text);
void end_text(ResultDocument& document);

// How PRTG is to take a channel, besides its name and value; each element
// is written only when set.
struct ChannelSettings {
    std::string unit;             // PRTG's unit: "Custom" takes its name from customUnit, "Count" is PRTG's own
    std::string customUnit;       // the custom unit's name
    bool difference = false;      // PRTG shows the change since the last scan instead of the value
    std::string upperErrorLimit;  // a value above it turns the sensor red; none when empty
    bool warning = false;         // puts the whole sensor in PRTG's warning state, its values kept
};
void add_channel(ResultDocument& document, const std::string& channel, const std::string& value,
                 const ChannelSettings& settings);
void end_document(ResultDocument& document);
void set_error_document(ResultDocument& document, const std::string& message);
// The error document's text.
std::string error_document_text(const std::string& message);

// Inserts '.' before the last three and the last six digits: 1234567
// becomes 1.234.567; at most two separators, so 4294967295 becomes
// 4294.967.295.
std::string group_thousands(const std::string& digits);
