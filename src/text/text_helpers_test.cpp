#include "text_helpers.h"

#include <gtest/gtest.h>

TEST(CInteger, ReadsAsAtoiWithTheChosenOverflow) {
    const struct {
        const char* text;
        int32_t clamped;
        int32_t wrapped;
    } cases[] = {
        {"00", 0, 0},
        {"  12x", 12, 12},
        {"-3", -3, -3},
        {"+4", 4, 4},
        {"ab", 0, 0},
        {"", 0, 0},
        {"2147483647", INT32_MAX, INT32_MAX},
        {"99999999999", INT32_MAX, 1215752191},
        {"4294967296", INT32_MAX, 0},
        {"-99999999999", -INT32_MAX, -1215752191},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c_integer(c.text, NumberOverflow::Clamp), c.clamped) << c.text;
        EXPECT_EQ(c_integer(c.text, NumberOverflow::Wrap), c.wrapped) << c.text;
    }
}
