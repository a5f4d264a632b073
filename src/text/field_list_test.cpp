#include "field_list.h"

#include <gtest/gtest.h>

TEST(FieldList, AnyBytesGoThroughAndBrokenListsAreRefused) {
    const std::vector<std::string> fields = {"", "PRD", std::string("a\0b\n:9", 6), std::string(1000, 'x')};
    EXPECT_EQ(decode_fields(encode_fields(fields)), fields);
    EXPECT_EQ(encode_fields({"ab", ""}), "2:ab0:");
    for (const char* broken : {"3:ab", "x:ab", ":", "2ab", "1:a2"})
        EXPECT_EQ(decode_fields(broken), std::nullopt) << broken;
}
