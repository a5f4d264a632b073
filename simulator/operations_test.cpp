// Calls, tables, library faults, the last error and delays.
#include <chrono>
#include <functional>

#include "operations_fixture.h"

namespace rfcsim_test {
namespace {

TEST_F(Operations, RequestQueueCallFillsTheFirstTable) {
    scenario(std::string(prd) + "queue = DIA 0 2000 2000 51234 51234\nline = |NOWORK 1|\n");
    RfcHandle handle = open("PRD");
    RfcResult received = -1;
    TableHandle table = call_request_queue(handle, received);
    ASSERT_EQ(received, 0);
    ASSERT_EQ(ItFill(table), 2u);
    const char* first = static_cast<const char*>(ItGetLine(table, 1));
    const char* second = static_cast<const char*>(ItGetLine(table, 2));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(std::string(first, 80),
              "DIA                    0        2000        2000       51234       51234        ");
    EXPECT_EQ(std::string(second, 80), "NOWORK 1" + std::string(72, ' '));
    EXPECT_EQ(ItGetLine(table, 0), nullptr);
    EXPECT_EQ(ItGetLine(table, 3), nullptr);
    EXPECT_EQ(ItDelete(table), 0);
    EXPECT_EQ(ItFill(table), 0u);
    EXPECT_FALSE(fs::exists("Dev_Rfc.Trc"));
}

TEST_F(Operations, OnlyTheFirstDescriptorIsFilled) {
    scenario("[system PRD]\nqueue = DIA 1 1 1 1 1\n");
    RfcHandle handle = open("PRD");
    TableHandle first = ItCreate("REQUEST_QUEUES", 80, 0, 0);
    TableHandle second = ItCreate("OTHER", 80, 0, 0);
    RfcTableDescriptor tables[3] = {{"REQUEST_QUEUES", 14, 1, 0, first, 0, 0}, {"OTHER", 5, 1, 0, second, 0, 0}, {}};
    EXPECT_EQ(RfcReceive(handle, nullptr, tables, nullptr), 0);
    EXPECT_EQ(ItFill(first), 1u);
    EXPECT_EQ(ItFill(second), 0u);
}

TEST_F(Operations, EmptyQueueTable) {
    scenario("[system PRD]\n");
    RfcResult received = -1;
    TableHandle table = call_request_queue(open("PRD"), received);
    EXPECT_EQ(received, 0);
    EXPECT_EQ(ItFill(table), 0u);
    EXPECT_EQ(ItGetLine(table, 1), nullptr);
}

TEST_F(Operations, CallOnUnknownOrClosedHandleReturnsOneWithoutFailure) {
    scenario(prd);
    RfcResult received = -1;
    call_request_queue(7, received);
    EXPECT_EQ(received, 1);
    RfcHandle handle = open("PRD");
    RfcClose(handle);
    call_request_queue(handle, received);
    EXPECT_EQ(received, 1);
    EXPECT_EQ(RfcReceive(handle, nullptr, nullptr, nullptr), 1);
    EXPECT_STREQ(last_error().key, "");
    EXPECT_FALSE(fs::exists("Dev_Rfc.Trc"));
}

TEST_F(Operations, CloseWithTheNullHandleClosesEveryConnection) {
    scenario(prd);
    RfcHandle first = open("PRD");
    RfcHandle second = open("PRD");
    RfcClose(0);
    EXPECT_EQ(RfcCall(first, "TH_REQUEST_QUEUE", nullptr, nullptr), 1);
    EXPECT_EQ(RfcCall(second, "TH_REQUEST_QUEUE", nullptr, nullptr), 1);
    EXPECT_FALSE(fs::exists("Dev_Rfc.Trc"));
}

TEST_F(Operations, UnknownFunctionModule) {
    scenario(prd);
    EXPECT_EQ(RfcCall(open("PRD"), "TH_WPINFO", nullptr, nullptr), 1);
    EXPECT_STREQ(last_error().key, "FU_NOT_FOUND");
    EXPECT_TRUE(fs::exists("Dev_Rfc.Trc"));
}

TEST_F(Operations, CallResultIsTheScenariosAndNonZeroIsAFailure) {
    scenario("[system PRD]\ncall = 3\nerror.key = CALL_KEY\n");
    RfcResult received = -1;
    call_request_queue(open("PRD"), received);
    EXPECT_EQ(received, 3);
    EXPECT_STREQ(last_error().key, "CALL_KEY");
    EXPECT_EQ(handlerCalls, "");
}

TEST_F(Operations, CallAbort) {
    scenario("[system PRD]\ncall = abort\n");
    RfcResult received = -1;
    call_request_queue(open("PRD"), received);
    EXPECT_EQ(received, 1);
    EXPECT_EQ(handlerCalls, "RfcCall;");
}

TEST_F(Operations, ReceiveHandsOutTheExceptionTextForTwoAndThree) {
    scenario("[system PRD]\nreceive = 2\nexception = SYSTEM_FAILURE\nqueue = DIA 1 1 1 1 1\n"
             "[system QAS]\nreceive = 3\n[system DEV]\nreceive = 1\n");
    RfcResult received = -1;
    char* exception = nullptr;
    TableHandle table = call_request_queue(open("PRD"), received, &exception);
    EXPECT_EQ(received, 2);
    ASSERT_NE(exception, nullptr);
    EXPECT_STREQ(exception, "SYSTEM_FAILURE");
    EXPECT_EQ(ItFill(table), 0u);
    EXPECT_STREQ(last_error().message, "partner not reached");

    exception = nullptr;
    call_request_queue(open("QAS"), received, &exception);
    EXPECT_EQ(received, 3);
    EXPECT_STREQ(exception, "RFC_EXCEPTION");

    exception = nullptr;
    call_request_queue(open("DEV"), received, &exception);
    EXPECT_EQ(received, 1);
    EXPECT_EQ(exception, nullptr);
}

TEST_F(Operations, ReceiveAbort) {
    scenario("[system PRD]\nreceive = abort\n");
    RfcResult received = -1;
    call_request_queue(open("PRD"), received);
    EXPECT_EQ(received, 1);
    EXPECT_EQ(handlerCalls, "RfcReceive;");
}

TEST_F(Operations, LineTypesCountFromOne) {
    RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, 80, 0, 0};
    LineTypeHandle first = 0;
    LineTypeHandle second = 0;
    EXPECT_EQ(RfcInstallStructure("THLINES", &element, 1, &first), 0);
    EXPECT_EQ(RfcInstallStructure("OTHER", &element, 1, &second), 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST_F(Operations, LibraryFaultsSetNoLastErrorAndWriteNoTrace) {
    scenario("[library]\ninstall_structure = fail\ncreate_table = fail\ndelete_table = fail\n"
             "[system PRD]\nopen = refuse\nerror.key = BEFORE\n");
    EXPECT_EQ(open("PRD"), 0u);
    fs::remove("Dev_Rfc.Trc");
    RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, 80, 0, 0};
    LineTypeHandle lineType = 0;
    EXPECT_EQ(RfcInstallStructure("THLINES", &element, 1, &lineType), 1);
    EXPECT_EQ(lineType, 0);
    EXPECT_EQ(ItCreate("REQUEST_QUEUES", 80, 0, 0), nullptr);
    EXPECT_EQ(ItDelete(nullptr), 1);
    EXPECT_STREQ(last_error().key, "BEFORE");
    EXPECT_FALSE(fs::exists("Dev_Rfc.Trc"));
    EXPECT_EQ(handlerCalls, "");
}

TEST_F(Operations, DeleteTableFailKeepsTheTable) {
    scenario("[library]\ndelete_table = fail\n[system PRD]\nqueue = DIA 1 1 1 1 1\n");
    RfcResult received = -1;
    TableHandle table = call_request_queue(open("PRD"), received);
    EXPECT_EQ(ItDelete(table), 1);
    EXPECT_EQ(ItFill(table), 1u);
}

TEST_F(Operations, GetLineFailsForEveryLine) {
    scenario("[library]\nget_line = fail\n[system PRD]\nqueue = A 1 1 1 1 1\nqueue = B 1 1 1 1 1\n");
    RfcResult received = -1;
    TableHandle table = call_request_queue(open("PRD"), received);
    EXPECT_EQ(ItFill(table), 2u);
    EXPECT_EQ(ItGetLine(table, 1), nullptr);
    EXPECT_EQ(ItGetLine(table, 2), nullptr);
    EXPECT_STREQ(last_error().key, "");
}

TEST_F(Operations, GetLineFailsAtOneLine) {
    scenario("[library]\nget_line = fail-at 2\n[system PRD]\nqueue = A 1 1 1 1 1\nqueue = B 1 1 1 1 1\n"
             "queue = C 1 1 1 1 1\n");
    RfcResult received = -1;
    TableHandle table = call_request_queue(open("PRD"), received);
    EXPECT_NE(ItGetLine(table, 1), nullptr);
    EXPECT_EQ(ItGetLine(table, 2), nullptr);
    EXPECT_NE(ItGetLine(table, 3), nullptr);
}

TEST_F(Operations, LastErrorIsEmptyBeforeAnyFailureAndCutToItsFields) {
    RfcErrorInformation error;
    std::memset(&error, 'x', sizeof error);
    RfcLastError(&error);
    EXPECT_STREQ(error.key, "");
    EXPECT_STREQ(error.internalStatus, "");

    scenario("[system PRD]\nopen = refuse\nerror.key = " + std::string(40, 'K') +
             "\nerror.status = " + std::string(200, 'S') + "\nerror.message = " + std::string(300, 'M') +
             "\nerror.internal = " + std::string(128, 'I') + "\n");
    open("PRD");
    error = last_error();
    EXPECT_EQ(std::string(error.key), std::string(32, 'K'));
    EXPECT_EQ(std::string(error.status), std::string(127, 'S'));
    EXPECT_EQ(std::string(error.message), std::string(255, 'M'));
    EXPECT_EQ(std::string(error.internalStatus), std::string(127, 'I'));
}

// The waits asked for, in microseconds, instead of sleeping them.
std::string waits;

void record_wait(std::chrono::microseconds duration) {
    waits += std::to_string(duration.count()) + ";";
}

TEST_F(Operations, DelayedOperationsWaitOnTheirOwnSystemOnly) {
    scenario(std::string(prd) + "queue = DIA 1 1 1 1 1\ndelay = RfcOpen 120\ndelay = RfcCall 0.5\n"
                                "delay = RfcReceive 2\n[system QAS]\ndelay = RfcOpenEx 0.25\ndelay = RfcCall 0\n"
                                "[system DEV]\nopen = refuse\ndelay = RfcOpen 3\n[system BIN]\ndelay = RfcOpenEx 7\n");
    write_file("SapRfc.ini", "DEST=PRD\nDEST=QAS\n");
    waits.clear();
    rfcsim::set_waiter(record_wait);
    struct Step {
        const char* what;
        std::function<bool()> operation;  // whether it did what it does without a delay
        const char* waited;
    };
    RfcHandle prdHandle = 0;
    RfcHandle qasHandle = 0;
    RfcResult received = -1;
    TableHandle table = nullptr;
    const Step steps[] = {
        {"RfcOpen PRD", [&] { return (prdHandle = open("PRD")) != 0; }, "120000000;"},
        {"RfcOpenEx PRD", [&] { return RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret DEST=PRD", nullptr) != 0; },
         ""},
        {"RfcOpenEx QAS", [&] { return (qasHandle = RfcOpenEx("DEST=QAS", nullptr)) != 0; }, "250000;"},
        {"RfcOpen QAS", [&] { return open("QAS") != 0; }, ""},
        {"RfcOpen DEV (refused)", [&] { return open("DEV") == 0 && std::string(last_error().key) != ""; }, "3000000;"},
        {"RfcOpen of no system", [&] { return open("XYZ") == 0; }, ""},
        {"RfcOpenEx BIN, missing from SapRfc.ini", [&] { return RfcOpenEx("DEST=BIN", nullptr) == 0; }, "7000000;"},
        {"RfcCall and RfcReceive PRD",
         [&] {
             table = call_request_queue(prdHandle, received);
             return received == 0 && ItFill(table) == 1;
         },
         "500000;2000000;"},
        {"RfcCall PRD, unknown function", [&] { return RfcCall(prdHandle, "TH_WPINFO", nullptr, nullptr) == 1; },
         "500000;"},
        {"RfcCall and RfcReceive QAS",
         [&] {
             call_request_queue(qasHandle, received);
             return received == 0;
         },
         ""},
        {"RfcCall and RfcReceive on a closed handle",
         [&] {
             RfcClose(prdHandle);
             call_request_queue(prdHandle, received);
             return received == 1 && RfcReceive(prdHandle, nullptr, nullptr, nullptr) == 1;
         },
         ""},
    };
    for (const Step& step : steps) {
        waits.clear();
        EXPECT_TRUE(step.operation()) << step.what;
        EXPECT_EQ(waits, step.waited) << step.what;
    }
}

// Zero and a hundredth of a second, slept for real: the operations act as
// without a delay.
TEST_F(Operations, ZeroAndTinyDelaysStillDoTheOperation) {
    scenario(std::string(prd) + "queue = DIA 1 1 1 1 1\ndelay = RfcOpen 0.01\ndelay = RfcOpenEx 0\n"
                                "delay = RfcCall 0.01\ndelay = RfcReceive 0.01\n"
                                "[system ABT]\nreceive = abort\ndelay = RfcOpen 0\ndelay = RfcReceive 0.01\n");
    write_file("SapRfc.ini", "DEST=PRD\n");
    RfcHandle handle = open("PRD");
    EXPECT_EQ(handle, 1u);
    EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret DEST=PRD", nullptr), 2u);
    RfcResult received = -1;
    TableHandle table = call_request_queue(handle, received);
    EXPECT_EQ(received, 0);
    EXPECT_EQ(ItFill(table), 1u);
    call_request_queue(open("ABT"), received);
    EXPECT_EQ(received, 1);
    EXPECT_EQ(handlerCalls, "RfcReceive;");
}

// Only a lower bound: a loaded machine makes the wait longer, never shorter.
// The slack allows for a clock that counts whole milliseconds.
TEST_F(Operations, DelayedOpenWaitsAtLeastItsDelay) {
    scenario("[system PRD]\ndelay = RfcOpen 0.05\n");
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(open("PRD"), 1u);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(40));
}

}  // namespace
}  // namespace rfcsim_test
