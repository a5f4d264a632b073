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

std::string time_of_day_text() {
    std::time_t now = std::time(nullptr);
    char text[16] = "00:00:00";
    if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%H:%M:%S", local);
    return text;
}

void end_process(int exitCode) {
    std::fflush(stdout);
    std::exit(exitCode);
}
