// The call log: one line per operation, in the forms the tests outside rely on.
#include <chrono>

#include "operations_fixture.h"

namespace rfcsim_test {
namespace {

TEST_F(Operations, CallLogLineForms) {
    scenario(std::string(prd) + "queue = A 1 1 1 1 1\nqueue = B 1 1 1 1 1\nqueue = C 1 1 1 1 1\n"
                                "[system R2X]\nopen = refuse\n[system ABT]\nopen = abort\n");
    write_file("SapRfc.ini", "DEST=PRD\n");
    set_environment("RFCSIM_LOG", (directory / "calls.log").string());
    RfcEnvironmentRecord environment{record_handler_call, nullptr};
    RfcEnvironment(&environment);
    RfcHandle handle = open("PRD");
    RfcGatewayRecord gateway{"gw01", "sapgw00"};
    RfcConnectionOptions r2{"R2X", RFC_MODE_R2, &gateway, "...", "...", "...", "...", 0};
    RfcOpen(&r2);
    RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=PRD", nullptr);
    RfcResult received = -1;
    TableHandle table = call_request_queue(handle, received);
    ItFill(table);
    ItGetLine(table, 1);
    ItGetLine(table, 4);
    ItDelete(table);
    RfcLastError(nullptr);
    RfcClose(handle);
    RfcClose(0);
    RfcOpen(nullptr);
    open("ABT", nullptr, "", nullptr);
    EXPECT_EQ(file_text("calls.log"),
              "RfcEnvironment\n"
              "RfcOpen destination=[PRD] mode=0 host=[APP01] sysnr=0 gwhost=none gwservice=none client=[100] "
              "user=[MONITOR     ] password=[s3cret    ] language=[E] trace=0 -> 1\n"
              "RfcOpen destination=[R2X] mode=1 gwhost=[gw01] gwservice=[sapgw00] client=[...] user=[...] "
              "password=[...] language=[...] trace=0 -> null\n"
              "RfcOpenEx connect=[CLIENT=100 USER=MONITOR PASSWD=s3cret LANG=D DEST=PRD] -> 2\n"
              "RfcInstallStructure name=[THLINES] count=1 element=[THLINE]/0/80/0/0 -> 0 type=1\n"
              "ItCreate name=[REQUEST_QUEUES] width=80 -> ok\n"
              "RfcCall handle=1 function=[TH_REQUEST_QUEUE] table=[REQUEST_QUEUES]/14/type=1 -> 0\n"
              "RfcReceive handle=1 table=[REQUEST_QUEUES] -> 0\n"
              "ItFill -> 3\n"
              "ItGetLine 1 -> ok\n"
              "ItGetLine 4 -> null\n"
              "ItDelete -> 0\n"
              "RfcLastError\n"
              "RfcClose handle=1\n"
              "RfcClose handle=null\n"
              "RfcOpen options=none -> null\n"
              "RfcOpen destination=[ABT] mode=0 host=[APP01] sysnr=0 gwhost=none gwservice=none client=none "
              "user=[] password=none language=[E] trace=0 -> abort\n");
    EXPECT_EQ(handlerCalls, "RfcOpen;");
}

TEST_F(Operations, CallLogOfLibraryFaultsAndAborts) {
    scenario("[library]\ninstall_structure = fail\ncreate_table = fail\ndelete_table = fail\n"
             "[system PRD]\ncall = abort\n");
    set_environment("RFCSIM_LOG", (directory / "calls.log").string());
    RfcHandle handle = open("PRD");
    RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, 80, 0, 0};
    LineTypeHandle lineType = 0;
    RfcInstallStructure("THLINES", &element, 1, &lineType);
    ItCreate("REQUEST_QUEUES", 80, 0, 0);
    RfcTableDescriptor tables[2] = {{"REQUEST_QUEUES", 14, 0, 0, nullptr, 0, 0}, {}};
    RfcCall(handle, "TH_REQUEST_QUEUE", nullptr, tables);
    ItDelete(nullptr);
    std::string log = file_text("calls.log");
    EXPECT_NE(log.find("\nRfcInstallStructure name=[THLINES] count=1 element=[THLINE]/0/80/0/0 -> 1\n"
                       "ItCreate name=[REQUEST_QUEUES] width=80 -> null\n"
                       "RfcCall handle=1 function=[TH_REQUEST_QUEUE] table=[REQUEST_QUEUES]/14/type=0 -> abort\n"
                       "ItDelete -> 1\n"),
              std::string::npos)
        << log;
}

TEST_F(Operations, DelayedOperationsLogAsWithoutADelay) {
    scenario(std::string(prd) + "delay = RfcOpen 0.01\ndelay = RfcCall 0.01\ndelay = RfcReceive 0\n"
                                "[system R2X]\nopen = refuse\ndelay = RfcOpenEx 0.01\n");
    write_file("SapRfc.ini", "DEST=R2X\n");
    set_environment("RFCSIM_LOG", (directory / "calls.log").string());
    RfcHandle handle = open("PRD");
    RfcOpenEx("DEST=R2X", nullptr);
    RfcTableDescriptor tables[1] = {{}};
    RfcCall(handle, "TH_REQUEST_QUEUE", nullptr, tables);
    RfcReceive(handle, nullptr, tables, nullptr);
    EXPECT_EQ(file_text("calls.log"),
              "RfcOpen destination=[PRD] mode=0 host=[APP01] sysnr=0 gwhost=none gwservice=none client=[100] "
              "user=[MONITOR     ] password=[s3cret    ] language=[E] trace=0 -> 1\n"
              "RfcOpenEx connect=[DEST=R2X] -> null\n"
              "RfcCall handle=1 function=[TH_REQUEST_QUEUE] table=none -> 0\n"
              "RfcReceive handle=1 table=none -> 0\n");
}

// What a process killed during a wait would leave behind.
std::string logWhileWaiting;
bool traceWhileWaiting = false;

void look_while_waiting(std::chrono::microseconds) {
    logWhileWaiting = file_text("calls.log");
    traceWhileWaiting = fs::exists("Dev_Rfc.Trc");
}

TEST_F(Operations, AnOperationWaitsBeforeItLogsOrFails) {
    scenario("[system PRD]\nreceive = 1\ndelay = RfcReceive 120\n[system DEV]\nopen = refuse\ndelay = RfcOpen 120\n");
    set_environment("RFCSIM_LOG", (directory / "calls.log").string());
    rfcsim::set_waiter(look_while_waiting);
    RfcHandle handle = open("PRD");
    const std::string afterOpen = file_text("calls.log");
    EXPECT_EQ(RfcReceive(handle, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(logWhileWaiting, afterOpen);
    EXPECT_FALSE(traceWhileWaiting);
    EXPECT_TRUE(fs::exists("Dev_Rfc.Trc"));
    fs::remove("Dev_Rfc.Trc");
    const std::string afterReceive = file_text("calls.log");
    EXPECT_EQ(afterReceive, afterOpen + "RfcReceive handle=1 table=none -> 1\n");
    EXPECT_EQ(open("DEV"), 0u);
    EXPECT_EQ(logWhileWaiting, afterReceive);
    EXPECT_FALSE(traceWhileWaiting);
    EXPECT_TRUE(fs::exists("Dev_Rfc.Trc"));
}

TEST_F(Operations, NoLogWithoutTheVariable) {
    scenario(prd);
    open("PRD");
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace rfcsim_test
