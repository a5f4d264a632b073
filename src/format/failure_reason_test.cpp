#include "failure_reason.h"

#include <gtest/gtest.h>

TEST(FailureReason, TheLibrarysWordsAndTheWarningOfARefusedLogon) {
    const struct {
        const char* key;
        const char* message;
        const char* reason;
    } cases[] = {
        {"RFC_ERROR_COMMUNICATION", "partner not reached", "RFC_ERROR_COMMUNICATION: partner not reached"},
        {"RFC_ERROR_LOGON_FAILURE", "Name or password is incorrect",
         "RFC_ERROR_LOGON_FAILURE: Name or password is incorrect; every further scan counts towards locking the SAP "
         "user"},
        {"", "User is locked", "User is locked; every further scan counts towards locking the SAP user"},
        {"RFC_ERROR_SYSTEM_FAILURE", "", "RFC_ERROR_SYSTEM_FAILURE"},
        {"", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(library_reason(c.key, c.message), c.reason) << c.key << c.message;
}

TEST(FailureReason, TextsAreCutToPrtgsLimitWithAnEllipsis) {
    EXPECT_EQ(within_text_limit(std::string(2000, 'a')), std::string(2000, 'a'));
    EXPECT_EQ(within_text_limit(std::string(2001, 'a')), std::string(1997, 'a') + "...");
}
