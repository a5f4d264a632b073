#include "run/listing.h"

#include <algorithm>
#include <utility>

#include "platform/files.h"
#include "platform/text_pieces.h"
#include "run/command_line.h"
#include "run/profile_location.h"
#include "run/run_control.h"

namespace {

const std::string globalServerMarker = "# GSNG: ";
const std::string globalAllocationMarker = "# GSNX: ";
// The profile list knows only server lines, and only with this exact marker.
const std::string profileListServerMarker = "# Gsng: ";
const std::string sensorTag = "Sensor=\"SAP Wickerby\"";
const std::string optionTextEnd = ",Sensor=";
const std::string itemKeyword = "Item=";

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
bool take_allocation(const std::string& line, RunSettings& settings, ListingReading& reading) {
    reading.allocationText = from_column(line, allocationStart);
    const std::string& text = reading.allocationText;
    if (text.find(sensorTag) == std::string::npos) return false;
    std::string option = text.substr(0, text.find(optionTextEnd));
    std::replace(option.begin(), option.end(), ':', ' ');
    settings.optionText = option;
    settings.labelKind = label_kind_in(line, settings.labelKind);
    reading.allocationFound = true;
    return true;
}

std::optional<std::string> final_check(const RunSettings& settings) {
    if (settings.serverListing.empty()) return "Error 1025: Global Server Listing missing...";
    if (settings.itemId.empty()) return "Error 1026: Global Item Idenification missing...";
    return std::nullopt;
}

ListingReading take_global_listing(const std::string& contents, RunSettings& settings) {
    const std::string key = sensor_key(settings.optionString);
    const std::string serverMarker = globalServerMarker + key;
    const std::string allocationMarker = globalAllocationMarker + key;
    ListingReading reading;
    settings.serverListing.clear();
    settings.itemId.clear();
    settings.labelKind = LabelKind::Profile;

    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, listingLineWidth, piece)) {
        const std::string line = without_line_end(piece);
        const std::string upperLine = upper_cased(line.substr(0, markedColumns));
        if (has_marker(upperLine, serverMarker)) {
            settings.serverListing += from_column(line, fragmentStart);
        } else if (!reading.allocationFound && has_marker(upperLine, allocationMarker)) {
            if (!take_allocation(line, settings, reading)) {
                reading.endingMessage = "Error 1029: Invalid Sensor-Allocation...";
                return reading;
            }
        }
    }

    const std::string& text = reading.allocationText;
    std::size_t item = text.find(itemKeyword);
    if (item != std::string::npos) settings.itemId = item_value(text, text, item + itemKeyword.size());
    if (!reading.allocationFound)
        reading.endingMessage = "Error 1030: Global Sensor " + settings.secondArgument + " not found...";
    else
        reading.endingMessage = final_check(settings);
    return reading;
}

ListingReading take_profile_list(const std::string& contents, RunSettings& settings) {
    ListingReading reading;
    settings.serverListing.clear();
    settings.labelKind = LabelKind::Profile;
    TextPieces pieces{contents};
    std::string piece;
    while (next_piece(pieces, listingLineWidth, piece)) {
        const std::string line = without_line_end(piece);
        if (line.compare(0, profileListServerMarker.size(), profileListServerMarker) == 0)
            settings.serverListing += from_column(line, fragmentStart);
    }
    reading.endingMessage = final_check(settings);
    return reading;
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

ListingReading take_server_listing(const std::string& contents, ListingFile listing, RunSettings& settings) {
    if (listing == ListingFile::Global) return take_global_listing(contents, settings);
    return take_profile_list(contents, settings);
}

std::string listing_missing_message(ListingFile listing, const std::string& profileName) {
    const char* head = listing == ListingFile::Global ? "Error 10x1: ProFile " : "Error 1024: ProFile ";
    return head + profileName + " is missing...";
}

ListingFile listing_file_named(const std::string& profileName) {
    return profileName == globalListingName ? ListingFile::Global : ListingFile::ProfileList;
}

void read_server_listing(RunSettings& settings) {
    const ListingFile listing = listing_file_named(settings.profileName);
    std::optional<std::string> contents = read_text_file(settings.profilePath);
    if (!contents) fail_run(listing_missing_message(listing, settings.profileName));
    ListingReading reading = take_server_listing(*contents, listing, settings);
    if (reading.endingMessage) fail_run(*reading.endingMessage);
}
