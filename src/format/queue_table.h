// The request-queue table of TH_REQUEST_QUEUE summed into five column
// totals and seven queue totals, reported as a result document or, in a
// listing run, as the one channel of the chosen item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channel_options.h"
#include "document.h"

// Columns of a table line that are read: the queue name in the first 13,
// the five numbers ending at column 72.
inline constexpr std::size_t queueNameColumns = 13;
inline constexpr std::size_t readColumns = 72;

// A queue type's requests waiting now (the first number of its lines) and
// its high-water mark (the second).
struct QueueLength {
    uint32_t current = 0, highest = 0;
};

// Signed 32-bit sums, kept as unsigned so that they wrap instead of overflowing.
struct QueueTotals {
    uint32_t queSize = 0, reads = 0, writes = 0, maxQue = 0, waitings = 0;
    uint32_t noWork = 0, dialog = 0, update = 0, enQueue = 0, batch = 0, spool = 0, update2 = 0;
    QueueLength noWorkLength, dialogLength, updateLength, enQueueLength, batchLength, spoolLength, update2Length;
};

// The line with the blanks of its name columns removed, cut at column 72.
std::string normalized_line(const std::string& line);

// Adds one table line (its first 80 characters) to the totals.
void add_queue_line(QueueTotals& totals, const std::string& line);

// The totals of the table's lines.
QueueTotals sum_queue_lines(const std::vector<std::string>& lines);

// The label code chosen by the queue keywords of the option string.
std::string queue_label_code(const std::string& optionString);

struct QueueChannel {
    const char* name;
    uint32_t total;
    bool counter;  // it only grows while the dispatcher runs: ",RATE" shows its difference
};

// The eight channels in their fixed order.
std::vector<QueueChannel> queue_channels(const QueueTotals& totals);

// The queue types' current lengths and high-water marks, in the order of
// the eight channels: "Queue NoWork", "Queue NoWork High", "Queue Dialog", ...
std::vector<QueueChannel> queue_length_channels(const QueueTotals& totals);

// The complete result document of a single-system run; ",QUEUES" adds the
// queue lengths after the eight channels.
void build_queue_document(ResultDocument& document, const QueueTotals& totals, const std::string& destination,
                          const std::string& labelCode, const ChannelOptions& options = {});

// The total of the channel the item names; nothing when it names none.
std::optional<uint32_t> item_total(const QueueTotals& totals, const std::string& itemId);

// A listing run's channel for one system: the channel that the item names,
// under the system's label; empty when the item names none of the channels.
std::string item_channel(const QueueTotals& totals, const std::string& itemId, const std::string& systemLabel,
                         bool rates = false);

// A listing run's channel of the systems it did not measure: last with
// ",FAILED", with an error limit of 0 (`limit`) so that PRTG shows the
// sensor down while any fails; at the deadline also without it, in PRTG's
// warning state (`warning`), so that PRTG keeps the channels printed.
std::string failed_systems_channel(unsigned failed, bool limit, bool warning);

// The message of a failed request-queue call.
std::string call_failure_text(int code, const std::string& exceptionText);
