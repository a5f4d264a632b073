// The rows of REQUEST_QUEUES through RfcGetTable, RfcGetRowCount, RfcMoveTo
// and RfcGetChars, and the call log of every operation.
#include "nw_fixture.h"

namespace nwrfcsim_test {
namespace {

constexpr const char* queues = "[system PRD]\nqueue = DIA 0 2000 2000 51234 51234\n"
                               "line = |NOWORK \xC3\x9C \xE2\x82\xAC|\nqueue = UPD 1 2 3 4 5\n";

class Rows : public NwOperations {
protected:
    RFC_TABLE_HANDLE request_queues() {
        scenario(queues);
        RFC_RC result = RFC_UNKNOWN_ERROR;
        function = invoke(open("SYSID=PRD"), result);
        EXPECT_EQ(result, RFC_OK);
        RFC_TABLE_HANDLE table = nullptr;
        EXPECT_EQ(RfcGetTable(function, u"REQUEST_QUEUES", &table, &error), RFC_OK);
        return table;
    }

    // THLINE of row `index` into a buffer of `length` units filled with 'x'.
    std::u16string thline(RFC_TABLE_HANDLE table, unsigned index, unsigned length, RFC_RC& result) {
        std::u16string buffer(length, u'x');
        EXPECT_EQ(RfcMoveTo(table, index, &error), RFC_OK);
        result = RfcGetChars(table, u"THLINE", buffer.data(), length, &error);
        return buffer;
    }

    RFC_FUNCTION_HANDLE function = nullptr;
};

TEST_F(Rows, HoldTheScenarioLinesInOrder) {
    RFC_TABLE_HANDLE table = request_queues();
    unsigned count = 0;
    EXPECT_EQ(RfcGetRowCount(table, &count, &error), RFC_OK);
    EXPECT_EQ(count, 3u);
    RFC_RC result = RFC_UNKNOWN_ERROR;
    EXPECT_EQ(thline(table, 0, 80, result),
              rfcsim::utf16_of("DIA                    0        2000        2000       51234       51234        "));
    EXPECT_EQ(result, RFC_OK);
    // 80 bytes of UTF-8 with a two-byte and a three-byte character: 77
    // characters, blank-padded to the buffer's 80.
    EXPECT_EQ(thline(table, 1, 80, result), u"NOWORK \u00DC \u20AC" + std::u16string(70, u' '));
    EXPECT_EQ(thline(table, 2, 90, result).substr(0, 24), u"UPD" + std::u16string(20, u' ') + u"1");
    EXPECT_EQ(thline(table, 2, 90, result).substr(72), std::u16string(18, u' '));
}

TEST_F(Rows, RefuseWhatIsNotThere) {
    RFC_TABLE_HANDLE table = request_queues();
    EXPECT_EQ(RfcMoveTo(table, 3, &error), RFC_TABLE_MOVE_EOF);
    RFC_RC result = RFC_OK;
    std::u16string buffer = thline(table, 0, 79, result);
    EXPECT_EQ(result, RFC_BUFFER_TOO_SMALL);
    EXPECT_EQ(buffer, std::u16string(79, u'x'));
    EXPECT_EQ(RfcGetChars(table, u"THLINES", buffer.data(), 79, &error), RFC_INVALID_PARAMETER);
    EXPECT_EQ(RfcGetChars(function, u"THLINE", buffer.data(), 79, &error), RFC_INVALID_PARAMETER);
    RFC_TABLE_HANDLE other = nullptr;
    EXPECT_EQ(RfcGetTable(function, u"QUEUES", &other, &error), RFC_INVALID_PARAMETER);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(RfcGetTable(table, u"REQUEST_QUEUES", &other, &error), RFC_INVALID_HANDLE);
    EXPECT_EQ(RfcDestroyFunction(function, &error), RFC_OK);
    unsigned count = 7;
    EXPECT_EQ(RfcGetRowCount(table, &count, &error), RFC_INVALID_HANDLE);
    EXPECT_EQ(count, 7u);
}

TEST_F(NwOperations, AnEmptyTableHasNoCurrentRow) {
    scenario("[system PRD]\n");
    RFC_RC result = RFC_UNKNOWN_ERROR;
    RFC_FUNCTION_HANDLE function = invoke(open("SYSID=PRD"), result);
    RFC_TABLE_HANDLE table = nullptr;
    RfcGetTable(function, u"REQUEST_QUEUES", &table, &error);
    SAP_UC buffer[80];
    EXPECT_EQ(RfcGetChars(table, u"THLINE", buffer, 80, &error), RFC_ILLEGAL_STATE);
    EXPECT_EQ(RfcMoveTo(table, 0, &error), RFC_TABLE_MOVE_EOF);
}

TEST_F(Rows, GetLineSwitchesRefuseTheirRows) {
    scenario(std::string("[library]\nget_line = fail-at 2\n") + queues);
    RFC_RC result = RFC_UNKNOWN_ERROR;
    function = invoke(open("SYSID=PRD"), result);
    RFC_TABLE_HANDLE table = nullptr;
    RfcGetTable(function, u"REQUEST_QUEUES", &table, &error);
    EXPECT_EQ(RfcMoveTo(table, 0, &error), RFC_OK);
    EXPECT_EQ(RfcMoveTo(table, 1, &error), RFC_TABLE_MOVE_EOF);
    EXPECT_EQ(RfcMoveTo(table, 2, &error), RFC_OK);
}

TEST_F(NwOperations, CallLogLineForms) {
    scenario(std::string(prd) + "queue = DIA 0 2000 2000 51234 51234\n[system R2X]\ncall = 2\n");
    set_environment("RFCSIM_LOG", (directory / "calls.log").string());
    RfcSetIniPath(u"conf", &error);
    RfcSetIniPath(nullptr, &error);
    unsigned major = 0;
    RfcGetVersion(&major, nullptr, nullptr);
    RFC_CONNECTION_HANDLE connection =
        open("ASHOST=app01;SYSNR=00;SYSID=PRD;CLIENT=100;USER=MONITOR;PASSWD=s3cret;LANG=E");
    open("ASHOST=R2X;PASSWD=x");
    open("DEST=NOPE");
    RFC_RC result = RFC_UNKNOWN_ERROR;
    RFC_FUNCTION_HANDLE function = invoke(connection, result);
    RFC_TABLE_HANDLE table = nullptr;
    RfcGetTable(function, u"REQUEST_QUEUES", &table, &error);
    unsigned count = 0;
    RfcGetRowCount(table, &count, &error);
    RfcMoveTo(table, 0, &error);
    SAP_UC buffer[80];
    RfcGetChars(table, u"THLINE", buffer, 80, &error);
    RfcMoveTo(table, 1, &error);
    RfcDestroyFunction(function, &error);
    RfcGetFunctionDesc(connection, u"RFC_PING", &error);
    RfcCloseConnection(connection, &error);
    RfcInvoke(connection, nullptr, &error);
    RfcCloseConnection(nullptr, &error);
    RFC_CONNECTION_HANDLE r2x = open("SYSID=R2X");
    invoke(r2x, result);
    EXPECT_EQ(file_text("calls.log"),
              "RfcSetIniPath path=[conf] -> RFC_OK\n"
              "RfcSetIniPath path=none -> RFC_OK\n"
              "RfcGetVersion -> 7500 0 0\n"
              "RfcOpenConnection ASHOST=[app01] SYSNR=[00] SYSID=[PRD] CLIENT=[100] USER=[MONITOR] PASSWD=[s3cret] "
              "LANG=[E] -> 1\n"
              "RfcOpenConnection ASHOST=[R2X] PASSWD=[x] -> 2\n"
              "RfcOpenConnection DEST=[NOPE] -> null RFC_INVALID_PARAMETER\n"
              "RfcGetFunctionDesc handle=1 function=[TH_REQUEST_QUEUE] -> ok\n"
              "RfcCreateFunction -> ok\n"
              "RfcInvoke handle=1 function=[TH_REQUEST_QUEUE] -> RFC_OK\n"
              "RfcGetTable name=[REQUEST_QUEUES] -> RFC_OK\n"
              "RfcGetRowCount -> RFC_OK count=1\n"
              "RfcMoveTo 0 -> RFC_OK\n"
              "RfcGetChars name=[THLINE] length=80 -> RFC_OK\n"
              "RfcMoveTo 1 -> RFC_TABLE_MOVE_EOF\n"
              "RfcDestroyFunction -> RFC_OK\n"
              "RfcGetFunctionDesc handle=1 function=[RFC_PING] -> null RFC_ABAP_EXCEPTION\n"
              "RfcCloseConnection handle=1 -> RFC_OK\n"
              "RfcInvoke handle=unknown function=none -> RFC_INVALID_HANDLE\n"
              "RfcCloseConnection handle=null -> RFC_INVALID_HANDLE\n"
              "RfcOpenConnection SYSID=[R2X] -> 3\n"
              "RfcGetFunctionDesc handle=3 function=[TH_REQUEST_QUEUE] -> ok\n"
              "RfcCreateFunction -> ok\n"
              "RfcInvoke handle=3 function=[TH_REQUEST_QUEUE] -> RFC_ABAP_EXCEPTION\n");
    EXPECT_EQ(major, 7500u);
}

TEST_F(NwOperations, NoTraceFileAndNoLogWithoutTheVariable) {
    scenario("[system PRD]\nopen = refuse\ntrace = ERROR       partner not reached\n");
    EXPECT_EQ(open("SYSID=PRD"), nullptr);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace nwrfcsim_test
