#include "listing.h"

#include <gtest/gtest.h>

namespace {

const std::string tag = "Sensor=\"SAP Wickerby\"";
const std::string key = "SENSOR01  ";
const std::string other = "OTHER     ";

// A server line: marker, key, two unexamined columns, names from column 21.
std::string server(const std::string& lineKey, const std::string& names) {
    return "# GSNG: " + lineKey + ": " + names + "\n";
}

// An allocation line: marker, key, column 19, allocation text from column 20.
std::string allocation(const std::string& lineKey, const std::string& text) {
    return "# GSNX: " + lineKey + ":" + text + "\n";
}

ServerListing read_global(const std::string& contents, const std::string& optionString = "SENSOR01",
                          const std::string& secondArgument = "sensor01") {
    Invocation invocation;
    invocation.optionString = optionString;
    invocation.optionText = "as typed";
    invocation.secondArgument = secondArgument;
    invocation.itemId = "left over";
    invocation.channels = channel_options(optionString);
    return take_server_listing(contents, ListingFile::Global, invocation);
}

TEST(ListingTest, SensorKeyIsFirstWordPaddedToTen) {
    EXPECT_EQ(sensor_key("SENSOR01 DIALOG"), "SENSOR01  ");
    EXPECT_EQ(sensor_key(""), std::string(10, ' '));
    EXPECT_EQ(sensor_key("SENSOR01ABCD,X Y"), "SENSOR01ABCD,X");
}

struct EndingCase {
    const char* what;
    std::string contents;
    std::string optionString;
    std::string secondArgument;
    std::string message;
};

TEST(ListingTest, GlobalListingEndsWithTheMessageInOrder) {
    const std::string good = allocation(key, " Item=Requests:Dialog," + tag);
    const std::string longText = " Item=X," + std::string(185, 'x');
    const EndingCase cases[] = {
        {"no line with the key", server(other, "A.P00#") + allocation(other, " Item=X," + tag), "SENSOR01 DIALOG",
         "sensor01", "Error 1030: Global Sensor sensor01 not found..."},
        {"GLOBAL alone", server(other, "A.P00#"), "", "", "Error 1030: Global Sensor  not found..."},
        {"only other keys' servers", good + server(other, "A.P00#"), "SENSOR01", "",
         "Error 1025: Global Server Listing missing..."},
        {"no Item=", allocation(key, " DIALOG," + tag) + server(key, "A.P00#"), "SENSOR01", "",
         "Error 1026: Global Item Idenification missing..."},
        {"item= in lower case", allocation(key, " item=X," + tag) + server(key, "A.P00#"), "SENSOR01", "",
         "Error 1026: Global Item Idenification missing..."},
        {"1025 before 1026", allocation(key, " DIALOG," + tag), "SENSOR01", "",
         "Error 1025: Global Server Listing missing..."},
        {"tag in another case", allocation(key, " Item=X,Sensor=\"SAP WICKERBY\"") + server(key, "A.P00#"), "SENSOR01",
         "", "Error 1029: Invalid Sensor-Allocation..."},
        {"tag without the blank", allocation(key, " Item=X,Sensor=\"SAPWickerby\"") + server(key, "A.P00#"), "SENSOR01",
         "", "Error 1029: Invalid Sensor-Allocation..."},
        {"tag without quotes", allocation(key, " Item=X,Sensor=SAP Wickerby") + server(key, "A.P00#"), "SENSOR01", "",
         "Error 1029: Invalid Sensor-Allocation..."},
        {"1029 before 1030 and 1025", allocation(key, " Item=X"), "SENSOR01", "",
         "Error 1029: Invalid Sensor-Allocation..."},
        {"tag beyond column 199", allocation(key, longText + tag) + server(key, "A.P00#"), "SENSOR01", "",
         "Error 1029: Invalid Sensor-Allocation..."},
        {"allocation line of 18 columns", "# GSNX: SENSOR01  \n" + server(key, "A.P00#"), "SENSOR01", "",
         "Error 1029: Invalid Sensor-Allocation..."},
        {"line shorter than the key", "# GSNX: SENSOR01\n" + server(key, "A.P00#"), "SENSOR01", "x",
         "Error 1030: Global Sensor x not found..."},
        {"tenth key character differs", allocation("SENSOR01AC", " Item=X," + tag), "SENSOR01AB", "k",
         "Error 1030: Global Sensor k not found..."},
        {"short key needs blanks", allocation("ABCD      ", " Item=X," + tag), "ABC", "abc",
         "Error 1030: Global Sensor abc not found..."},
    };
    for (const EndingCase& c : cases) {
        ServerListing listing = read_global(c.contents, c.optionString, c.secondArgument);
        EXPECT_EQ(listing.endingMessage.value_or("(none)"), c.message) << c.what;
    }
}

TEST(ListingTest, GlobalListingStopsReadingAtAnInvalidAllocation) {
    ServerListing listing = read_global(server(key, "A.P00#") + allocation(key, " Item=X") + server(key, "B.P00#"));
    EXPECT_EQ(listing.endingMessage, "Error 1029: Invalid Sensor-Allocation...");
    EXPECT_EQ(listing.serverListing, "A.P00#");
    EXPECT_EQ(listing.optionText, "as typed");
}

struct ReadingCase {
    const char* what;
    std::string contents;
    std::string optionString;
    std::string serverListing;
    std::string itemId;
    LabelKind labelKind;
    std::string optionText;
};

TEST(ListingTest, GlobalListingFillsTheSettings) {
    const std::string names250 = std::string(240, 'n') + ".P00#XYZ";
    const std::string item100 = std::string(100, 'i');
    const ReadingCase cases[] = {
        {"the allocation example", allocation(key, " Item=Requests:Dialog DIALOG,Alias," + tag) + server(key, "A.P00#"),
         "SENSOR01", "A.P00#", "Requests Dialog", LabelKind::Alias, " Item=Requests Dialog DIALOG,Alias"},
        {"server lines concatenated",
         server(key, "A.P00#B.P00#") + server(other, "X.P00#") + allocation(key, " Item=I," + tag) +
             server(key, "C.P00#"),
         "SENSOR01", "A.P00#B.P00#C.P00#", "I", LabelKind::Profile, " Item=I"},
        {"markers and key in any case", "# gsng: sensor01  : a.P00#\n# Gsnx: Sensor01  :Item=I " + tag + "\n",
         "SENSOR01", "a.P00#", "I", LabelKind::Profile, "Item=I " + tag},
        {"long key compared on ten", server("SENSOR01ab", "A.P00#") + allocation("sensor01AB", " Item=I," + tag),
         "SENSOR01AB12 DIALOG", "A.P00#", "I", LabelKind::Profile, " Item=I"},
        {"short key with blanks", server("abc       ", "A.P00#") + allocation("ABC       ", " Item=I," + tag), "ABC",
         "A.P00#", "I", LabelKind::Profile, " Item=I"},
        {"Host tested after Alias", allocation(key, " Item=I,Host,Alias," + tag) + server(key, "A#"), "SENSOR01", "A#",
         "I", LabelKind::Host, " Item=I,Host,Alias"},
        {"Sid tested last", allocation(key, " Item=I,Sid,Profile,Host," + tag) + server(key, "A#"), "SENSOR01", "A#",
         "I", LabelKind::Sid, " Item=I,Sid,Profile,Host"},
        {"label kind after the tag", allocation(key, " Item=I," + tag + ",Alias") + server(key, "A#"), "SENSOR01", "A#",
         "I", LabelKind::Alias, " Item=I"},
        {"label kind in column 19", "# GSNX: SENSOR01  ,Host Item=I " + tag + "\n" + server(key, "A#"), "SENSOR01",
         "A#", "I", LabelKind::Host, "Host Item=I " + tag},
        {"first allocation line counts",
         allocation(key, " Item=First,Host," + tag) + allocation(key, " Item=Second,Sid") + server(key, "A#"),
         "SENSOR01", "A#", "First", LabelKind::Host, " Item=First,Host"},
        {"item of 100 characters", allocation(key, " Item=" + item100 + "," + tag) + server(key, "A#"), "SENSOR01",
         "A#", item100.substr(0, 90), LabelKind::Profile, " Item=" + item100},
        {"server line beyond 199", allocation(key, " Item=I," + tag) + server(key, names250), "SENSOR01",
         names250.substr(0, 179), "I", LabelKind::Profile, " Item=I"},
        {"carriage return at the end", allocation(key, " Item=I," + tag) + "# GSNG: SENSOR01  : A#\r", "SENSOR01", "A#",
         "I", LabelKind::Profile, " Item=I"},
    };
    for (const ReadingCase& c : cases) {
        ServerListing listing = read_global(c.contents, c.optionString);
        EXPECT_FALSE(listing.endingMessage.has_value()) << c.what << ": " << *listing.endingMessage;
        EXPECT_EQ(listing.serverListing, c.serverListing) << c.what;
        EXPECT_EQ(listing.itemId, c.itemId) << c.what;
        EXPECT_EQ(listing.labelKind, c.labelKind) << c.what;
        EXPECT_EQ(listing.optionText, c.optionText) << c.what;
    }
}

TEST(ListingTest, ChannelEntriesOfAGlobalListingComeFromItsOptionTextAndTheCommandLine) {
    struct Case {
        const char* what;
        std::string allocationText;
        std::string optionString;
        bool rates, queueLengths, failedSystems;
        LabelKind labelKind;
    };
    const Case cases[] = {
        {"any case", " Item=I,rate,Queues,FAILED,Host," + tag, "SENSOR01", true, true, true, LabelKind::Host},
        {"colon read as blank", " Item=I,Sid,Failed:x,Rate:" + tag, "SENSOR01", true, false, true, LabelKind::Sid},
        {"after the sensor tag", " Item=I," + tag + ",RATE,FAILED", "SENSOR01", false, false, false,
         LabelKind::Profile},
        {"command line only", " Item=I,Alias," + tag, "SENSOR01 ,RATE,FAILED", true, false, true, LabelKind::Alias},
        {"neither", " Item=I,Alias," + tag, "SENSOR01 ,TIMEOUT=9", false, false, false, LabelKind::Alias},
    };
    for (const Case& c : cases) {
        const ServerListing listing =
            read_global(allocation(key, c.allocationText) + server(key, "A#"), c.optionString);
        EXPECT_FALSE(listing.endingMessage.has_value()) << c.what;
        EXPECT_EQ(listing.itemId, "I") << c.what;
        EXPECT_EQ(listing.labelKind, c.labelKind) << c.what;
        EXPECT_EQ(listing.channels.rates, c.rates) << c.what;
        EXPECT_EQ(listing.channels.queueLengths, c.queueLengths) << c.what;
        EXPECT_EQ(listing.channels.failedSystems, c.failedSystems) << c.what;
    }
}

struct ProfileListCase {
    const char* what;
    std::string contents;
    std::string itemId;
    std::string serverListing;
    std::string message;
};

TEST(ListingTest, ProfileListTakesEveryExactServerMarker) {
    const std::string mixed = "# Gsng: KEY1      : A.P00#\n# GSNG: KEY1      : B.P00#\n# gsng: KEY1      : C.P00#\n"
                              "# Gsng:  KEY2     : D.P00#\n# GsngX KEY2      : E.P00#\n# GSNX: KEY1      : Item=X\n"
                              "# Gsng: KEY3      : F.P00#\n";
    const std::string names250 = std::string(250, 'n');
    const ProfileListCase cases[] = {
        {"exact marker, any key", mixed, "Requests Dialog", "A.P00#D.P00#F.P00#", "(none)"},
        {"no server line", "# GSNG: KEY1      : B.P00#\n", "Requests Dialog", "",
         "Error 1025: Global Server Listing missing..."},
        {"item without value", mixed, "", "A.P00#D.P00#F.P00#", "Error 1026: Global Item Idenification missing..."},
        {"1025 before 1026", "", "", "", "Error 1025: Global Server Listing missing..."},
        {"line beyond 199", "# Gsng: KEY1      : " + names250 + "\n", "I", names250.substr(0, 179), "(none)"},
    };
    for (const ProfileListCase& c : cases) {
        Invocation invocation;
        invocation.itemId = c.itemId;
        invocation.optionText = "X ITEM=Requests:Dialog";
        ServerListing listing = take_server_listing(c.contents, ListingFile::ProfileList, invocation);
        EXPECT_EQ(listing.endingMessage.value_or("(none)"), c.message) << c.what;
        EXPECT_EQ(listing.serverListing, c.serverListing) << c.what;
        EXPECT_EQ(listing.itemId, c.itemId) << c.what;
        EXPECT_EQ(listing.optionText, "X ITEM=Requests:Dialog") << c.what;
    }
}

TEST(ListingTest, MissingListingMessageNamesTheProfile) {
    EXPECT_EQ(listing_missing_message(ListingFile::ProfileList, "Pendrake.Prf"),
              "Error 1024: ProFile Pendrake.Prf is missing...");
    EXPECT_EQ(listing_missing_message(ListingFile::Global, "SAP Pendrake.Gbl"),
              "Error 10x1: ProFile SAP Pendrake.Gbl is missing...");
}

TEST(ListingTest, EntriesLeavingTheSensorDirectoryAreRefused) {
    const EntryCheck open{};
    const EntryCheck parent{EntryAccess::Refused, "'..' leads out of the sensor directory"};
    const EntryCheck colon{EntryAccess::Refused, "':' names a drive or a stream"};
    const EntryCheck noName{EntryAccess::Missing, "it holds a character that no file name may hold"};
    const EntryCheck colons{EntryAccess::Missing, "Windows opens no name with such colons"};
    const std::pair<std::string, EntryCheck> cases[] = {
        {"PRD.P00", open},
        {"Sub\\PRD.P00", open},
        {"Sub/PRD.P00", open},
        {"", open},
        {"..PRD.P00", open},
        {"PRD..P00", open},
        {"...\\PRD.P00", open},
        {".\\PRD.P00", open},
        {"..", parent},
        {"..\\OUTSIDE.P00", parent},
        {"../OUTSIDE.P00", parent},
        {"Sub\\..\\..\\OUTSIDE.P00", parent},
        {"Sub/..", parent},
        {"Sub\\../x", parent},
        {"\\PRD.P00", {EntryAccess::Refused, "a leading '\\' names the root of the drive"}},
        {"/PRD.P00", {EntryAccess::Refused, "a leading '/' names the root of the drive"}},
        {"C:\\PRD.P00", colon},
        {"C:PRD.P00", colon},
        {"PRD.P00:hidden", colon},
        {"\\..\\C:x", colon},
        // Windows opens no such name, so the entry stays a missing profile.
        {"\r# Gsng: KEY: DEV.P00", noName},
        {" Gsng: KEY: DEV.P00", colons},
        {"C:x:y:z", colons},
        {"a:b:c:$DATA", colon},  // a drive, then a stream
        {"ab:c:d:$DATA", colons},
        {"PRD.P00::$DATA", colon},
        {"C:PRD.P00:x", colon},
        {"..\\OUTSIDE.P00\t", noName},
        {"C:PRD?.P00", noName},
        {"PRD|.P00", noName},
        // The name ends at a NUL.
        {std::string("PRD.P00\0..\\x:\r", 14), open},
        {std::string("..\\x\0", 5), parent},
    };
    for (const auto& [entry, expected] : cases) {
        const EntryCheck check = check_listing_entry(entry);
        EXPECT_EQ(check.access, expected.access) << entry;
        EXPECT_EQ(check.reason, expected.reason) << entry;
    }
}

TEST(ListingTest, EachListingFileHasItsOwnRules) {
    const std::string contents = "# Gsng: SENSOR01  : A.P00#\n# GSNG: sensor01  : B.P00#\n# GSNX: SENSOR01  : "
                                 "Item=Requests:Batch," +
                                 tag + "\n";
    Invocation invocation;
    invocation.optionString = "SENSOR01";
    invocation.itemId = "Requests Dialog";
    const ServerListing global = take_server_listing(contents, ListingFile::Global, invocation);
    EXPECT_EQ(global.serverListing, "A.P00#B.P00#");
    EXPECT_EQ(global.itemId, "Requests Batch");

    const ServerListing profileList = take_server_listing(contents, ListingFile::ProfileList, invocation);
    EXPECT_EQ(profileList.serverListing, "A.P00#");
    EXPECT_EQ(profileList.itemId, "Requests Dialog");
}

}  // namespace
