#include "files.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The tests' files lie in a folder of the working directory, named as the
// sensor names files: by Windows path texts.
const std::string work = "files_test.work";

std::string in_work(const std::string& name) {
    return work + "\\" + name;
}

void write_bytes(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream out(host_path(windowsPath), std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Bytes of every value, line ends and NULs among them.
std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7) % 251);
    return bytes;
}

std::vector<std::string> names_in(const std::string& windowsFolder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(host_path(windowsFolder)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The temporary file that replace_file writes in this process.
std::string own_temporary(const std::string& windowsTarget) {
#ifdef _WIN32
    const unsigned long id = GetCurrentProcessId();
#else
    const long id = getpid();
#endif
    return windowsTarget + "." + std::to_string(id) + ".wickerby-new";
}

// Every way of reading refuses the file, without handing over any byte.
void expect_does_not_open(const std::string& windowsPath) {
    EXPECT_FALSE(file_opens(windowsPath)) << windowsPath;
    EXPECT_FALSE(read_raw_file(windowsPath).has_value()) << windowsPath;
    EXPECT_FALSE(read_text_file(windowsPath).has_value()) << windowsPath;
    EXPECT_FALSE(file_size(windowsPath).has_value()) << windowsPath;
    bool took = false;
    EXPECT_FALSE(read_file_chunks(windowsPath, 100, [&took](const char*, std::size_t) { took = true; })) << windowsPath;
    EXPECT_FALSE(took) << windowsPath;
}

class FilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(host_path(work));
        std::filesystem::create_directory(host_path(work));
    }
    void TearDown() override { std::filesystem::remove_all(host_path(work)); }
};

}  // namespace

TEST(Files, PosixPathsForWindowsTexts) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\PRTG_Path.Txt", "/drives/C/PRTG_Path.Txt"},
        {"d:\\Tools\\x", "/drives/D/Tools/x"},
        {"D:Sensors\\PRD.P00", "/drives/D/Sensors/PRD.P00"},
        {"\\Program Files\\a b", "/drives/C/Program Files/a b"},
        {"PRD.P00", "PRD.P00"},
        {"sub\\PRD.P00", "sub/PRD.P00"},
    };
    for (const auto& [windows, posix] : cases) EXPECT_EQ(posix_path_for(windows, "/drives"), posix) << windows;
    EXPECT_EQ(posix_path_for("C:\\x", "/"), "/C/x");
}

TEST(Files, TextModeJoinsCrLfOnly) {
    EXPECT_EQ(text_mode_contents("a\r\nb\rc\n\r\r\n"), "a\nb\rc\n\r\n");
}

TEST(Files, WindowsDeviceNames) {
    const std::pair<const char*, bool> cases[] = {
        {"NUL", true},
        {"nul", true},
        {"C:\\Sensors\\Con.txt", true},
        {"prn.", true},
        {"AUX  ", true},
        {"nul .txt", true},
        {"COM1", true},
        {"lpt9.log", true},
        {"C:NUL", true},
        {"sub/com3", true},
        {"COM1:", true},
        {"CONIN$", true},
        {"sub\\conout$.", true},
        {"\\\\.\\NUL", true},
        {"NULL", false},
        {"CONX.txt", false},
        {"COM0", false},
        {"COM10", false},
        {"LPT", false},
        {"NUL\\PRD.P00", false},
        {"PRD.P00", false},
        {"xnul", false},
        {"CONIN$.txt", false},
        {"C:", false},
        {"C:\\", false},
        {"", false},
    };
    for (const auto& [path, device] : cases) EXPECT_EQ(is_windows_device_name(path), device) << path;
}

TEST_F(FilesOnDisk, RegularFilesReadWhole) {
    const std::string bytes("PRD\r\nline\rx\n\0end\r\n", 19);
    const std::pair<std::string, std::string> files[] = {{"PRD.P00", bytes}, {"empty", ""}};
    for (const auto& [name, contents] : files) {
        write_bytes(in_work(name), contents);
        EXPECT_TRUE(file_opens(in_work(name))) << name;
        EXPECT_EQ(read_raw_file(in_work(name)), contents) << name;
        EXPECT_EQ(read_text_file(in_work(name)), text_mode_contents(contents)) << name;
        EXPECT_EQ(file_size(in_work(name)), contents.size()) << name;
    }
}

TEST_F(FilesOnDisk, ReadsStopAtTheLimit) {
    const std::string big = pattern(fileReadLimit + 10);
    write_bytes(in_work("big"), big);
    EXPECT_EQ(file_size(in_work("big")), big.size());
    const std::optional<std::string> raw = read_raw_file(in_work("big"));
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->size(), fileReadLimit);
    EXPECT_TRUE(*raw == big.substr(0, fileReadLimit));
}

TEST_F(FilesOnDisk, ChunksHandOverTheFirstBytesInPieces) {
    const std::string bytes = pattern(2 * fileChunkSize + 7);
    write_bytes(in_work("Dev_Rfc.Trc"), bytes);
    const std::uint64_t limits[] = {0, 1, fileChunkSize, fileChunkSize + 1, bytes.size(), bytes.size() + 1, UINT64_MAX};
    for (const std::uint64_t limit : limits) {
        std::string got;
        std::size_t pieces = 0;
        const bool opened = read_file_chunks(in_work("Dev_Rfc.Trc"), limit, [&](const char* data, std::size_t size) {
            EXPECT_GT(size, 0u);
            EXPECT_LE(size, fileChunkSize);
            got.append(data, size);
            ++pieces;
        });
        EXPECT_TRUE(opened) << limit;
        const std::size_t expected = static_cast<std::size_t>(std::min<std::uint64_t>(limit, bytes.size()));
        EXPECT_TRUE(got == bytes.substr(0, expected)) << limit;
        EXPECT_EQ(pieces, (expected + fileChunkSize - 1) / fileChunkSize) << limit;
    }
}

TEST_F(FilesOnDisk, OnlyRegularFilesOpen) {
    std::filesystem::create_directory(host_path(in_work("folder")));
    std::vector<std::string> refused = {in_work("missing"), in_work("folder")};
#ifdef _WIN32
    for (const char* device : {"NUL", "con", "COM1.txt", "CONOUT$", "\\\\.\\NUL"}) refused.push_back(device);
    // A pipe opens, but is no file on a disk; every reading below opens one
    // instance of it.
    const char* pipeName = "\\\\.\\pipe\\wickerby-files-test";
    std::vector<HANDLE> instances;
    for (int i = 0; i < 5; ++i)
        instances.push_back(CreateNamedPipeA(pipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                             PIPE_UNLIMITED_INSTANCES, 512, 512, 0, nullptr));
    ASSERT_NE(instances.front(), INVALID_HANDLE_VALUE);
    refused.push_back(pipeName);
#else
    ASSERT_EQ(mkfifo(host_path(in_work("fifo")).c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", host_path(in_work("zero")).c_str()), 0);
    ASSERT_EQ(symlink("/dev/null", host_path(in_work("null")).c_str()), 0);
    ASSERT_EQ(symlink("folder", host_path(in_work("to-folder")).c_str()), 0);
    for (const char* name : {"fifo", "zero", "null", "to-folder"}) refused.push_back(in_work(name));
#endif
    for (const std::string& path : refused) expect_does_not_open(path);
#ifdef _WIN32
    for (HANDLE instance : instances) CloseHandle(instance);
#endif
}

#ifndef _WIN32
TEST_F(FilesOnDisk, LinksToRegularFilesAreFollowed) {
    write_bytes(in_work("PRD.P01"), "ASHOST=x\r\n");
    ASSERT_EQ(symlink("PRD.P01", host_path(in_work("PRD.P00")).c_str()), 0);
    EXPECT_EQ(read_text_file(in_work("PRD.P00")), "ASHOST=x\n");
    EXPECT_EQ(file_size(in_work("PRD.P00")), 10u);
}

TEST_F(FilesOnDisk, ReplacingNeverWritesThroughALinkAtTheTemporaryName) {
    write_bytes(in_work("victim"), "keep");
    write_bytes(in_work("SapRfc.ini"), "old");
    ASSERT_EQ(symlink("victim", host_path(own_temporary(in_work("SapRfc.ini"))).c_str()), 0);
    EXPECT_TRUE(replace_file(in_work("SapRfc.ini"), "new"));
    EXPECT_EQ(read_raw_file(in_work("victim")), "keep");
    EXPECT_EQ(read_raw_file(in_work("SapRfc.ini")), "new");
    EXPECT_EQ(names_in(work), (std::vector<std::string>{"SapRfc.ini", "victim"}));
}
#endif

TEST_F(FilesOnDisk, ReplacingLeavesTheWholeNewFileAndNothingElse) {
    const std::string target = in_work("SapRfc.ini");
    const std::string leftovers[] = {"", "leftover of a killed run"};
    for (const std::string& leftover : leftovers) {
        write_bytes(target, "old contents");
        if (!leftover.empty()) write_bytes(own_temporary(target), leftover);
        EXPECT_TRUE(replace_file(target, "DEST=PRD\r\n")) << leftover;
        EXPECT_EQ(read_raw_file(target), "DEST=PRD\r\n") << leftover;
        EXPECT_EQ(names_in(work), std::vector<std::string>{"SapRfc.ini"}) << leftover;
    }
}

TEST_F(FilesOnDisk, ReplacingFailsWithoutHarm) {
    const std::string target = in_work("SapRfc.ini");
    write_bytes(target, "old");
    // A folder at the temporary name is nothing this process left behind.
    std::filesystem::create_directory(host_path(own_temporary(target)));
    EXPECT_FALSE(replace_file(target, "new"));
    EXPECT_EQ(read_raw_file(target), "old");
    EXPECT_TRUE(std::filesystem::is_directory(host_path(own_temporary(target))));
    EXPECT_FALSE(replace_file(in_work("missing\\SapRfc.ini"), "new"));
    EXPECT_FALSE(std::filesystem::exists(host_path(in_work("missing"))));
}
