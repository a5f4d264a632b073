#include "private_folder.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "environment.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// No system gives a process this id.
constexpr unsigned long goneProcess = 999999999;

#ifdef _WIN32
constexpr const char* temporaryVariable = "TMP";
unsigned long own_process() {
    return GetCurrentProcessId();
}
#else
constexpr const char* temporaryVariable = "TMPDIR";
unsigned long own_process() {
    return static_cast<unsigned long>(getpid());
}
#endif

// A temporary folder of the test's own for as long as it lives, so that
// no other program's sweep of the shared one meets the test's entries.
struct OwnTemporaryFolder {
    std::optional<std::string> before = environment_variable(temporaryVariable);
    fs::path folder;
    OwnTemporaryFolder() {
        folder = fs::path(temporary_folder_path().value()) / ("wickerby-test-" + std::to_string(own_process()));
        fs::remove_all(folder);
        fs::create_directory(folder);
        set_environment_variable(temporaryVariable, folder.string());
    }
    ~OwnTemporaryFolder() {
        set_environment_variable(temporaryVariable, before.value_or(""));
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

void write_file(const fs::path& path) {
    std::ofstream(path) << "keep\n";
}

// The home, made as the sensor makes it when it makes a private folder.
fs::path made_home() {
    const std::string own = private_folder_path().value();
    EXPECT_EQ(make_private_folder_told(own), std::nullopt);
    remove_private_folder(own);
    // Without its trailing separator, so that it can be replaced by a link.
    return fs::path(private_folders_home().value()).parent_path();
}

}  // namespace

TEST(PrivateFolder, OnlyNamesMadeAsTheSensorMakesThemAreItsOwn) {
    struct Case {
        std::string name;
        std::optional<unsigned long> id;
    };
    const Case cases[] = {
        {"wickerby-4711-0123456789abcdef", 4711},
        {"wickerby-4294967295-0123456789abcdef", 4294967295UL},
        {private_folder_name(), own_process()},
        {"wickerby-31000-notes", std::nullopt},
        {"wickerby-0-x", std::nullopt},
        {"wickerby-0-0123456789abcdef", std::nullopt},
        {"wickerby-4294967297-x", std::nullopt},
        {"wickerby-4294967297-0123456789abcdef", std::nullopt},
        {"wickerby-04711-0123456789abcdef", std::nullopt},
        {"wickerby-4711-0123456789ABCDEF", std::nullopt},
        {"wickerby-4711-0123456789abcdef0", std::nullopt},
        {"wickerby-4711-0123456789abcde", std::nullopt},
        {"wickerby--0123456789abcdef", std::nullopt},
        {"wickerby-private-1000", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(private_folder_process(c.name), c.id) << c.name;
}

// Entries that others may make in a shared temporary folder, and names
// like the sensor's that it never made, stay wherever they lie; an
// abandoned folder of the sensor's own in its home goes. (Windows matches
// names without regard to case: the foreign names differ from it in more.)
TEST(PrivateFolder, ForeignNamesAreNeverRemoved) {
    const OwnTemporaryFolder temporary;
    const fs::path home = made_home();
    const char* foreign[] = {"wickerby-999999999-notes", "wickerby-0-x", "wickerby-4294967297-x",
                             "wickerby-999999999-ABCDEF0123456789"};
    for (const fs::path& place : {temporary.folder, home})
        for (const char* name : foreign) {
            fs::create_directory(place / name);
            write_file(place / name / "important.txt");
        }
    const fs::path abandoned = home / ("wickerby-" + std::to_string(goneProcess) + "-0123456789abcdef");
    fs::create_directory(abandoned);
    write_file(abandoned / "SapRfc.ini");
    remove_abandoned_private_folders();
    for (const fs::path& place : {temporary.folder, home})
        for (const char* name : foreign) EXPECT_TRUE(fs::exists(place / name / "important.txt")) << place / name;
    EXPECT_FALSE(fs::exists(abandoned)) << "the abandoned folder goes";
}

// A private folder that someone swapped for a link, and a link in one, lead
// the removal nowhere else: what the links name stays.
TEST(PrivateFolder, ALinkIsNeverFollowed) {
    const OwnTemporaryFolder temporary;
    const fs::path home = made_home();
    const fs::path outside = temporary.folder / "outside";
    fs::create_directory(outside);
    write_file(outside / "keep.txt");
    const fs::path swapped = home / ("wickerby-" + std::to_string(goneProcess) + "-fedcba9876543210");
    std::error_code error;
    fs::create_directory_symlink(outside, swapped, error);
    if (error) GTEST_SKIP() << "no links here: " << error.message();
    const fs::path abandoned = home / ("wickerby-" + std::to_string(goneProcess) + "-0123456789abcdef");
    fs::create_directory(abandoned);
    fs::create_symlink(outside / "keep.txt", abandoned / "link.txt");

    remove_private_folder(swapped.string() + static_cast<char>(fs::path::preferred_separator));
    EXPECT_TRUE(fs::exists(outside / "keep.txt")) << "removed through the swapped folder";
    remove_abandoned_private_folders();
    EXPECT_TRUE(fs::exists(outside / "keep.txt")) << "removed by the sweep";
    EXPECT_FALSE(fs::exists(fs::symlink_status(abandoned))) << "the abandoned folder goes, its link as a link";
    fs::remove(swapped);

#ifndef _WIN32
    // A home that is a link, or that others may write in, is not used.
    fs::remove_all(home);
    fs::create_directory_symlink(outside, home);
    EXPECT_NE(make_private_folder_told(private_folder_path().value()), std::nullopt);
    fs::remove(home);
    fs::create_directory(home);
    chmod(home.c_str(), 0777);
    EXPECT_NE(make_private_folder_told(private_folder_path().value()), std::nullopt);
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
#endif
}
