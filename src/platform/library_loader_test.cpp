#include "library_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// A folder for the test's own files, with its trailing separator.
std::string temporary_folder() {
#ifdef _WIN32
    char path[MAX_PATH + 1];
    const DWORD size = GetTempPathA(sizeof path, path);
    return size == 0 || size > MAX_PATH ? std::string() : std::string(path, size);
#else
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    return path.back() == '/' ? path : path + '/';
#endif
}

std::string process_suffix() {
#ifdef _WIN32
    return std::to_string(GetCurrentProcessId());
#else
    return std::to_string(getpid());
#endif
}

char last(const std::string& text) {
    return text.empty() ? '\0' : text.back();
}

}  // namespace

TEST(LibraryLoader, DirectoriesAndNamesOfThisPlatform) {
    const std::string directory = executable_directory();
#ifdef _WIN32
    EXPECT_EQ(last(directory), '\\') << directory;
    EXPECT_EQ(last(system_library_directory()), '\\') << system_library_directory();
    EXPECT_EQ(library_file_name("librfc32"), "librfc32.dll");
    // The kind of library a process of this width can load.
    EXPECT_EQ(loadable_library_kind(), sizeof(void*) == 8 ? "64-bit Windows library" : "32-bit Windows library");
    // The system's libraries carry a version resource; the simulator's does not.
    const std::optional<std::string> version = library_file_version(system_library_directory() + "kernel32.dll");
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(std::count(version->begin(), version->end(), '.'), 3) << *version;
    EXPECT_FALSE(library_file_version(directory + "librfc32.dll").has_value());
#else
    EXPECT_EQ(directory.front(), '/') << directory;
    EXPECT_EQ(last(directory), '/') << directory;
    EXPECT_EQ(system_library_directory(), "");
    EXPECT_EQ(library_file_name("librfc32"), "librfc32.so");
    EXPECT_EQ(loadable_library_kind(), std::to_string(sizeof(void*) * 8) + "-bit shared library");
    EXPECT_FALSE(library_file_version(directory + "librfc32.so").has_value());
#endif
}

// The build puts the simulator's librfc32 beside the test program.
TEST(LibraryLoader, LoadsALibraryAndFindsItsExportsByPlainName) {
    const LoadedLibrary library = load_library(executable_directory() + library_file_name("librfc32"));
    ASSERT_EQ(library.failure, LibraryLoadFailure::none) << library.reason;
    EXPECT_NE(library.handle, nullptr);
    EXPECT_NE(library_procedure(library, "RfcOpen"), nullptr);
    EXPECT_NE(library_procedure(library, "ItDelete"), nullptr);
    EXPECT_EQ(library_procedure(library, "RfcOpen@4"), nullptr);
    EXPECT_EQ(library_procedure(library, "NoSuchOperation"), nullptr);
    EXPECT_EQ(library_procedure(LoadedLibrary{}, "RfcOpen"), nullptr);
}

TEST(LibraryLoader, TellsAMissingFileFromOneThatIsNoLibrary) {
    const std::string folder = temporary_folder();
    ASSERT_FALSE(folder.empty());
    const std::string stem = folder + "wickerby-loader-test-" + process_suffix() + "-";
    const struct {
        const char* name;
        const char* contents;  // null: no such file
        LibraryLoadFailure failure;
    } cases[] = {
        {"absent", nullptr, LibraryLoadFailure::absent},
        {"text", "This is a text, not a library.\n", LibraryLoadFailure::wrongFormat},
        {"long-text", "A text long enough to hold any header a loader reads first, but not a library.\n",
         LibraryLoadFailure::wrongFormat},
    };
    for (const auto& c : cases) {
        const std::string path = stem + library_file_name(c.name);
        if (c.contents) std::ofstream(path, std::ios::binary) << c.contents;
        const LoadedLibrary library = load_library(path);
        EXPECT_EQ(library.failure, c.failure) << c.name << ": " << library.reason;
        EXPECT_EQ(library.handle, nullptr) << c.name;
        EXPECT_EQ(library_procedure(library, "RfcOpen"), nullptr) << c.name;
        if (c.contents) std::remove(path.c_str());
    }
    // A folder under the library's name is there, but the system refuses it
    // for a reason it gives in its own words.
    const std::string folderPath = stem + library_file_name("folder");
    std::filesystem::create_directory(folderPath);
    const LoadedLibrary refused = load_library(folderPath);
    std::filesystem::remove(folderPath);
    EXPECT_EQ(refused.failure, LibraryLoadFailure::other);
    EXPECT_FALSE(refused.reason.empty());
    EXPECT_EQ(refused.reason.find(folderPath), std::string::npos) << refused.reason;
    // A missing directory is a missing file too.
    EXPECT_EQ(load_library(stem + "no-such-folder/" + library_file_name("librfc32")).failure,
              LibraryLoadFailure::absent);
}
