#include "failure_report.h"

#include <gtest/gtest.h>

#include <string>

TEST(FailureBlock, LabelsAndEmptyTexts) {
    LibraryError error;
    EXPECT_EQ(failure_block("RfcInstallStructure", error), "RFC error\n"
                                                           "operation/code  : RfcInstallStructure\n"
                                                           "key             : \n"
                                                           "status          : \n"
                                                           "message         : \n"
                                                           "internal status : \n"
                                                           "\n");
    error.key = "RFC_ERROR_LOGON_FAILURE";
    error.internalStatus = std::string(128, 'i');
    std::string block = failure_block("RfcOpen", error);
    EXPECT_NE(block.find("key             : RFC_ERROR_LOGON_FAILURE\n"), std::string::npos);
    EXPECT_NE(block.find("internal status : " + std::string(128, 'i') + "\n"), std::string::npos);
}
