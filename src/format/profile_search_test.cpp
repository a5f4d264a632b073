#include "profile_search.h"

#include <gtest/gtest.h>

#include <set>

#include "messages.h"

namespace {

ProfileSearch search_among(const std::set<std::string>& files, const std::optional<std::string>& pathFile) {
    return search_profile("PRD.P00", pathFile, [&](const std::string& path) { return files.count(path) > 0; });
}

const std::string x86 = "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

}  // namespace

TEST(PathFile, LastDirectoryLineCounts) {
    EXPECT_EQ(path_file_directory(""), "");
    EXPECT_EQ(path_file_directory("Installed under:\nD:\\Tools\n"), "D:\\Tools");
    EXPECT_EQ(path_file_directory("\\Monitoring\nD:Monitoring\ncomment\n"), "D:Monitoring");
    EXPECT_EQ(path_file_directory("ab\\c\n"), "ab\\c");
    EXPECT_EQ(path_file_directory("D:\\Tools\n; comment"), "D:\\Tools");
    // A line of more than 99 characters is read as several lines.
    EXPECT_EQ(path_file_directory("D:\\" + std::string(96, 'x') + "E:\\rest\n"), "E:\\rest");
}

TEST(ProfileSearch, BelowThePathFileDirectory) {
    ProfileSearch install =
        search_among({"D:\\Tools\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00"}, "x\nD:\\Tools\n");
    EXPECT_TRUE(install.found);
    EXPECT_EQ(install.sensorDirectory, "D:\\Tools\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");

    ProfileSearch sensor = search_among({"D:\\Sensors\\ExeXml\\PRD.P00"}, "D:\\Sensors\\ExeXml");
    EXPECT_TRUE(sensor.found);
    EXPECT_EQ(sensor.sensorDirectory, "D:\\Sensors\\ExeXml\\");
    EXPECT_EQ(sensor.tried.front(), "D:\\Sensors\\ExeXml\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00");

    ProfileSearch notBelow = search_among({x86 + "PRD.P00", "PRD.P00"}, "D:\\Sensors\\");
    EXPECT_FALSE(notBelow.found);
}

TEST(ProfileSearch, EmptyPathFileLooksAtTheRootOnly) {
    ProfileSearch search = search_among({}, "");
    EXPECT_FALSE(search.found);
    const std::vector<std::string> tried = {
        "\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00",
        "\\Custom Sensors\\ExeXml\\PRD.P00",
        "\\PRD.P00",
    };
    EXPECT_EQ(search.tried, tried);
}

TEST(ProfileSearch, WithoutPathFile) {
    ProfileSearch here = search_among({"PRD.P00", x86 + "PRD.P00"}, std::nullopt);
    EXPECT_TRUE(here.found);
    EXPECT_EQ(here.sensorDirectory, "");
    EXPECT_EQ(here.tried.size(), 1u);

    ProfileSearch fixed = search_among({x86 + "PRD.P00"}, std::nullopt);
    EXPECT_TRUE(fixed.found);
    EXPECT_EQ(fixed.sensorDirectory, x86);
    const std::vector<std::string> tried = {
        "PRD.P00",
        "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00",
        "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00",
        x86 + "PRD.P00",
    };
    EXPECT_EQ(fixed.tried, tried);
    EXPECT_EQ(profile_missing_message("PRD.P00"), "Error 1002: Profile PRD.P00 is missing...");
}

// A completed name may keep a leading separator, and one written without a
// directory part may still name a drive: neither leads out of the
// directories searched.
TEST(ProfileSearch, TheNameIsLookedForInTheSearchedDirectoriesOnly) {
    const struct {
        const char* name;
        std::optional<std::string> pathFile;
        std::vector<std::string> tried;
        std::string path;  // empty: not found
    } cases[] = {
        {"\\PRD.P00", std::nullopt, {"PRD.P00"}, "PRD.P00"},
        {"/PRD.P00", std::nullopt, {"PRD.P00"}, "PRD.P00"},
        {"\\PRD.P00",
         "D:\\S",
         {"D:\\S\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00", "D:\\S\\Custom Sensors\\ExeXml\\PRD.P00",
          "D:\\S\\PRD.P00", "D:\\S\\PRD.P00"},
         "D:\\S\\PRD.P00"},
        {"C:PRD.P00", std::nullopt, {}, ""},
        {"PRD.P00:x", "D:\\S", {}, ""},
    };
    // Every file the names could reach lies there, at the root too.
    const std::set<std::string> files = {"PRD.P00",          "\\PRD.P00", "/PRD.P00",        "D:\\S\\PRD.P00",
                                         "D:\\S\\\\PRD.P00", "C:PRD.P00", "D:\\S\\PRD.P00:x"};
    for (const auto& c : cases) {
        const ProfileSearch search =
            search_profile(c.name, c.pathFile, [&](const std::string& path) { return files.count(path) > 0; });
        EXPECT_EQ(search.tried, c.tried) << c.name;
        EXPECT_EQ(search.found, !c.path.empty()) << c.name;
        EXPECT_EQ(search.path, c.path) << c.name;
    }
}
