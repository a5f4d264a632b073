#include "scenario.h"

#include <gtest/gtest.h>

namespace rfcsim {
namespace {

// The example landscape of the simulator's contract.
constexpr const char* exampleScenario = R"([library]
# RfcInstallStructure returns 1 (default: ok, returns 0)
install_structure = fail
create_table = fail
get_line = fail
delete_table = fail

[system PRD]
open = accept
client = 100
user = MONITOR
password = s3cret
call = 0
receive = 0
exception = SYSTEM_FAILURE
queue = DIA 0 2000 2000 51234 51234
line = |NOWORK          0   500   500  12  12|
error.key = RFC_ERROR_LOGON_FAILURE
error.status = CONNECT_FAILED
error.message = Name or password is incorrect
error.internal = LOGON
trace = ERROR       partner not reached
# repeatable: the named operation waits this many seconds (a decimal number)
delay = RfcOpen 120
)";

Scenario parsed_ok(std::string_view text) {
    ParsedScenario parsed = parse_scenario(text);
    EXPECT_TRUE(parsed.ok()) << parsed.errorLine << ": " << parsed.errorReason;
    return parsed.scenario;
}

// The first system by value: a reference into a temporary would dangle.
SystemScenario first_system(std::string_view text) {
    return parsed_ok(text).systems.at(0);
}

std::string padded(std::string text) {
    text.resize(tableLineWidth, ' ');
    return text;
}

TEST(Scenario, EmptyTextIsAnEmptyLandscapeWithEverySwitchOff) {
    Scenario scenario = parsed_ok("");
    EXPECT_TRUE(scenario.systems.empty());
    EXPECT_FALSE(scenario.library.installStructureFails);
    EXPECT_FALSE(scenario.library.createTableFails);
    EXPECT_FALSE(scenario.library.getLineFails);
    EXPECT_EQ(scenario.library.getLineFailsAt, 0u);
    EXPECT_FALSE(scenario.library.deleteTableFails);
}

TEST(Scenario, ReadsTheExampleLandscape) {
    Scenario scenario = parsed_ok(exampleScenario);
    EXPECT_TRUE(scenario.library.installStructureFails);
    EXPECT_TRUE(scenario.library.createTableFails);
    EXPECT_TRUE(scenario.library.getLineFails);
    EXPECT_TRUE(scenario.library.deleteTableFails);
    ASSERT_EQ(scenario.systems.size(), 1u);
    const SystemScenario& prd = scenario.systems[0];
    EXPECT_EQ(prd.name, "PRD");
    EXPECT_EQ(prd.open, OpenOutcome::accept);
    EXPECT_EQ(prd.client, "100");
    EXPECT_EQ(prd.user, "MONITOR");
    EXPECT_EQ(prd.password, "s3cret");
    EXPECT_FALSE(prd.call.aborts);
    EXPECT_EQ(prd.receive.code, 0);
    EXPECT_EQ(prd.exception, "SYSTEM_FAILURE");
    ASSERT_EQ(prd.lines.size(), 2u);
    EXPECT_EQ(prd.lines[1], padded("NOWORK          0   500   500  12  12"));
    EXPECT_EQ(prd.errorKey, "RFC_ERROR_LOGON_FAILURE");
    EXPECT_EQ(prd.errorStatus, "CONNECT_FAILED");
    EXPECT_EQ(prd.errorMessage, "Name or password is incorrect");
    EXPECT_EQ(prd.errorInternal, "LOGON");
    EXPECT_EQ(prd.trace, std::vector<std::string>{"ERROR       partner not reached"});
    EXPECT_EQ(prd.delays.open, std::chrono::seconds(120));
}

TEST(Scenario, SystemDefaults) {
    SystemScenario system = first_system("[system QAS]\n");
    EXPECT_EQ(system.open, OpenOutcome::accept);
    EXPECT_FALSE(system.client || system.user || system.password);
    EXPECT_FALSE(system.call.aborts || system.receive.aborts);
    EXPECT_EQ(system.call.code, 0);
    EXPECT_EQ(system.exception, "RFC_EXCEPTION");
    EXPECT_FALSE(system.errorKey || system.errorStatus || system.errorMessage || system.errorInternal);
    EXPECT_TRUE(system.lines.empty() && system.trace.empty());
}

TEST(Scenario, SectionsAndNamesCompareExactly) {
    Scenario scenario = parsed_ok("[system PRD]\nopen = refuse\n[system prd]\nopen = abort\n[library]\n"
                                  "create_table = fail\n[system  QAS ]\n");
    ASSERT_EQ(scenario.systems.size(), 3u);
    EXPECT_EQ(find_system(scenario, "PRD")->open, OpenOutcome::refuse);
    EXPECT_EQ(find_system(scenario, "prd")->open, OpenOutcome::abort);
    EXPECT_NE(find_system(scenario, "QAS"), nullptr);
    EXPECT_EQ(find_system(scenario, "Prd"), nullptr);
    EXPECT_EQ(find_system(scenario, "PRD "), nullptr);
    EXPECT_TRUE(scenario.library.createTableFails);
}

TEST(Scenario, RepeatedSectionGoesOnWithTheEarlierOne) {
    Scenario scenario = parsed_ok("[system PRD]\nqueue = A 1 2 3 4 5\n[system QAS]\n[system PRD]\n"
                                  "queue = B 1 2 3 4 5\nuser = X\n");
    ASSERT_EQ(scenario.systems.size(), 2u);
    EXPECT_EQ(scenario.systems[0].lines.size(), 2u);
    EXPECT_EQ(scenario.systems[0].user, "X");
}

TEST(Scenario, RepeatedKeysKeepTheLastValueOrAccumulateWhereRepeatable) {
    SystemScenario system = first_system("[system PRD]\nuser = A\nuser = B\ncall = abort\ncall = 4\n"
                                         "queue = DIA 1 1 1 1 1\nline = |X|\nqueue = UPD 2 2 2 2 2\n"
                                         "trace = one\ntrace = two\n");
    EXPECT_EQ(system.user, "B");
    EXPECT_FALSE(system.call.aborts);
    EXPECT_EQ(system.call.code, 4);
    ASSERT_EQ(system.lines.size(), 3u);
    EXPECT_EQ(system.lines[0].substr(0, 3), "DIA");
    EXPECT_EQ(system.lines[1], padded("X"));
    EXPECT_EQ(system.lines[2].substr(0, 3), "UPD");
    EXPECT_EQ(system.trace, (std::vector<std::string>{"one", "two"}));
}

TEST(Scenario, QueueLineLayoutIsByteExact) {
    QueueLine queue = format_queue_line("DIA 0 2000 2000 51234 51234");
    ASSERT_EQ(queue.error, "");
    EXPECT_EQ(queue.line, "DIA          "
                          "          0        2000        2000       51234       51234"
                          "        ");
    EXPECT_EQ(queue.line.size(), 80u);
    EXPECT_EQ(queue.line.substr(13, 11), "          0");  // columns 14-24
    EXPECT_EQ(queue.line[71], '4');                       // the last number ends in column 72
    EXPECT_EQ(queue.line.substr(72), std::string(8, ' '));
}

TEST(Scenario, QueueLineFieldsAsTheSensorReadsThem) {
    QueueLine queue = format_queue_line("DIA 5 4 3 2 1");
    EXPECT_EQ(queue.line, padded("DIA                    5           4           3           2           1"));
    EXPECT_EQ(queue.line.substr(61, 11), "          1");
    EXPECT_EQ(queue.line.substr(49, 11), "          2");
}

TEST(Scenario, QueueLineAtItsWidestFillsEveryColumn) {
    QueueLine queue = format_queue_line("ABCDEFGHIJKLM 12345678901 -1234567890 0 0 99999999999");
    ASSERT_EQ(queue.error, "");
    EXPECT_EQ(queue.line.substr(0, 24), "ABCDEFGHIJKLM12345678901");
    EXPECT_EQ(queue.line.substr(25, 11), "-1234567890");
    EXPECT_EQ(queue.line.substr(61, 11), "99999999999");
}

TEST(Scenario, QueueLineRefusesWhatDoesNotFit) {
    EXPECT_NE(format_queue_line("DIA 1 2 3 4").error, "");
    EXPECT_NE(format_queue_line("DIA 1 2 3 4 5 6").error, "");
    EXPECT_NE(format_queue_line("ABCDEFGHIJKLMN 1 2 3 4 5").error, "");
    EXPECT_NE(format_queue_line("DIA 1 2 x 4 5").error, "");
    EXPECT_NE(format_queue_line("DIA 1 2 +3 4 5").error, "");
    EXPECT_NE(format_queue_line("DIA 123456789012 2 3 4 5").error, "");
}

TEST(Scenario, VerbatimLineIsTheTextBetweenTheOuterBarsPadded) {
    SystemScenario system =
        first_system("[system PRD]\nline = |  a|b  |\nline = ||\nline = |" + std::string(80, 'x') + "|\n");
    ASSERT_EQ(system.lines.size(), 3u);
    EXPECT_EQ(system.lines[0], padded("  a|b  "));
    EXPECT_EQ(system.lines[1], std::string(80, ' '));
    EXPECT_EQ(system.lines[2], std::string(80, 'x'));
}

TEST(Scenario, CommentsAreWholeLinesOnly) {
    Scenario scenario = parsed_ok("# a comment\n  ; another\n\n   \n[system PRD]\n\t# indented\n"
                                  "error.message = no # comment ; here\ntrace = ;x\n");
    const SystemScenario& system = scenario.systems.at(0);
    EXPECT_EQ(system.errorMessage, "no # comment ; here");
    EXPECT_EQ(system.trace, std::vector<std::string>{";x"});
}

TEST(Scenario, BlanksAroundKeyAndValue) {
    SystemScenario system = first_system("[system PRD]\n   user   =   MONITOR   \npassword=s3 cret\t\nclient =\n");
    EXPECT_EQ(system.user, "MONITOR");
    EXPECT_EQ(system.password, "s3 cret");
    EXPECT_EQ(system.client, "");
}

TEST(Scenario, CrLfLinesReadLikeLfLines) {
    Scenario lf = parsed_ok("[system PRD]\nuser = A\nline = |x |\n");
    Scenario crlf = parsed_ok("[system PRD]\r\nuser = A\r\nline = |x |\r\n");
    EXPECT_EQ(crlf.systems.at(0).user, "A");
    EXPECT_EQ(crlf.systems.at(0).lines, lf.systems.at(0).lines);
}

TEST(Scenario, LastLineWithoutLineFeed) {
    EXPECT_EQ(parsed_ok("[system PRD]\nuser = A").systems.at(0).user, "A");
}

TEST(Scenario, OutcomesAndSwitches) {
    Scenario scenario = parsed_ok("[library]\nget_line = fail-at 2\ninstall_structure = ok\n"
                                  "[system PRD]\nopen = abort\ncall = -5\nreceive = abort\n");
    EXPECT_FALSE(scenario.library.getLineFails);
    EXPECT_EQ(scenario.library.getLineFailsAt, 2u);
    const SystemScenario& system = scenario.systems.at(0);
    EXPECT_EQ(system.open, OpenOutcome::abort);
    EXPECT_EQ(system.call.code, -5);
    EXPECT_TRUE(system.receive.aborts);
}

// The delays of PRD, in microseconds, after the given lines of its section.
struct DelayCase {
    const char* lines;
    int64_t open;
    int64_t openEx;
    int64_t call;
    int64_t receive;
};

class ScenarioDelay : public testing::TestWithParam<DelayCase> {};

TEST_P(ScenarioDelay, EachOperationKeepsItsOwnDelay) {
    SystemScenario system = first_system(std::string("[system PRD]\n") + GetParam().lines);
    EXPECT_EQ(system.delays.open.count(), GetParam().open);
    EXPECT_EQ(system.delays.openEx.count(), GetParam().openEx);
    EXPECT_EQ(system.delays.call.count(), GetParam().call);
    EXPECT_EQ(system.delays.receive.count(), GetParam().receive);
}

INSTANTIATE_TEST_SUITE_P(
    Seconds, ScenarioDelay,
    testing::Values(DelayCase{"", 0, 0, 0, 0}, DelayCase{"delay = RfcOpen 120\n", 120000000, 0, 0, 0},
                    DelayCase{"delay = RfcOpenEx 0.5\n", 0, 500000, 0, 0},
                    DelayCase{"delay = RfcCall 0.01\n", 0, 0, 10000, 0},
                    DelayCase{"delay = RfcReceive 0\n", 0, 0, 0, 0},
                    DelayCase{"delay=RfcReceive\t 2.25  \n", 0, 0, 0, 2250000},
                    DelayCase{"delay = RfcCall 1.2345678\n", 0, 0, 1234567, 0},
                    DelayCase{"delay = RfcOpen 0000000000012.000\n", 12000000, 0, 0, 0},
                    DelayCase{"delay = RfcOpen 999999999.999999\n", 999999999999999, 0, 0, 0},
                    DelayCase{"delay = RfcOpen 1\ndelay = RfcCall 2\ndelay = RfcOpen 3\n", 3000000, 0, 2000000, 0},
                    DelayCase{"delay = RfcOpen 5\ndelay = RfcOpen 0\n", 0, 0, 0, 0},
                    DelayCase{"delay = RfcCall 1\n[system QAS]\ndelay = RfcCall 9\ndelay = RfcOpen 9\n"
                              "[system PRD]\ndelay = RfcReceive 4\n",
                              0, 0, 1000000, 4000000}));

struct MalformedCase {
    const char* text;
    int line;
    const char* reason;
};

class MalformedScenario : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedScenario, NamesTheLineAndTheReason) {
    ParsedScenario parsed = parse_scenario(GetParam().text);
    EXPECT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.errorLine, GetParam().line);
    EXPECT_EQ(parsed.errorReason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MalformedScenario,
    testing::Values(
        MalformedCase{"[system PRD]\nuser MONITOR\n", 2, "expected 'key = value', [library] or [system NAME]"},
        MalformedCase{"user = A\n", 1, "key 'user' outside a section"},
        MalformedCase{"# c\n\n[systems PRD]\n", 3, "unknown section [systems PRD] ([library] or [system NAME])"},
        MalformedCase{"[Library]\n", 1, "unknown section [Library] ([library] or [system NAME])"},
        MalformedCase{"[system]\n", 1, "section [system] without a NAME"},
        MalformedCase{"[system PRD\n", 1, "section line without closing ']'"},
        MalformedCase{"[library]\nopen = accept\n", 2, "unknown key 'open' in [library]"},
        MalformedCase{"[system PRD]\r\nget_line = fail\r\n", 2, "unknown key 'get_line' in [system PRD]"},
        MalformedCase{"[system PRD]\n = x\n", 2, "no key before '='"},
        MalformedCase{"[system PRD]\nopen = maybe\n", 2, "bad value 'maybe' for open (accept, refuse or abort)"},
        MalformedCase{"[system PRD]\ncall = two\n", 2, "bad value 'two' for call (an integer or abort)"},
        MalformedCase{"[system PRD]\nreceive = 99999999999\n", 2,
                      "bad value '99999999999' for receive (an integer or abort)"},
        MalformedCase{"[library]\ncreate_table = yes\n", 2, "bad value 'yes' for create_table (ok or fail)"},
        MalformedCase{"[library]\nget_line = fail-at 0\n", 2,
                      "bad value 'fail-at 0' for get_line (ok, fail or fail-at N, N from 1)"},
        MalformedCase{"[system PRD]\nline = NOWORK\n", 2, "bad value 'NOWORK' for line (|TEXT|)"},
        MalformedCase{"[system PRD]\nline = |", 2, "bad value '|' for line (|TEXT|)"},
        MalformedCase{"[system PRD]\nqueue = DIA 1 2 3 4\n", 2,
                      "queue needs NAME WAITINGS MAXQUE QUESIZE WRITES READS, got 'DIA 1 2 3 4'"},
        MalformedCase{"[system PRD]\nqueue = DIA 1 2 3 4 x\n", 2,
                      "queue number 'x' is not an integer of at most 11 characters"},
        MalformedCase{"[library]\ndelay = RfcOpen 1\n", 2, "unknown key 'delay' in [library]"},
        MalformedCase{"[system PRD]\ndelay = RfcOpen\n", 2, "delay needs OPERATION SECONDS, got 'RfcOpen'"},
        MalformedCase{"[system PRD]\ndelay =\n", 2, "delay needs OPERATION SECONDS, got ''"},
        MalformedCase{"[system PRD]\ndelay = RfcOpen 1 s\n", 2, "delay needs OPERATION SECONDS, got 'RfcOpen 1 s'"},
        MalformedCase{"[system PRD]\ndelay = RfcClose 5\n", 2,
                      "unknown operation 'RfcClose' for delay (RfcOpen, RfcOpenEx, RfcCall, RfcReceive, "
                      "RfcOpenConnection or RfcInvoke)"},
        MalformedCase{"[system PRD]\ndelay = rfcopen 5\n", 2,
                      "unknown operation 'rfcopen' for delay (RfcOpen, RfcOpenEx, RfcCall, RfcReceive, "
                      "RfcOpenConnection or RfcInvoke)"},
        MalformedCase{"[system PRD]\ndelay = 5 RfcOpen\n", 2,
                      "unknown operation '5' for delay (RfcOpen, RfcOpenEx, RfcCall, RfcReceive, "
                      "RfcOpenConnection or RfcInvoke)"}));

// Every one of these is refused as seconds of a delay.
class MalformedDelaySeconds : public testing::TestWithParam<const char*> {};

TEST_P(MalformedDelaySeconds, IsAMalformedLine) {
    ParsedScenario parsed = parse_scenario(std::string("[system PRD]\ndelay = RfcCall ") + GetParam() + "\n");
    EXPECT_EQ(parsed.errorLine, 2);
    EXPECT_EQ(parsed.errorReason, "bad seconds '" + std::string(GetParam()) +
                                      "' for delay (a decimal number below 1000000000, such as 120 or 0.5)");
}

INSTANTIATE_TEST_SUITE_P(Values, MalformedDelaySeconds,
                         testing::Values("-1", "-0.5", "+1", "x", "1s", ".5", "5.", "1.2.3", "0,5", "1e3", "0x10",
                                         "1000000000", "inf"));

TEST(Scenario, NetWeaverKeys) {
    SystemScenario system = first_system("[system PRD]\ndelay = RfcOpenConnection 2\ndelay = RfcInvoke 0.5\n"
                                         "nw.open = RFC_TIMEOUT\nnw.invoke = RFC_CLOSED\ndelay = RfcOpen 1\n");
    EXPECT_EQ(system.delays.openConnection, std::chrono::seconds(2));
    EXPECT_EQ(system.delays.invoke, std::chrono::milliseconds(500));
    EXPECT_EQ(system.delays.open, std::chrono::seconds(1));
    EXPECT_EQ(system.delays.call.count(), 0);
    EXPECT_EQ(system.nwOpen, 8);
    EXPECT_EQ(system.nwInvoke, 6);
    EXPECT_EQ(first_system("[system PRD]\nnw.open = RFC_TIMEOUT\nnw.open = RFC_OK\n").nwOpen, 0);
}

TEST(Scenario, ReturnCodesAreRfcRcNames) {
    for (const char* value : {"8", "rfc_timeout", "TIMEOUT", ""}) {
        ParsedScenario parsed = parse_scenario(std::string("[system PRD]\nnw.invoke = ") + value + "\n");
        EXPECT_EQ(parsed.errorLine, 2) << value;
        EXPECT_EQ(parsed.errorReason,
                  "bad value '" + std::string(value) + "' for nw.invoke (an RFC_RC name such as RFC_TIMEOUT)");
    }
    EXPECT_EQ(parse_scenario("[library]\nnw.open = RFC_TIMEOUT\n").errorReason, "unknown key 'nw.open' in [library]");
}

TEST(Scenario, LineTextLongerThanATableLineIsMalformed) {
    ParsedScenario parsed = parse_scenario("[system PRD]\nline = |" + std::string(81, 'x') + "|\n");
    EXPECT_EQ(parsed.errorLine, 2);
    EXPECT_EQ(parsed.errorReason, "line text longer than 80 characters");
}

TEST(Scenario, FirstMalformedLineWins) {
    ParsedScenario parsed = parse_scenario("[system PRD]\nuser = A\nbad\nworse\n");
    EXPECT_EQ(parsed.errorLine, 3);
}

TEST(Scenario, ErrorReportForm) {
    ParsedScenario parsed = parse_scenario("[system PRD]\n\nopen = later\n");
    EXPECT_EQ(scenario_error_report("cases/x/rfcsim.ini", parsed),
              "rfcsim: cases/x/rfcsim.ini:3: bad value 'later' for open (accept, refuse or abort)");
}

}  // namespace
}  // namespace rfcsim
