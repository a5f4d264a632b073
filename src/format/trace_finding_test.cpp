#include "trace_finding.h"

#include <gtest/gtest.h>

TEST(TraceFinding, LastMatchingPieceWins) {
    struct Case {
        std::string trace;
        std::string finding;
    };
    const Case cases[] = {
        {"", ""},
        {"**** ERROR file opened at 20261208 101010\nT:0001 ======> partner not reached\n", "partner not reached"},
        {"T:0001 ======> first\r\nT:0002 ======> second\n", "second"},
        {"T:0001 ======> first\n**** ERROR file opened\n", ""},
        {"ERROR       partner not reached\n", "partner not reached"},
        {"ERROR short\n", ""},
        {"ERROR 123456\n", ""},
        {"ERROR 123456x\n", "x"},
        {"T:0001 ======>\n", ""},
        {"ERROR x======> wins the later test\n", "wins the later test"},
        {"**** ERROR \n", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(trace_finding(c.trace), c.finding) << c.trace;
}

TEST(TraceFinding, LongLinesAreReadInPieces) {
    // The 99-character pieces of one long line: the second piece matches.
    std::string line = std::string(99, 'x') + "1234567======> continued message\n";
    EXPECT_EQ(trace_finding(line), "continued message");
    std::string longMessage = "T:0001 ======> " + std::string(100, 'm') + "\n";
    EXPECT_EQ(trace_finding(longMessage), std::string(84, 'm'));
}
