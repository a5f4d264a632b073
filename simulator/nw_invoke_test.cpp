// RfcInvoke: the scenario's call and receive results, and nw.invoke, as the
// invoke's return code and error record.
#include <chrono>

#include "nw_fixture.h"

namespace nwrfcsim_test {
namespace {

struct InvokeCase {
    const char* lines;  // of [system PRD]
    RFC_RC code;
    RFC_ERROR_GROUP group;
    const char* key;
    const char* message;
};

class InvokeOutcomes : public NwOperations, public testing::WithParamInterface<InvokeCase> {};

TEST_P(InvokeOutcomes, MapCallAndReceive) {
    scenario(std::string("[system PRD]\nqueue = DIA 0 1 1 1 1\nexception = SYSTEM_FAILURE\n") + GetParam().lines);
    RFC_CONNECTION_HANDLE connection = open("SYSID=PRD");
    ASSERT_NE(connection, nullptr);
    RFC_RC result = RFC_OK;
    RFC_FUNCTION_HANDLE function = invoke(connection, result);
    EXPECT_EQ(result, GetParam().code);
    EXPECT_EQ(error.code, GetParam().code);
    EXPECT_EQ(error.group, GetParam().group);
    EXPECT_EQ(key_of(error), GetParam().key);
    EXPECT_EQ(message_of(error), GetParam().message);
    RFC_TABLE_HANDLE table = nullptr;
    ASSERT_EQ(RfcGetTable(function, u"REQUEST_QUEUES", &table, &error), RFC_OK);
    unsigned rows = 99;
    EXPECT_EQ(RfcGetRowCount(table, &rows, &error), RFC_OK);
    EXPECT_EQ(rows, GetParam().code == RFC_OK ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Results, InvokeOutcomes,
    testing::Values(InvokeCase{"", RFC_OK, OK, "", ""}, InvokeCase{"call = 0\nreceive = 0\n", RFC_OK, OK, "", ""},
                    InvokeCase{"call = 1\n", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                               "RFC_COMMUNICATION_FAILURE", "partner not reached"},
                    InvokeCase{"receive = 1\n", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                               "RFC_COMMUNICATION_FAILURE", "partner not reached"},
                    InvokeCase{"call = abort\n", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                               "RFC_COMMUNICATION_FAILURE", "partner not reached"},
                    InvokeCase{"receive = abort\nerror.message = gone\n", RFC_COMMUNICATION_FAILURE,
                               COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE", "gone"},
                    InvokeCase{"call = 2\nerror.key = IGNORED\n", RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE,
                               "SYSTEM_FAILURE", "partner not reached"},
                    InvokeCase{"receive = 2\n", RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, "SYSTEM_FAILURE",
                               "partner not reached"},
                    InvokeCase{"call = 3\n", RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE, "RFC_ABAP_RUNTIME_FAILURE",
                               "partner not reached"},
                    InvokeCase{"receive = 3\nerror.key = DUMP\nerror.message = short dump\n", RFC_ABAP_RUNTIME_FAILURE,
                               ABAP_RUNTIME_FAILURE, "DUMP", "short dump"},
                    InvokeCase{"call = 7\n", RFC_UNKNOWN_ERROR, EXTERNAL_RUNTIME_FAILURE, "RFC_UNKNOWN_ERROR",
                               "partner not reached"},
                    InvokeCase{"receive = -1\n", RFC_UNKNOWN_ERROR, EXTERNAL_RUNTIME_FAILURE, "RFC_UNKNOWN_ERROR",
                               "partner not reached"},
                    InvokeCase{"call = 3\nreceive = 1\n", RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE,
                               "RFC_ABAP_RUNTIME_FAILURE", "partner not reached"},
                    InvokeCase{"nw.invoke = RFC_CLOSED\n", RFC_CLOSED, EXTERNAL_RUNTIME_FAILURE, "RFC_CLOSED",
                               "partner not reached"},
                    InvokeCase{"call = 2\nnw.invoke = RFC_ABAP_MESSAGE\n", RFC_ABAP_MESSAGE, ABAP_APPLICATION_FAILURE,
                               "RFC_ABAP_MESSAGE", "partner not reached"}));

TEST_F(NwOperations, OnlyTheRequestQueueFunctionIsKnown) {
    scenario("[system PRD]\nerror.message = no such function\n");
    RFC_CONNECTION_HANDLE connection = open("SYSID=PRD");
    EXPECT_EQ(RfcGetFunctionDesc(connection, u"RFC_PING", &error), nullptr);
    EXPECT_EQ(error.code, RFC_ABAP_EXCEPTION);
    EXPECT_EQ(key_of(error), "FU_NOT_FOUND");
    EXPECT_EQ(message_of(error), "no such function");
    EXPECT_NE(RfcGetFunctionDesc(connection, u"TH_REQUEST_QUEUE", &error), nullptr);
    EXPECT_EQ(error.code, RFC_OK);
}

TEST_F(NwOperations, ClosedConnectionsAndDestroyedFunctionsAreInvalidHandles) {
    scenario("[system PRD]\n");
    RFC_CONNECTION_HANDLE connection = open("SYSID=PRD");
    RFC_RC result = RFC_UNKNOWN_ERROR;
    RFC_FUNCTION_HANDLE function = invoke(connection, result);
    EXPECT_EQ(result, RFC_OK);
    EXPECT_EQ(RfcDestroyFunction(function, &error), RFC_OK);
    EXPECT_EQ(RfcInvoke(connection, function, &error), RFC_INVALID_HANDLE);
    EXPECT_EQ(RfcDestroyFunction(function, &error), RFC_INVALID_HANDLE);
    function = invoke(connection, result);
    EXPECT_EQ(RfcCloseConnection(connection, &error), RFC_OK);
    EXPECT_EQ(RfcInvoke(connection, function, &error), RFC_INVALID_HANDLE);
    EXPECT_EQ(RfcCloseConnection(connection, &error), RFC_INVALID_HANDLE);
    EXPECT_EQ(RfcGetFunctionDesc(connection, u"TH_REQUEST_QUEUE", &error), nullptr);
    EXPECT_EQ(error.code, RFC_INVALID_HANDLE);
}

TEST_F(NwOperations, LibrarySwitchesReachFunctionsAndRows) {
    scenario("[library]\ncreate_table = fail\n[system PRD]\n");
    RFC_CONNECTION_HANDLE connection = open("SYSID=PRD");
    RFC_FUNCTION_DESC_HANDLE description = RfcGetFunctionDesc(connection, u"TH_REQUEST_QUEUE", &error);
    EXPECT_EQ(RfcCreateFunction(description, &error), nullptr);
    EXPECT_EQ(error.code, RFC_MEMORY_INSUFFICIENT);
    rfcsim::reset_nw_simulator();
    scenario("[library]\ndelete_table = fail\n[system PRD]\n");
    connection = open("SYSID=PRD");
    description = RfcGetFunctionDesc(connection, u"TH_REQUEST_QUEUE", &error);
    RFC_FUNCTION_HANDLE function = RfcCreateFunction(description, &error);
    EXPECT_EQ(RfcDestroyFunction(function, &error), RFC_ILLEGAL_STATE);
    EXPECT_EQ(RfcInvoke(connection, function, &error), RFC_OK);
}

std::vector<std::chrono::microseconds> waits;

void note_wait(std::chrono::microseconds duration) {
    waits.push_back(duration);
}

TEST_F(NwOperations, AnInvokeWaitsItsOwnDelayBeforeItActs) {
    scenario("[system PRD]\ncall = 1\ndelay = RfcCall 3\ndelay = RfcReceive 4\ndelay = RfcInvoke 0.25\n");
    waits.clear();
    rfcsim::set_nw_waiter(note_wait);
    RFC_CONNECTION_HANDLE connection = open("SYSID=PRD");
    RFC_RC result = RFC_OK;
    invoke(connection, result);
    EXPECT_EQ(result, RFC_COMMUNICATION_FAILURE);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0], std::chrono::milliseconds(250));
}

}  // namespace
}  // namespace nwrfcsim_test
