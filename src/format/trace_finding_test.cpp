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

// A file read in chunks finds what the whole file read in text mode finds,
// wherever the chunks end: a CR LF pair or a piece may be split between two.
TEST(TraceFinding, ChunksFindWhatTheWholeTextFinds) {
    using namespace std::string_literals;
    const std::string raw = "**** ERROR file opened\r\nT:0001 ======> first\r\r\n" + std::string(120, 'y') +
                            "\r\nERROR       second\rthird\r\n1234567======> a\0b\r\nT:0002 ======> last\r"s;
    std::string text;  // as text mode reads it: CR LF is one line feed
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) text += raw[i];
    const std::string whole = trace_finding(text);
    ASSERT_EQ(whole, "last");
    for (std::size_t split = 0; split <= raw.size(); ++split) {
        TraceFinder finder;
        feed_trace(finder, raw.data(), split);
        feed_trace(finder, raw.data() + split, raw.size() - split);
        EXPECT_EQ(finish_trace(finder), whole) << "split at " << split;
    }
}
