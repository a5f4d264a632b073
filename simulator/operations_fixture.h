// The fixture of the tests that drive the library operations through their C
// interface: each test in a fresh temporary working directory and with a
// fresh simulator state.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "rfc_library.h"
#include "simulator.h"
#include "test_files.h"

namespace rfcsim_test {

namespace fs = std::filesystem;

inline std::string handlerCalls;

inline void RFC_CALL record_handler_call(const char* operation) {
    handlerCalls += std::string(operation) + ";";
}

class Operations : public testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        home = fs::current_path();
        directory = fs::temp_directory_path() / ("rfcsim_test_" + std::to_string(random()));
        fs::create_directories(directory);
        fs::current_path(directory);
        for (const char* name : {"RFCSIM_SCENARIO", "RFCSIM_LOG", "RFC_INI"}) set_environment(name, "");
        rfcsim::reset_simulator();
        handlerCalls.clear();
        RfcEnvironmentRecord environment{record_handler_call, nullptr};
        RfcEnvironment(&environment);
    }

    void TearDown() override {
        rfcsim::reset_simulator();
        fs::current_path(home);
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }

    void scenario(const std::string& text) { write_file("rfcsim.ini", text); }

    RfcHandle open(const char* destination, const char* client = "100", const char* user = "MONITOR     ",
                   const char* password = "s3cret    ") {
        options = {destination, RFC_MODE_R3, &r3, client, user, password, "E", 0};
        return RfcOpen(&options);
    }

    RfcErrorInformation last_error() {
        RfcErrorInformation error{};
        RfcLastError(&error);
        return error;
    }

    std::string trace() { return file_text("Dev_Rfc.Trc"); }

    // THLINES, the table and the descriptor list, as the sensor builds them.
    TableHandle call_request_queue(RfcHandle handle, RfcResult& received, char** exception = nullptr) {
        RfcTypeElement element{"THLINE", RFC_TYPE_CHAR, 80, 0, 0};
        LineTypeHandle lineType = 0;
        EXPECT_EQ(RfcInstallStructure("THLINES", &element, 1, &lineType), 0);
        TableHandle table = ItCreate("REQUEST_QUEUES", 80, 0, 0);
        RfcTableDescriptor tables[2] = {{"REQUEST_QUEUES", 14, lineType, 0, table, 0, 0}, {}};
        RfcParameter none[1] = {{}};
        received = RfcCall(handle, "TH_REQUEST_QUEUE", none, tables);
        if (received == 0) received = RfcReceive(handle, none, tables, exception);
        return table;
    }

    fs::path home;
    fs::path directory;
    RfcR3ConnectionRecord r3{"APP01", 0, nullptr, nullptr};
    RfcConnectionOptions options{};
};

inline constexpr const char* prd = "[system PRD]\nclient = 100\nuser = MONITOR\npassword = s3cret\n";

// The trace with the time stamps of the classic entries masked.
inline std::string masked_trace() {
    std::string text = file_text("Dev_Rfc.Trc");
    const std::string opening = "**** ERROR file opened at ";
    for (std::size_t at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1))
        for (std::size_t i = at + opening.size(); i < text.size() && text[i] != '\n'; ++i)
            if (text[i] >= '0' && text[i] <= '9') text[i] = 'D';
    return text;
}

inline std::string classic_entry(const std::string& message) {
    return "**** ERROR file opened at DDDDDDDD DDDDDD\nT:0001 ======> " + message + "\n";
}

}  // namespace rfcsim_test
