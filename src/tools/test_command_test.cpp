#include <gtest/gtest.h>

#include "profile_tool.h"

TEST(TestCommand, AdviceFollowsTheLibrarysKeyAndMessage) {
    const struct {
        const char* key;
        const char* message;
        const char* adviceBegins;  // empty: no advice
    } cases[] = {
        {"RFC_ERROR_LOGON_FAILURE", "Name or password is incorrect", "SAP refused the logon"},
        // The library reports some refused logons under its communication key.
        {"RFC_ERROR_COMMUNICATION", "Name or password is incorrect", "SAP refused the logon"},
        {"RFC_ERROR_LOGON_FAILURE", "User is locked. Please notify the person responsible", "SAP refused the logon"},
        {"RFC_ERROR_COMMUNICATION", "partner 'sapdev01:sapgw20' not reached", "the system was not reached"},
        {"RFC_ERROR_SYSTEM_FAILURE", "No RFC authorization for function module TH_REQUEST_QUEUE",
         "the SAP user may not call"},
        {"FU_NOT_FOUND", "", "the system has no function module"},
        {"RFC_ERROR_COMMUNICATION", "destination BIN not found in saprfc.ini", "the destination's SapRfc file"},
        {"", "", ""},
        {"RFC_ERROR_PROGRAM", "something else", ""},
    };
    for (const auto& c : cases) {
        const std::string advice = failure_advice(c.key, c.message);
        EXPECT_EQ(advice.substr(0, std::string(c.adviceBegins).size()), c.adviceBegins) << c.key << " " << c.message;
        EXPECT_EQ(advice.empty(), *c.adviceBegins == '\0') << c.key << " " << c.message;
    }
}
