#include "scenario.h"

#include <algorithm>
#include <charconv>

#include "nw_codes.h"

namespace rfcsim {

namespace {

constexpr std::size_t queueNameWidth = 13;
constexpr std::size_t queueNumberWidth = 11;
constexpr std::size_t queueNumberCount = 5;
// A delay is below a billion seconds, so that its microseconds fit any clock.
constexpr std::size_t delaySecondsDigits = 9;
constexpr std::size_t microsecondDigits = 6;

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim_left(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view trim_right(std::string_view text) {
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view trim(std::string_view text) {
    return trim_right(trim_left(text));
}

std::vector<std::string_view> split_words(std::string_view text) {
    std::vector<std::string_view> words;
    for (text = trim_left(text); !text.empty(); text = trim_left(text)) {
        std::size_t end = 0;
        while (end < text.size() && !is_blank(text[end])) ++end;
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return words;
}

// A decimal integer: an optional minus sign and digits, nothing else.
template <typename Number>
bool parse_number(std::string_view text, Number& number) {
    if (text.empty() || text.front() == '+') return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// ok | fail
std::string parse_switch(std::string_view key, std::string_view value, bool& fails) {
    if (value == "ok" || value == "fail") {
        fails = value == "fail";
        return {};
    }
    return "bad value " + quoted(value) + " for " + std::string(key) + " (ok or fail)";
}

// ok | fail | fail-at N
std::string parse_get_line(std::string_view value, LibrarySwitches& library) {
    if (value == "ok" || value == "fail") {
        library.getLineFails = value == "fail";
        library.getLineFailsAt = 0;
        return {};
    }
    auto words = split_words(value);
    uint32_t line = 0;
    if (words.size() == 2 && words[0] == "fail-at" && parse_number(words[1], line) && line > 0) {
        library.getLineFails = false;
        library.getLineFailsAt = line;
        return {};
    }
    return "bad value " + quoted(value) + " for get_line (ok, fail or fail-at N, N from 1)";
}

// an integer | abort
std::string parse_outcome(std::string_view key, std::string_view value, CallOutcome& outcome) {
    if (value == "abort") {
        outcome = {true, 0};
        return {};
    }
    int32_t code = 0;
    if (parse_number(value, code)) {
        outcome = {false, code};
        return {};
    }
    return "bad value " + quoted(value) + " for " + std::string(key) + " (an integer or abort)";
}

std::string parse_open(std::string_view value, OpenOutcome& open) {
    if (value == "accept") open = OpenOutcome::accept;
    else if (value == "refuse") open = OpenOutcome::refuse;
    else if (value == "abort") open = OpenOutcome::abort;
    else return "bad value " + quoted(value) + " for open (accept, refuse or abort)";
    return {};
}

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Seconds written as DIGITS or DIGITS.DIGITS, exactly: digits beyond the
// microsecond are dropped, and there is no sign, exponent or bare point.
bool parse_seconds(std::string_view text, std::chrono::microseconds& duration) {
    std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!all_digits(whole) || (point != std::string_view::npos && !all_digits(fraction))) return false;
    std::string_view significant = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    if (significant.size() > delaySecondsDigits) return false;
    int64_t seconds = 0;
    if (!significant.empty() && !parse_number(significant, seconds)) return false;
    int64_t micro = 0;
    for (std::size_t i = 0; i < microsecondDigits; ++i)
        micro = micro * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    duration = std::chrono::seconds(seconds) + std::chrono::microseconds(micro);
    return true;
}

// OPERATION SECONDS. Each operation has one delay: a later line for the same
// operation replaces the earlier one.
std::string parse_delay(std::string_view value, Delays& delays) {
    auto words = split_words(value);
    if (words.size() != 2) return "delay needs OPERATION SECONDS, got " + quoted(value);
    std::chrono::microseconds* delay = nullptr;
    if (words[0] == "RfcOpen") delay = &delays.open;
    else if (words[0] == "RfcOpenEx") delay = &delays.openEx;
    else if (words[0] == "RfcCall") delay = &delays.call;
    else if (words[0] == "RfcReceive") delay = &delays.receive;
    else if (words[0] == "RfcOpenConnection") delay = &delays.openConnection;
    else if (words[0] == "RfcInvoke") delay = &delays.invoke;
    else
        return "unknown operation " + quoted(words[0]) +
               " for delay (RfcOpen, RfcOpenEx, RfcCall, RfcReceive, RfcOpenConnection or RfcInvoke)";
    std::chrono::microseconds duration{0};
    if (!parse_seconds(words[1], duration))
        return "bad seconds " + quoted(words[1]) + " for delay (a decimal number below 1000000000, such as 120 or 0.5)";
    *delay = duration;
    return {};
}

// |TEXT|: TEXT, between the first and the last bar, padded to a table line.
std::string parse_verbatim_line(std::string_view value, std::vector<std::string>& lines) {
    if (value.size() < 2 || value.front() != '|' || value.back() != '|')
        return "bad value " + quoted(value) + " for line (|TEXT|)";
    std::string_view text = value.substr(1, value.size() - 2);
    if (text.size() > tableLineWidth) return "line text longer than 80 characters";
    std::string line(text);
    line.resize(tableLineWidth, ' ');
    lines.push_back(std::move(line));
    return {};
}

// The name of an RFC_RC, such as RFC_TIMEOUT.
std::string parse_return_code(std::string_view key, std::string_view value, int32_t& code) {
    std::optional<int32_t> named = rfc_rc_named(value);
    if (!named)
        return "bad value " + quoted(value) + " for " + std::string(key) + " (an RFC_RC name such as RFC_TIMEOUT)";
    code = *named;
    return {};
}

std::string parse_library_key(std::string_view key, std::string_view value, LibrarySwitches& library) {
    if (key == "install_structure") return parse_switch(key, value, library.installStructureFails);
    if (key == "create_table") return parse_switch(key, value, library.createTableFails);
    if (key == "get_line") return parse_get_line(value, library);
    if (key == "delete_table") return parse_switch(key, value, library.deleteTableFails);
    return "unknown key " + quoted(key) + " in [library]";
}

std::string parse_system_key(std::string_view key, std::string_view value, SystemScenario& system) {
    std::string text(value);
    if (key == "open") return parse_open(value, system.open);
    if (key == "client") system.client = text;
    else if (key == "user") system.user = text;
    else if (key == "password") system.password = text;
    else if (key == "call") return parse_outcome(key, value, system.call);
    else if (key == "receive") return parse_outcome(key, value, system.receive);
    else if (key == "exception") system.exception = text;
    else if (key == "queue") {
        QueueLine queue = format_queue_line(value);
        if (!queue.error.empty()) return queue.error;
        system.lines.push_back(queue.line);
    } else if (key == "line") return parse_verbatim_line(value, system.lines);
    else if (key == "error.key") system.errorKey = text;
    else if (key == "error.status") system.errorStatus = text;
    else if (key == "error.message") system.errorMessage = text;
    else if (key == "error.internal") system.errorInternal = text;
    else if (key == "trace") system.trace.push_back(text);
    else if (key == "delay") return parse_delay(value, system.delays);
    else if (key == "nw.open") return parse_return_code(key, value, system.nwOpen);
    else if (key == "nw.invoke") return parse_return_code(key, value, system.nwInvoke);
    else return "unknown key " + quoted(key) + " in [system " + system.name + "]";
    return {};
}

enum class Section { none, library, system };

struct ParserState {
    Scenario scenario;
    Section section = Section::none;
    std::size_t system = 0;  // index of the current [system NAME]
};

// A repeated [system NAME] goes on with the earlier section of that name.
std::string open_section(std::string_view header, ParserState& state) {
    if (header.back() != ']') return "section line without closing ']'";
    std::string_view inside = trim(header.substr(1, header.size() - 2));
    if (inside == "library") {
        state.section = Section::library;
        return {};
    }
    if (inside.substr(0, 6) != "system" || (inside.size() > 6 && !is_blank(inside[6])))
        return "unknown section [" + std::string(inside) + "] ([library] or [system NAME])";
    std::string name(trim(inside.substr(6)));
    if (name.empty()) return "section [system] without a NAME";
    auto& systems = state.scenario.systems;
    auto [at, added] = state.scenario.systemIndex.emplace(name, systems.size());
    if (added) {
        systems.emplace_back();
        systems.back().name = name;
    }
    state.section = Section::system;
    state.system = at->second;
    return {};
}

std::string parse_line(std::string_view line, ParserState& state) {
    std::string_view content = trim(line);
    if (content.empty() || content.front() == '#' || content.front() == ';') return {};
    if (content.front() == '[') return open_section(content, state);
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return "expected 'key = value', [library] or [system NAME]";
    std::string_view key = trim(content.substr(0, equals));
    std::string_view value = trim(content.substr(equals + 1));
    if (key.empty()) return "no key before '='";
    switch (state.section) {
    case Section::library: return parse_library_key(key, value, state.scenario.library);
    case Section::system: return parse_system_key(key, value, state.scenario.systems[state.system]);
    case Section::none: break;
    }
    return "key " + quoted(key) + " outside a section";
}

}  // namespace

QueueLine format_queue_line(std::string_view value) {
    auto words = split_words(value);
    if (words.size() != 1 + queueNumberCount)
        return {{}, "queue needs NAME WAITINGS MAXQUE QUESIZE WRITES READS, got " + quoted(value)};
    if (words[0].size() > queueNameWidth) return {{}, "queue name " + quoted(words[0]) + " longer than 13 characters"};
    std::string line(words[0]);
    line.resize(queueNameWidth, ' ');
    for (std::size_t i = 1; i <= queueNumberCount; ++i) {
        int64_t number = 0;
        if (words[i].size() > queueNumberWidth || !parse_number(words[i], number))
            return {{}, "queue number " + quoted(words[i]) + " is not an integer of at most 11 characters"};
        if (i > 1) line += ' ';
        line += std::string(queueNumberWidth - words[i].size(), ' ');
        line += words[i];
    }
    line.resize(tableLineWidth, ' ');
    return {line, {}};
}

ParsedScenario parse_scenario(std::string_view text) {
    ParserState state;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string reason = parse_line(line, state);
        if (!reason.empty()) return {{}, lineNumber, reason};
    }
    return {std::move(state.scenario), 0, {}};
}

const SystemScenario* find_system(const Scenario& scenario, std::string_view destination) {
    auto at = scenario.systemIndex.find(std::string(destination));
    return at == scenario.systemIndex.end() ? nullptr : &scenario.systems[at->second];
}

std::string scenario_error_report(std::string_view file, const ParsedScenario& parsed) {
    return "rfcsim: " + std::string(file) + ":" + std::to_string(parsed.errorLine) + ": " + parsed.errorReason;
}

}  // namespace rfcsim
