#include "observed_calls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "connection.h"
#include "rfc_loader.h"
#include "windows1252.h"

namespace {

// The profile both libraries' notes are told for.
ConnectionProfile monitor_profile() {
    ConnectionProfile profile;
    profile.destination = "PRD";
    profile.client = "100";
    profile.user = "MONITOR";
    profile.password = "s3cret";
    profile.language = "E";
    profile.mode = "R/3";
    profile.hostname = "APP01";
    profile.sysnr = "07";
    return profile;
}

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

    ConnectionProfile profile = monitor_profile();
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

namespace {

// A NetWeaver library that refuses the user LOCKED, opens any other logon,
// and answers the calls after it with fixed values.
RFC_CONNECTION_HANDLE fakeConnection = reinterpret_cast<RFC_CONNECTION_HANDLE>(0x40);
RFC_FUNCTION_DESC_HANDLE fakeDescription = reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(0x50);
RFC_FUNCTION_HANDLE fakeFunction = reinterpret_cast<RFC_FUNCTION_HANDLE>(0x60);

void fill_record(RFC_ERROR_INFO* record, RFC_RC code, RFC_ERROR_GROUP group, const char16_t* key,
                 const char16_t* message) {
    *record = RFC_ERROR_INFO{};
    record->code = code;
    record->group = group;
    std::char_traits<char16_t>::copy(record->key, key, std::char_traits<char16_t>::length(key));
    std::char_traits<char16_t>::copy(record->message, message, std::char_traits<char16_t>::length(message));
}

RFC_CONNECTION_HANDLE RFC_CALL nw_open(const RFC_CONNECTION_PARAMETER* parameters, unsigned count,
                                       RFC_ERROR_INFO* record) {
    for (unsigned i = 0; i < count; ++i)
        if (std::u16string(parameters[i].value) == u"LOCKED") {
            fill_record(record, RFC_LOGON_FAILURE, LOGON_FAILURE, u"RFC_LOGON_FAILURE", u"User is locked");
            return nullptr;
        }
    // Each connection the same handle: the library may hand out a closed one's again.
    return fakeConnection;
}
RFC_RC RFC_CALL nw_close(RFC_CONNECTION_HANDLE, RFC_ERROR_INFO*) {
    return RFC_OK;
}
RFC_FUNCTION_DESC_HANDLE RFC_CALL nw_describe(RFC_CONNECTION_HANDLE, const SAP_UC*, RFC_ERROR_INFO*) {
    return fakeDescription;
}
RFC_FUNCTION_HANDLE RFC_CALL nw_create(RFC_FUNCTION_DESC_HANDLE, RFC_ERROR_INFO*) {
    return fakeFunction;
}
RFC_RC RFC_CALL nw_invoke(RFC_CONNECTION_HANDLE, RFC_FUNCTION_HANDLE, RFC_ERROR_INFO* record) {
    fill_record(record, RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, u"NOT_AUTHORIZED", u"");
    return RFC_ABAP_EXCEPTION;
}
RFC_RC RFC_CALL nw_row_count(RFC_TABLE_HANDLE, unsigned* count, RFC_ERROR_INFO*) {
    *count = 3;
    return RFC_OK;
}
RFC_RC RFC_CALL nw_move_to(RFC_TABLE_HANDLE, unsigned index, RFC_ERROR_INFO*) {
    return index < 3 ? RFC_OK : RFC_TABLE_MOVE_EOF;
}
RFC_RC RFC_CALL nw_get_chars(DATA_CONTAINER_HANDLE, const SAP_UC*, RFC_CHAR* buffer, unsigned length, RFC_ERROR_INFO*) {
    const std::u16string line = u"DIA   14";
    std::fill(buffer, buffer + length, u' ');
    std::char_traits<char16_t>::copy(buffer, line.data(), line.size());
    return RFC_OK;
}

std::vector<RFC_CONNECTION_PARAMETER> parameters_of(
    const std::vector<std::pair<std::u16string, std::u16string>>& texts) {
    std::vector<RFC_CONNECTION_PARAMETER> parameters;
    for (const auto& [name, value] : texts) parameters.push_back({name.c_str(), value.c_str()});
    return parameters;
}

}  // namespace

// The NetWeaver library told as the classic one is: the way and the logon
// without the password, connections by the order they opened in, and the
// record of a failed logon or call as the library's error.
TEST(ObservedCalls, NetWeaverCallsTellTheSameStory) {
    const NwRfcLibrary saved = nwrfc_operations();
    NwRfcLibrary fake{};
    fake.RfcOpenConnection = nw_open;
    fake.RfcCloseConnection = nw_close;
    fake.RfcGetFunctionDesc = nw_describe;
    fake.RfcCreateFunction = nw_create;
    fake.RfcInvoke = nw_invoke;
    fake.RfcGetRowCount = nw_row_count;
    fake.RfcMoveTo = nw_move_to;
    fake.RfcGetChars = nw_get_chars;
    replace_nwrfc_operations(fake);
    std::vector<LibraryCallNote> notes;
    observe_library_calls([&notes](const LibraryCallNote& note) {
        if (note.ended) notes.push_back(note);
    });

    ConnectionProfile profile = monitor_profile();
    profile.gwhost = "GW01";
    ConnectionRecords records;
    fill_connection_records(records, profile, {});
    const auto texts = [&records](bool configured) {
        std::vector<std::pair<std::u16string, std::u16string>> units;
        for (const auto& [name, value] : netweaver_parameters(records, configured))
            units.emplace_back(utf16_from_windows1252(name), utf16_from_windows1252(value));
        return units;
    };
    const auto direct = texts(false);
    const auto configured = texts(true);
    const NwRfcLibrary& library = nwrfc_operations();
    RFC_ERROR_INFO record{};
    const RFC_CONNECTION_HANDLE first =
        library.RfcOpenConnection(parameters_of(direct).data(), static_cast<unsigned>(direct.size()), &record);
    library.RfcCloseConnection(first, &record);
    const RFC_CONNECTION_HANDLE second =
        library.RfcOpenConnection(parameters_of(configured).data(), static_cast<unsigned>(configured.size()), &record);
    const RFC_FUNCTION_HANDLE function =
        library.RfcCreateFunction(library.RfcGetFunctionDesc(second, u"TH_REQUEST_QUEUE", &record), &record);
    library.RfcInvoke(second, function, &record);
    unsigned rows = 0;
    library.RfcGetRowCount(nullptr, &rows, &record);
    library.RfcMoveTo(nullptr, 3, &record);
    std::array<RFC_CHAR, 80> line{};
    library.RfcGetChars(nullptr, u"THLINE", line.data(), 80, &record);
    profile.user = "LOCKED";
    fill_connection_records(records, profile, {});
    const auto refused = texts(false);
    library.RfcOpenConnection(parameters_of(refused).data(), static_cast<unsigned>(refused.size()), &record);
    replace_nwrfc_operations(saved);

    const struct {
        const char* operation;
        const char* given;
        const char* result;
        bool failed;
        const char* errorKey;  // null: no error noted
    } expected[] = {
        {"RfcOpenConnection",
         "direct to PRD, host APP01, system number 07, gateway host GW01, client 100, user MONITOR, language E",
         "connection 1", false, nullptr},
        {"RfcCloseConnection", "connection 1", "RFC_OK", false, nullptr},
        {"RfcOpenConnection", "configured destination, DEST=PRD CLIENT=100 USER=MONITOR LANG=D", "connection 2", false,
         nullptr},
        {"RfcGetFunctionDesc", "connection 2, TH_REQUEST_QUEUE", "a description", false, nullptr},
        {"RfcCreateFunction", "TH_REQUEST_QUEUE", "a function", false, nullptr},
        {"RfcInvoke", "connection 2, TH_REQUEST_QUEUE", "RFC_ABAP_EXCEPTION", true, "NOT_AUTHORIZED"},
        {"RfcGetRowCount", "", "3 rows", false, nullptr},
        {"RfcMoveTo", "row 3", "RFC_TABLE_MOVE_EOF", true, nullptr},
        {"RfcGetChars", "THLINE, 80 characters", "\"DIA   14\"", false, nullptr},
        {"RfcOpenConnection",
         "direct to PRD, host APP01, system number 07, gateway host GW01, client 100, user LOCKED, "
         "language E",
         "no connection", true, "RFC_LOGON_FAILURE"},
    };
    ASSERT_EQ(notes.size(), std::size(expected));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const LibraryCallNote& note = notes[i];
        EXPECT_EQ(note.operation, expected[i].operation) << i;
        EXPECT_EQ(note.given, expected[i].given) << i;
        EXPECT_EQ(note.result, expected[i].result) << i;
        EXPECT_EQ(note.failed, expected[i].failed) << i;
        EXPECT_EQ(note.lastError.has_value(), expected[i].errorKey != nullptr) << i;
        if (note.lastError && expected[i].errorKey) {
            EXPECT_EQ(note.lastError->key, expected[i].errorKey) << i;
        }
        EXPECT_EQ((note.given + note.result).find("s3cret"), std::string::npos) << i;
    }
    ASSERT_TRUE(notes.back().lastError.has_value());
    EXPECT_EQ(notes.back().lastError->status, "RFC_LOGON_FAILURE");
    EXPECT_EQ(notes.back().lastError->message, "User is locked");
}
