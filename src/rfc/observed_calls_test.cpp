#include "observed_calls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "connection.h"
#include "rfc_loader.h"

namespace {

// A library that refuses every logon and says why.
RfcHandle RFC_CALL refusing_open(RfcConnectionOptions*) {
    return 0;
}
RfcHandle RFC_CALL refusing_open_ex(const char*, RfcExtendedError*) {
    return 0;
}
int32_t RFC_CALL logon_failure(RfcErrorInformation* error) {
    std::strcpy(error->key, "RFC_ERROR_LOGON_FAILURE");
    std::strcpy(error->message, "Name or password is incorrect");
    return 0;
}

}  // namespace

TEST(ObservedCalls, TellTheWayAndTheLastErrorButNeverThePassword) {
    const RfcLibrary saved = rfc_operations();
    RfcLibrary refusing{};
    refusing.RfcOpen = refusing_open;
    refusing.RfcOpenEx = refusing_open_ex;
    refusing.RfcLastError = logon_failure;
    replace_rfc_operations(refusing);
    std::vector<LibraryCallNote> notes;
    observe_library_calls([&notes](const LibraryCallNote& note) { notes.push_back(note); });

    ConnectionProfile profile;
    profile.destination = "PRD";
    profile.client = "100";
    profile.user = "MONITOR";
    profile.password = "s3cret";
    profile.language = "E";
    profile.mode = "R/3";
    profile.hostname = "APP01";
    profile.sysnr = "07";
    ConnectionRecords records;
    fill_connection_records(records, profile, {});
    EXPECT_EQ(rfc_operations().RfcOpen(&records.options), 0u);
    EXPECT_EQ(rfc_operations().RfcOpenEx(connect_string(profile).c_str(), nullptr), 0u);
    replace_rfc_operations(saved);

    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].given, "direct to PRD, host APP01, system number 7, client 100, user MONITOR, language E");
    EXPECT_FALSE(notes[0].ended);
    EXPECT_EQ(notes[1].result, "no connection");
    EXPECT_TRUE(notes[1].failed);
    ASSERT_TRUE(notes[1].lastError.has_value());
    EXPECT_EQ(notes[1].lastError->key, "RFC_ERROR_LOGON_FAILURE");
    EXPECT_EQ(notes[3].given, "configured destination, CLIENT=100 USER=MONITOR LANG=D DEST=PRD");
    for (const LibraryCallNote& note : notes)
        EXPECT_EQ((note.given + note.result).find("s3cret"), std::string::npos) << note.operation;
}
