#include "leftovers.h"

#include <string>

#include <gtest/gtest.h>

#include "files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// No system gives a process this id.
constexpr unsigned long goneProcess = 999999999;

std::string own_process() {
#ifdef _WIN32
    return std::to_string(GetCurrentProcessId());
#else
    return std::to_string(getpid());
#endif
}

}  // namespace

TEST(Leftovers, ProcessIdsAreReadFromExactlyTheNamesMadeSo) {
    struct Case {
        const char* name;
        std::optional<unsigned long> id;
    };
    const Case cases[] = {
        {"SapRfc.ini.4711.wickerby-new", 4711},         {"SapRfc.ini.4711.wickerby-new.txt", 4711},
        {"SapRfc.ini..wickerby-new", std::nullopt},     {"SapRfc.ini.47x11.wickerby-new", std::nullopt},
        {"SapRfc.BIN.4711.wickerby-new", std::nullopt}, {"SapRfc.ini.12345678901.wickerby-new", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(leftover_process_id(c.name, "SapRfc.ini.", ".wickerby-new"), c.id) << c.name;
}

TEST(Leftovers, OnlyFilesOfProcessesNoLongerRunningGo) {
    EXPECT_TRUE(process_is_running(std::stoul(own_process())));
    EXPECT_FALSE(process_is_running(goneProcess));
    const std::string target = "wickerby-leftover-test.ini";
    const std::string gone = target + "." + std::to_string(goneProcess) + replacementSuffix;
    const std::string running = target + "." + own_process() + replacementSuffix;
    const std::string other = target + ".old";
    for (const std::string& name : {gone, running, other}) ASSERT_TRUE(replace_file(name, "DEST=X\n"));
    remove_abandoned_temporaries(target);
    EXPECT_FALSE(file_opens(gone));
    EXPECT_TRUE(file_opens(running));
    EXPECT_TRUE(file_opens(other));
    for (const std::string& name : {running, other}) remove_file(name);
}
