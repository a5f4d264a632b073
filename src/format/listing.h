// The listing files of the multi-system run: the global server listing, in
// which each sensor finds its own lines through its sensor key, and the
// profile list, all of whose server lines belong to the run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "profile.h"

enum class ListingFile { Global, ProfileList };

// How the multi-system run names each system's channel.
enum class LabelKind { Profile, Alias, Host, Sid };

// A listing line is read up to this many characters; the rest of a longer
// line arrives as a further line.
inline constexpr std::size_t listingLineWidth = 199;
// The sensor key fills this many columns of a listing line.
inline constexpr std::size_t sensorKeyWidth = 10;

// What the listing holds for this sensor.
struct ServerListing {
    std::string serverListing;  // profile file names, each followed by '#'
    LabelKind labelKind = LabelKind::Profile;
    std::string itemId;
    // The option text the systems run with: the global listing's allocation
    // text, otherwise the command line's.
    std::string optionText;
    ChannelOptions channels;        // the entries of optionText
    ConnectionOverrides overrides;  // the ",HOST=" and ",NO=" of optionText
    bool allocationFound = false;
    std::string allocationText;                // the first allocation line from column 20, case as in the file
    std::optional<std::string> endingMessage;  // the message the run ends with, if any
};

// The first word of the upper-cased option string, padded with blanks to ten
// characters; a longer word stays whole.
std::string sensor_key(const std::string& optionString);

// The entries of a server listing in order: the texts before each '#', and
// a last text without one.
std::vector<std::string> listing_entries(const std::string& serverListing);

// What the run does with a listing entry, decided before it opens anything.
enum class EntryAccess {
    Open,     // its file is read; a file that does not open is a missing profile
    Missing,  // no Windows file name is like it: a missing profile, never opened
    Refused,  // its file would lie outside the sensor directory: a failed system, never opened
};

struct EntryCheck {
    EntryAccess access = EntryAccess::Open;
    std::string reason;  // why the entry is not opened
};

// Looks at the entry up to its first NUL, where the file's name ends.
// Missing: a control character or one of "*<>?|, which Windows allows in no
// file name, or a ':' that is neither a drive's nor one of a stream's.
// Refused: a ".." component (between '\\' and '/' separators alike), a
// leading separator (the root of the drive), or a ':' (another drive, or a
// stream of a file).
EntryCheck check_listing_entry(const std::string& entry);

// Reads a listing's contents (text mode) for the sensor of this command
// line. Stops at the first message that ends the run; the listing then holds
// what was read so far.
ServerListing take_server_listing(const std::string& contents, ListingFile listing, const Invocation& invocation);

// "Error 1024: ..." for the profile list, "Error 10x1: ..." for the global listing.
std::string listing_missing_message(ListingFile listing, const std::string& profileName);

// The name of a system's channel: the entry (Profile), the entry without
// its last four characters (Alias), the profile's host name (Host) or its
// destination (Sid).
std::string system_label(LabelKind kind, const std::string& entry, const ConnectionProfile& profile);
