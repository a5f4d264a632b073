#include "label_line.h"

#include <gtest/gtest.h>

TEST(LabelLine, PaddingAndLongLabels) {
    EXPECT_EQ(label_line("key", 0, 15, "ABC"), "key             : ABC\n");
    EXPECT_EQ(label_line("internal status", 0, 15, "x"), "internal status : x\n");
    EXPECT_EQ(label_line("a label longer than width", 0, 15, ""), "a label longer than width : \n");
    EXPECT_EQ(label_line("key", 2, 5, "7"), "  key   : 7\n");
}
