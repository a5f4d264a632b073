#include "console.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

void prepare_standard_output() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_TEXT);
#endif
}

void write_output(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void flush_output() {
    std::fflush(stdout);
}

std::time_t current_time() {
    return std::time(nullptr);
}

std::string time_of_day_text(std::time_t time) {
    char text[16] = "00:00:00";
    if (const std::tm* local = std::localtime(&time)) std::strftime(text, sizeof text, "%H:%M:%S", local);
    return text;
}

void end_process(int exitCode) {
    std::fflush(stdout);
    std::exit(exitCode);
}

void end_process_at_once(int exitCode) {
    std::fflush(stdout);
    std::_Exit(exitCode);
}
