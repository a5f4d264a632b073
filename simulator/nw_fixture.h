// The fixture of the tests that drive the NetWeaver face through its C
// interface: each test in a fresh temporary working directory and with a
// fresh state of the face.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "nw_simulator.h"
#include "nw_texts.h"
#include "nwrfc_library.h"
#include "test_files.h"

namespace nwrfcsim_test {

namespace fs = std::filesystem;
using rfcsim_test::file_text;
using rfcsim_test::set_environment;
using rfcsim_test::write_file;

// The record's texts in UTF-8.
inline std::string key_of(const RFC_ERROR_INFO& error) {
    return rfcsim::utf8_of(error.key);
}
inline std::string message_of(const RFC_ERROR_INFO& error) {
    return rfcsim::utf8_of(error.message);
}

class NwOperations : public testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        home = fs::current_path();
        directory = fs::temp_directory_path() / ("nwrfcsim_test_" + std::to_string(random()));
        fs::create_directories(directory);
        fs::current_path(directory);
        for (const char* name : {"RFCSIM_SCENARIO", "RFCSIM_LOG", "RFC_INI"}) set_environment(name, "");
        rfcsim::reset_nw_simulator();
    }

    void TearDown() override {
        rfcsim::reset_nw_simulator();
        fs::current_path(home);
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }

    void scenario(const std::string& text) { write_file("rfcsim.ini", text); }

    // Parameters written "NAME=VALUE;NAME=VALUE" in UTF-8.
    RFC_CONNECTION_HANDLE open(const std::string& parameters) {
        texts.clear();
        std::size_t start = 0;
        while (start < parameters.size()) {
            std::size_t end = std::min(parameters.find(';', start), parameters.size());
            std::string word = parameters.substr(start, end - start);
            std::size_t equals = word.find('=');
            texts.push_back(rfcsim::utf16_of(word.substr(0, equals)));
            texts.push_back(rfcsim::utf16_of(word.substr(equals + 1)));
            start = end + 1;
        }
        std::vector<RFC_CONNECTION_PARAMETER> list;
        for (std::size_t i = 0; i < texts.size(); i += 2) list.push_back({texts[i].c_str(), texts[i + 1].c_str()});
        return RfcOpenConnection(list.data(), static_cast<unsigned>(list.size()), &error);
    }

    // Description, function and invoke, as the sensor will make them.
    RFC_FUNCTION_HANDLE invoke(RFC_CONNECTION_HANDLE connection, RFC_RC& result) {
        RFC_FUNCTION_DESC_HANDLE description = RfcGetFunctionDesc(connection, u"TH_REQUEST_QUEUE", &error);
        EXPECT_NE(description, nullptr);
        RFC_FUNCTION_HANDLE function = RfcCreateFunction(description, &error);
        EXPECT_NE(function, nullptr);
        result = RfcInvoke(connection, function, &error);
        return function;
    }

    std::vector<std::u16string> texts;
    RFC_ERROR_INFO error{};
    fs::path home;
    fs::path directory;
};

inline constexpr const char* prd = "[system PRD]\nclient = 100\nuser = MONITOR\npassword = s3cret\n";
inline constexpr const char* logon = "CLIENT=100;USER=MONITOR;PASSWD=s3cret;LANG=E";

}  // namespace nwrfcsim_test
