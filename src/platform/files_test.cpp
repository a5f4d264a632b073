#include "files.h"

#include <gtest/gtest.h>

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
