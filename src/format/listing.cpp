#include "listing.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <utility>

#include "messages.h"
#include "text_helpers.h"
#include "text_pieces.h"

namespace {

constexpr const char* globalServerMarker = "# GSNG: ";
constexpr const char* globalAllocationMarker = "# GSNX: ";
// The profile list knows only server lines, and only with this exact marker.
constexpr const char* profileListServerMarker = "# Gsng: ";
constexpr const char* sensorTag = "Sensor=\"SAP Wickerby\"";
constexpr const char* optionTextEnd = ",Sensor=";
constexpr std::string_view itemKeyword = "Item=";

// Marker and sensor key: the columns that decide to whom a global line belongs.
constexpr std::size_t markedColumns = 18;
// Column 21, where a server line's profile names begin.
constexpr std::size_t fragmentStart = 20;
// Column 20, where the allocation text begins.
constexpr std::size_t allocationStart = 19;

const std::pair<const char*, LabelKind> labelKindWords[] = {
    {",Profile", LabelKind::Profile},
    {",Alias", LabelKind::Alias},
    {",Host", LabelKind::Host},
    {",Sid", LabelKind::Sid},
};

std::string from_column(const std::string& line, std::size_t start) {
    return line.size() > start ? line.substr(start) : std::string();
}

// A line shorter than the marked columns never matches, as in a C string compare.
bool has_marker(const std::string& upperLine, const std::string& marker) {
    return upperLine.compare(0, markedColumns, marker, 0, markedColumns) == 0;
}

// Every label word is looked for in turn, so the last one in this order wins.
LabelKind label_kind_in(const std::string& line, LabelKind kind) {
    for (const auto& [word, wordKind] : labelKindWords)
        if (line.find(word) != std::string::npos) kind = wordKind;
    return kind;
}

// Takes the sensor's allocation line; false when it does not name this program.
bool take_allocation(const std::string& line, ServerListing& listing) {
    listing.allocationText = from_column(line, allocationStart);
    const std::string& text = listing.allocationText;
    if (text.find(sensorTag) == std::string::npos) return false;
    listing.optionText = replaced(text.substr(0, text.find(optionTextEnd)), ':', ' ');
    listing.channels = channel_options(upper_cased(listing.optionText));
    listing.overrides = connection_overrides(upper_cased(listing.optionText), listing.optionText);
    listing.labelKind = label_kind_in(line, listing.labelKind);
    listing.allocationFound = true;
    return true;
}

std::optional<std::string> final_check(const ServerListing& listing) {
    if (listing.serverListing.empty()) return listingMissingMessage;
    if (listing.itemId.empty()) return itemMissingMessage;
    return std::nullopt;
}

ServerListing take_global_listing(const std::string& contents, const Invocation& invocation) {
    const std::string key = sensor_key(invocation.optionString);
    const std::string serverMarker = globalServerMarker + key;
    const std::string allocationMarker = globalAllocationMarker + key;
    ServerListing listing;
    listing.optionText = invocation.optionText;

    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, listingLineWidth, piece)) {
        const std::string line = without_line_end(piece);
        const std::string upperLine = upper_cased(line.substr(0, markedColumns));
        if (has_marker(upperLine, serverMarker)) {
            listing.serverListing += from_column(line, fragmentStart);
        } else if (!listing.allocationFound && has_marker(upperLine, allocationMarker)) {
            if (!take_allocation(line, listing)) {
                listing.endingMessage = invalidAllocationMessage;
                return listing;
            }
        }
    }

    const std::string& text = listing.allocationText;
    std::size_t item = text.find(itemKeyword);
    if (item != std::string::npos) listing.itemId = item_value(text, text, item + itemKeyword.size());
    // The channels are the sensor's in PRTG: its parameters may ask for them
    // as well as the listing's allocation text, which its sensors share.
    listing.channels.rates = listing.channels.rates || invocation.channels.rates;
    listing.channels.failedSystems = listing.channels.failedSystems || invocation.channels.failedSystems;
    listing.channels.reasons = listing.channels.reasons || invocation.channels.reasons;
    listing.channels.parallel = std::max(listing.channels.parallel, invocation.channels.parallel);
    if (!listing.allocationFound) listing.endingMessage = global_sensor_missing_message(invocation.secondArgument);
    else listing.endingMessage = final_check(listing);
    return listing;
}

ServerListing take_profile_list(const std::string& contents, const Invocation& invocation) {
    ServerListing listing;
    listing.optionText = invocation.optionText;
    listing.channels = invocation.channels;
    listing.overrides = invocation.overrides;
    listing.itemId = invocation.itemId;
    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, listingLineWidth, piece)) {
        const std::string line = without_line_end(piece);
        if (begins_with(line, profileListServerMarker)) listing.serverListing += from_column(line, fragmentStart);
    }
    listing.endingMessage = final_check(listing);
    return listing;
}

// A drive's ':' aside, a name holds at most "FILE:STREAM:TYPE", and a type
// begins with '$' ($DATA); Windows opens nothing by any other use of ':'.
bool names_a_stream_at_most(const std::string& entry) {
    const bool drive = entry.size() >= 2 && entry[1] == ':' && std::isalpha(static_cast<unsigned char>(entry[0]));
    std::size_t colons = 0, last = 0;
    for (std::size_t at = drive ? 2 : 0; at < entry.size(); ++at)
        if (entry[at] == ':') ++colons, last = at;
    return colons < 2 || (colons == 2 && last + 1 < entry.size() && entry[last + 1] == '$');
}

}  // namespace

std::string sensor_key(const std::string& optionString) {
    std::string key = optionString.substr(0, optionString.find(' '));
    if (key.size() < sensorKeyWidth) key.resize(sensorKeyWidth, ' ');
    return key;
}

std::vector<std::string> listing_entries(const std::string& serverListing) {
    std::vector<std::string> entries;
    std::size_t position = 0;
    while (position < serverListing.size()) {
        const std::size_t hash = serverListing.find('#', position);
        const std::size_t end = hash == std::string::npos ? serverListing.size() : hash;
        entries.push_back(serverListing.substr(position, end - position));
        position = end + 1;
    }
    return entries;
}

EntryCheck check_listing_entry(const std::string& text) {
    // The file opened is named by the text up to its first NUL.
    const std::string entry = text.substr(0, text.find('\0'));
    // Opening such a name fails on Windows, so the run has always counted
    // the entry as a missing profile, whatever else it holds.
    const auto no_name_holds = [](unsigned char c) { return c < 0x20 || std::strchr("\"*<>?|", c); };
    if (std::any_of(entry.begin(), entry.end(), no_name_holds))
        return {EntryAccess::Missing, "it holds a character that no file name may hold"};
    if (!names_a_stream_at_most(entry)) return {EntryAccess::Missing, "Windows opens no name with such colons"};
    if (entry.find(':') != std::string::npos) return {EntryAccess::Refused, "':' names a drive or a stream"};
    if (!entry.empty() && (entry[0] == '\\' || entry[0] == '/'))
        return {EntryAccess::Refused, std::string("a leading '") + entry[0] + "' names the root of the drive"};
    std::size_t start = 0;
    while (start <= entry.size()) {
        const std::size_t end = std::min(entry.find_first_of("\\/", start), entry.size());
        if (entry.compare(start, end - start, "..") == 0)
            return {EntryAccess::Refused, "'..' leads out of the sensor directory"};
        start = end + 1;
    }
    return {};
}

ServerListing take_server_listing(const std::string& contents, ListingFile listing, const Invocation& invocation) {
    if (listing == ListingFile::Global) return take_global_listing(contents, invocation);
    return take_profile_list(contents, invocation);
}

std::string listing_missing_message(ListingFile listing, const std::string& profileName) {
    return listing == ListingFile::Global ? global_listing_missing_message(profileName)
                                          : profile_list_missing_message(profileName);
}

std::string system_label(LabelKind kind, const std::string& entry, const ConnectionProfile& profile) {
    switch (kind) {
    case LabelKind::Alias: return entry.size() > 4 ? entry.substr(0, entry.size() - 4) : entry;
    case LabelKind::Host: return profile.hostname;
    case LabelKind::Sid: return profile.destination;
    case LabelKind::Profile: break;
    }
    return entry;
}
