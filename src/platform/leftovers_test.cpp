#include "leftovers.h"

#include <string>

#include <gtest/gtest.h>

#include "files.h"
#include "private_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
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

// A folder made as another process makes it.
bool make_plain_folder(const std::string& path) {
#ifdef _WIN32
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
    return mkdir(path.c_str(), 0700) == 0;
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

TEST(Leftovers, PrivateFoldersOfProcessesNoLongerRunningGo) {
    const std::optional<std::string> own = private_folder_path();
    ASSERT_TRUE(own);
    const std::string name = private_folder_name();
    const std::string prefix = "wickerby-" + own_process() + "-";
    ASSERT_EQ(name.compare(0, prefix.size(), prefix), 0) << name;
    const std::string temporary = own->substr(0, own->find_last_of("\\/", own->size() - 2) + 1);
    const char separator = own->back();
    // Made through the system, as other processes made them: one of an id
    // no process has, and one an earlier process of this process's id left.
    const std::string abandoned = temporary + "wickerby-" + std::to_string(goneProcess) + "-0123456789abcdef";
    const std::string predecessor = temporary + prefix + "fedcba9876543210";
    ASSERT_TRUE(make_private_folder(*own));
    for (const std::string& folder : {abandoned, predecessor}) ASSERT_TRUE(make_plain_folder(folder));
    ASSERT_TRUE(write_private_file(abandoned + separator, "SapRfc.ini", "DEST=X\n"));
    remove_abandoned_private_folders();
    EXPECT_TRUE(make_private_folder(abandoned + separator)) << "the abandoned folder is gone";
    EXPECT_TRUE(make_private_folder(predecessor + separator)) << "the earlier process's folder is gone";
    EXPECT_FALSE(make_private_folder(*own)) << "this process's folder stays";
    for (const std::string& folder : {abandoned + separator, predecessor + separator, *own})
        remove_private_folder(folder);
}
