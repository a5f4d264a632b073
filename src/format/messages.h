// Every numbered message the sensor can print, in one place. The texts are
// what PRTG shows and what administrators search for, so they stay exactly
// as they have always been written, including their old spellings:
// "ProFile" (1024, 10x1), "Idenification" (1026), "Programm" and
// "EoXput" (the RFC error block), and the number "10x1".
#pragma once

#include <string>
#include <utility>
#include <vector>

inline constexpr const char* programName = "Wickerby";
inline constexpr const char* programVersion = "Vers 4.3 / 29.08.22";

inline constexpr const char* profileNameMissingMessage = "Error 1001: Parameter for Profile-Name is missing !";

inline std::string profile_missing_message(const std::string& profileName) {
    return "Error 1002: Profile " + profileName + " is missing...";
}

inline std::string invalid_parameters_message(const std::string& profileName) {
    return "Error 1003: Invalid Parameter(s) at " + profileName + " found...";
}

inline std::string invalid_password_message(const std::string& profileName) {
    return "Error 1004: Invalid Password in Profile " + profileName + " found...";
}

inline std::string wrong_password_message(const std::string& profileName) {
    return "Error 1005: Wrong Password in Profile " + profileName + " found...";
}

inline std::string username_missing_message(const std::string& profileName) {
    return "Error 1006: Username in Profile " + profileName + " is missing...";
}

inline std::string password_missing_message(const std::string& profileName) {
    return "Error 1007: Password in Profile " + profileName + " is missing...";
}

inline std::string rfc_open_failed_message(const std::string& destination) {
    return "Error 1011: RFC-Open for " + destination + " failed !";
}

// 1012 to 1015: a failed request-queue call, by its return code.
inline std::string exception_message(const std::string& exceptionText) {
    return "Error 1012: Exception.: " + exceptionText;
}
inline constexpr const char* systemExceptionMessage = "Error 1013: Sys-Exception raised !";
inline constexpr const char* rfcFailureMessage = "Error 1014: RFC-Failure raised !";
inline constexpr const char* otherFailureMessage = "Error 1015: Other Failure raised !";

// A listing that was found but does not open when it is read. The sensor
// reads the listing it finds at once, so only the tool, which test-opens
// first, can meet these.
inline std::string profile_list_missing_message(const std::string& profileName) {
    return "Error 1024: ProFile " + profileName + " is missing...";
}
inline std::string global_listing_missing_message(const std::string& profileName) {
    return "Error 10x1: ProFile " + profileName + " is missing...";
}

inline constexpr const char* listingMissingMessage = "Error 1025: Global Server Listing missing...";
inline constexpr const char* itemMissingMessage = "Error 1026: Global Item Idenification missing...";
inline constexpr const char* invalidAllocationMessage = "Error 1029: Invalid Sensor-Allocation...";

inline std::string global_sensor_missing_message(const std::string& secondArgument) {
    return "Error 1030: Global Sensor " + secondArgument + " not found...";
}

// The run's own deadline passed: a system that does not answer, named with
// the library operation the run waits in; or, outside any operation, the
// run itself.
inline std::string system_hangs_message(const std::string& destination, unsigned seconds,
                                        const std::string& operation) {
    return "Error 1040: " + destination + " did not answer within " + std::to_string(seconds) + " s (waiting in " +
           operation + ") !";
}
inline std::string run_deadline_message(unsigned seconds) {
    return "Error 1041: Sensor did not end within " + std::to_string(seconds) + " s !";
}

// The RFC library could not be loaded: it lies in none of the directories
// tried, the file found is not a library this program can load, it lacks
// one of the operations the sensor calls, or the system refused it (its
// own words follow). A path names the file found.
// Each file looked for, with the directories it was looked for in.
using LibrarySearch = std::vector<std::pair<std::string, std::vector<std::string>>>;
inline std::string library_not_found_message(const LibrarySearch& searched) {
    std::string text;
    for (const auto& [fileName, directories] : searched) {
        text += (text.empty() ? "" : ", ") + fileName + " not found";
        for (std::size_t i = 0; i < directories.size(); ++i) text += (i == 0 ? " in " : " or ") + directories[i];
    }
    return "Error 1050: " + text + " !";
}
inline std::string library_wrong_format_message(const std::string& path, const std::string& wantedKind) {
    return "Error 1051: " + path + " is not a " + wantedKind + " !";
}
// A Windows library of the other width, which only the other sensor loads:
// wickerby.exe is the 32-bit sensor, wickerby64.exe the 64-bit one.
inline std::string library_other_width_message(const std::string& path, unsigned libraryBits) {
    return "Error 1051: " + path + " is a " + std::to_string(libraryBits) + "-bit Windows library: use " +
           (libraryBits == 64 ? "wickerby64.exe" : "wickerby.exe") + ", the " + std::to_string(libraryBits) +
           "-bit sensor !";
}
inline std::string library_function_missing_message(const std::string& path, const std::string& function) {
    return "Error 1052: Function " + function + " missing in " + path + " !";
}
inline std::string library_not_loaded_message(const std::string& path, const std::string& reason) {
    return "Error 1053: " + path + " not loaded: " + reason + " !";
}

// A profile's User or Password names an environment variable that PRTG sets
// from the device's credentials, and the run has no value for it: PRTG
// passes no variables unless the sensor's setting asks for them, and passes
// an empty one where the device has no such credentials.
inline std::string variable_not_set_message(const std::string& profileName, const std::string& variable) {
    return "Error 1060: " + profileName + ": environment variable " + variable +
           " is not set; switch on \"Set placeholders as environment values\" in the sensor's settings !";
}
inline std::string variable_empty_message(const std::string& profileName, const std::string& variable) {
    return "Error 1061: " + profileName + ": environment variable " + variable +
           " is empty; enter the credentials in the settings of the sensor's device !";
}

// The option string's ",HOST=" names a host that the profile does not
// allow: the logon, with the profile's password, would go there.
inline std::string host_not_allowed_message(const std::string& profileName, const std::string& host) {
    return "Error 1070: " + profileName + ": host " + host +
           " is not allowed as ,HOST=; the administrator names it in the profile's Allowedhost: line !";
}

// The option string's ",NO=" gives a value that no system number can be:
// SAP's system numbers are 00 to 99, and the library would be handed
// whatever the digits make.
inline std::string system_number_not_valid_message(const std::string& profileName, const std::string& value) {
    return "Error 1071: " + profileName + ": ,NO=" + value + " is no system number; write two digits, 00 to 99 !";
}

// A profile, listing or the path file saved as UTF-16 ("Unicode" in
// Notepad), which no line of reads as written.
inline std::string utf16_file_message(const std::string& fileName) {
    return "Error 1080: " + fileName + " is saved as UTF-16; save it as ANSI !";
}

// Appended to a failed call's message: what the trace file says.
inline constexpr const char* traceFileMissingText = " - Look for Trace-File";
inline constexpr const char* traceFileSilentText = " - Please Check Trace-File !";

// The RFC error block's fixed lines. No end-of-output stream is ever opened,
// so creating the end-of-output file always fails and its line is printed.
inline constexpr const char* rfcErrorHeading = "RFC error\n";
inline constexpr const char* programAbortedLine = "* Programm aborted...\n";
inline constexpr const char* endOfOutputErrorLine = "* Error at EoXput-File...\n";

// Console report mode: the working directory's lock file, through which a
// run learns whether others run beside it before it deletes the trace
// file, is no plain file or cannot be made, or another process holds it for
// longer than any sensor does.
inline constexpr const char* runsLockHeldElsewhere = "another process holds it";
inline std::string runs_lock_line(const std::string& fileName, const std::string& problem) {
    return "* Lock file........: " + fileName + " not taken: " + problem + "\n";
}

// Printed ahead of the connection when a configured destination is used.
inline std::string configured_destination_line(const std::string& destination) {
    return "* SapRfc.Ini.......: " + destination + "<\n";
}
