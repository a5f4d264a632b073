// The listing files of the multi-system run: the global server listing, in
// which each sensor finds its own lines through its sensor key, and the
// profile list, all of whose server lines belong to the run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "run/settings.h"

enum class ListingFile { Global, ProfileList };

// A listing line is read up to this many characters; the rest of a longer
// line arrives as a further line.
inline constexpr std::size_t listingLineWidth = 199;
// The sensor key fills this many columns of a listing line.
inline constexpr std::size_t sensorKeyWidth = 10;

// What reading a listing found besides the settings it filled.
struct ListingReading {
    bool allocationFound = false;
    std::string allocationText;  // the first allocation line from column 20, case as in the file
    std::optional<std::string> endingMessage;  // the message the run ends with, if any
};

// The first word of the upper-cased option string, padded with blanks to ten
// characters; a longer word stays whole.
std::string sensor_key(const std::string& optionString);

// The entries of a server listing in order: the texts before each '#', and
// a last text without one.
std::vector<std::string> listing_entries(const std::string& serverListing);

// Reads a listing's contents (text mode) into serverListing and labelKind,
// and for the global listing also itemId and optionText. Stops at the first
// message that ends the run; the settings then hold what was read so far.
ListingReading take_server_listing(const std::string& contents, ListingFile listing, RunSettings& settings);

// "Error 1024: ProFile NAME is missing..." for the profile list, "Error 10x1: ..."
// for the global listing.
std::string listing_missing_message(ListingFile listing, const std::string& profileName);

// The global listing is the one the profile name GLOBAL was completed to.
ListingFile listing_file_named(const std::string& profileName);

// Reads the listing at settings.profilePath; every failure ends the run.
void read_server_listing(RunSettings& settings);
