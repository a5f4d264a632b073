// Loading the RFC library when the sensor runs. The library is looked for
// beside the executable and then, on Windows, in the system directory, where
// SAP GUI installs it; never in the working directory or along PATH. Its
// twelve operations are taken by name, and the rest of rfc/ calls them
// through the one table of the process.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "channel_options.h"
#include "library_loader.h"
#include "nwrfc_library.h"
#include "rfc_library.h"

// The library's name without the platform's extension.
inline constexpr const char* rfcLibraryName = "librfc32";
// SAP's NetWeaver library, "sapnwrfc.dll" or "libsapnwrfc.so", taken only
// from beside the executable, where its own libraries lie with it.
inline constexpr const char* nwrfcLibraryName = "sapnwrfc";

enum class RfcLibraryProblem {
    notFound,          // in none of the directories
    wrongFormat,       // a file, but not a library this program can load
    operationMissing,  // loaded, but one of the twelve operations is not exported
    notLoaded,         // the system refused it for another reason
};

struct RfcLibraryFailure {
    RfcLibraryProblem problem = RfcLibraryProblem::notFound;
    std::string fileName;  // "librfc32.dll", "librfc32.so", "sapnwrfc.dll", "libsapnwrfc.so"
    // The directories tried, in order, each with its trailing separator;
    // unless nothing was found, the file lies in the last of them.
    std::vector<std::string> directories;
    std::string wantedKind;  // what the file should have been ("32-bit Windows library")
    std::string operation;   // operationMissing: the first operation missing
    std::string reason;      // notLoaded: the system's words
    // wrongFormat: the width of a Windows library that the other sensor
    // loads (32 or 64), 0 for any other file.
    unsigned otherBits = 0;
    // notFound: the other library's file and directories, where it was
    // looked for too.
    std::string otherFileName{};
    std::vector<std::string> otherDirectories{};
};

// Fills the table from `lookup`, which gives the address a library exports
// under a name, or null. The name of the first of the twelve operations
// that has none; nothing when all are there.
std::optional<std::string> take_rfc_operations(RfcLibrary& library,
                                               const std::function<LibraryProcedure(const char* name)>& lookup);

// The same for the NetWeaver library's twelve operations.
std::optional<std::string> take_nwrfc_operations(NwRfcLibrary& library,
                                                 const std::function<LibraryProcedure(const char* name)>& lookup);

// Looks for the library in each directory in turn (an empty one is
// skipped); the first file found is the one loaded, and if it cannot be
// used the search ends there. On success its operations become the
// process's, for rfc_operations(), and nothing is returned.
std::optional<RfcLibraryFailure> load_rfc_library_from(const std::vector<std::string>& directories);

// The NetWeaver library from the directory; on success its operations
// and back end become the process's.
std::optional<RfcLibraryFailure> load_nwrfc_library_from(const std::string& directory);

// The library the option string chose; load_rfc_library loads it.
void choose_rfc_library(LibraryChoice choice);

// The library loaded last, as the choice that loads it again (a listing's
// worker loads what its parent did); `either` before one has loaded.
LibraryChoice loaded_rfc_library();

// The chosen library: librfc32 from the executable's directory and the
// system's, the NetWeaver library from the executable's; without a choice
// librfc32, and only when there is no such file the NetWeaver library. When
// neither is there, the failure tells of librfc32 alone, as it always has.
std::optional<RfcLibraryFailure> load_rfc_library();

// The operations of the library loaded last; every one is null before a
// library has loaded.
const RfcLibrary& rfc_operations();
const NwRfcLibrary& nwrfc_operations();

// The full path of the library loaded last; empty before one has loaded.
const std::string& rfc_library_path();

// The library loaded last as the profile tool names it: its name, its
// version and its file, "sapnwrfc version 7500.0.0 (...), C:\...\sapnwrfc.dll";
// empty before one has loaded. Asking calls into the NetWeaver library.
std::string rfc_library_description();

// Puts other operations in the library's place: the test command's, which
// note each call and then make it.
void replace_rfc_operations(const RfcLibrary& operations);
void replace_nwrfc_operations(const NwRfcLibrary& operations);

// The numbered message that tells the administrator about the failure.
std::string rfc_library_failure_message(const RfcLibraryFailure& failure);
