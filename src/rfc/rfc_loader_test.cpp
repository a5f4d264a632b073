#include "rfc_loader.h"

#include "rfc_backend.h"

#include <map>

#include <gtest/gtest.h>

namespace {

// Each operation's slot in the table, named by the member itself, so that a
// slot filled under another name is caught.
struct Slot {
    const char* name;
    LibraryProcedure (*of)(const RfcLibrary& library);
};

// clang-format off
#define RFC_SLOT(member) \
    Slot{#member, [](const RfcLibrary& table) { return reinterpret_cast<LibraryProcedure>(table.member); }}

const Slot slots[] = {
    RFC_SLOT(RfcEnvironment), RFC_SLOT(RfcOpenEx),  RFC_SLOT(RfcOpen),      RFC_SLOT(RfcInstallStructure),
    RFC_SLOT(RfcCall),        RFC_SLOT(RfcReceive), RFC_SLOT(RfcLastError), RFC_SLOT(RfcClose),
    RFC_SLOT(ItCreate),       RFC_SLOT(ItFill),     RFC_SLOT(ItGetLine),    RFC_SLOT(ItDelete)};
// clang-format on

// Stands for a library that exports every name but `without`, each at an
// address of its own.
struct FakeExports {
    std::map<std::string, char> marks;
    std::string without;
    LibraryProcedure operator()(const char* name) {
        if (name == without) return nullptr;
        return reinterpret_cast<LibraryProcedure>(&marks[name]);
    }
};

}  // namespace

TEST(RfcLoader, EveryOperationIsTakenByItsOwnName) {
    FakeExports exports;
    RfcLibrary library{};
    EXPECT_EQ(take_rfc_operations(library, std::ref(exports)), std::nullopt);
    EXPECT_EQ(exports.marks.size(), 12u);
    for (const Slot& slot : slots)
        EXPECT_EQ(slot.of(library), reinterpret_cast<LibraryProcedure>(&exports.marks[slot.name])) << slot.name;
}

TEST(RfcLoader, AMissingOperationIsNamed) {
    for (const Slot& missing : slots) {
        FakeExports exports;
        exports.without = missing.name;
        RfcLibrary library{};
        EXPECT_EQ(take_rfc_operations(library, std::ref(exports)), std::string(missing.name));
    }
    // Of several missing, the first in the table's order.
    RfcLibrary library{};
    EXPECT_EQ(take_rfc_operations(library,
                                  [&library](const char* name) -> LibraryProcedure {
                                      return std::string(name) == "RfcClose"
                                                 ? reinterpret_cast<LibraryProcedure>(&library)
                                                 : nullptr;
                                  }),
              std::string("RfcEnvironment"));
}

TEST(RfcLoader, FailureMessages) {
    const std::vector<std::string> both = {"C:\\PRTG\\Custom Sensors\\EXEXML\\", "C:\\windows\\system32\\"};
    const struct {
        RfcLibraryFailure failure;
        const char* message;
    } cases[] = {
        {{RfcLibraryProblem::notFound, "librfc32.dll", both, "32-bit Windows library", "", ""},
         "Error 1050: librfc32.dll not found in C:\\PRTG\\Custom Sensors\\EXEXML\\ or C:\\windows\\system32\\ !"},
        {{RfcLibraryProblem::notFound, "librfc32.so", {"/opt/wickerby/"}, "64-bit shared library", "", ""},
         "Error 1050: librfc32.so not found in /opt/wickerby/ !"},
        {{RfcLibraryProblem::notFound, "librfc32.so", {}, "64-bit shared library", "", ""},
         "Error 1050: librfc32.so not found !"},
        {{RfcLibraryProblem::wrongFormat, "librfc32.dll", {both[0]}, "32-bit Windows library", "", ""},
         "Error 1051: C:\\PRTG\\Custom Sensors\\EXEXML\\librfc32.dll is not a 32-bit Windows library !"},
        {{RfcLibraryProblem::wrongFormat, "librfc32.dll", both, "32-bit Windows library", "", ""},
         "Error 1051: C:\\windows\\system32\\librfc32.dll is not a 32-bit Windows library !"},
        {{RfcLibraryProblem::operationMissing,
          "librfc32.so",
          {"/opt/wickerby/"},
          "64-bit shared library",
          "RfcOpenEx",
          ""},
         "Error 1052: Function RfcOpenEx missing in /opt/wickerby/librfc32.so !"},
        {{RfcLibraryProblem::notLoaded,
          "librfc32.dll",
          {both[0]},
          "32-bit Windows library",
          "",
          "The specified module could not be found. (error 126)"},
         "Error 1053: C:\\PRTG\\Custom Sensors\\EXEXML\\librfc32.dll not loaded: The specified module could not be "
         "found. (error 126) !"},
        {{RfcLibraryProblem::wrongFormat, "sapnwrfc.dll", {both[0]}, "32-bit Windows library", "", "", 64},
         "Error 1051: C:\\PRTG\\Custom Sensors\\EXEXML\\sapnwrfc.dll is a 64-bit Windows library: use "
         "wickerby64.exe, the 64-bit sensor !"},
        {{RfcLibraryProblem::wrongFormat, "librfc32.dll", {both[0]}, "64-bit Windows library", "", "", 32},
         "Error 1051: C:\\PRTG\\Custom Sensors\\EXEXML\\librfc32.dll is a 32-bit Windows library: use "
         "wickerby.exe, the 32-bit sensor !"},
    };
    for (const auto& c : cases) EXPECT_EQ(rfc_library_failure_message(c.failure), c.message);

    // Neither library: both files, each where it was looked for.
    RfcLibraryFailure neither;
    neither.fileName = "librfc32.dll";
    neither.directories = both;
    neither.otherFileName = "sapnwrfc.dll";
    neither.otherDirectories = {both[0]};
    EXPECT_EQ(rfc_library_failure_message(neither),
              "Error 1050: librfc32.dll not found in C:\\PRTG\\Custom Sensors\\EXEXML\\ or C:\\windows\\system32\\, "
              "sapnwrfc.dll not found in C:\\PRTG\\Custom Sensors\\EXEXML\\ !");
}

// The build puts the simulator's librfc32 beside the test program.
TEST(RfcLoader, LoadsFromTheFirstDirectoryThatHoldsTheLibrary) {
    const std::string nowhere = executable_directory() + "no-such-folder" + executable_directory().back();
    const std::optional<RfcLibraryFailure> failure = load_rfc_library_from({"", nowhere});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->problem, RfcLibraryProblem::notFound);
    EXPECT_EQ(failure->fileName, library_file_name("librfc32"));
    EXPECT_EQ(failure->directories, std::vector<std::string>{nowhere});
    EXPECT_EQ(failure->wantedKind, loadable_library_kind());

    const std::optional<RfcLibraryFailure> loaded = load_rfc_library_from({nowhere, executable_directory()});
    ASSERT_FALSE(loaded.has_value()) << rfc_library_failure_message(*loaded);
    for (const Slot& slot : slots) EXPECT_NE(slot.of(rfc_operations()), nullptr) << slot.name;
    // The process's table reaches the simulator.
    const TableHandle table = rfc_operations().ItCreate("REQUEST_QUEUES", 80, 0, 0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(rfc_operations().ItFill(table), 0u);
    EXPECT_EQ(rfc_operations().ItDelete(table), 0);
}

TEST(RfcLoader, NetWeaverOperationsAreTakenByName) {
    const char* const names[] = {"RfcSetIniPath",      "RfcGetVersion",     "RfcOpenConnection",  "RfcCloseConnection",
                                 "RfcGetFunctionDesc", "RfcCreateFunction", "RfcDestroyFunction", "RfcInvoke",
                                 "RfcGetTable",        "RfcGetRowCount",    "RfcMoveTo",          "RfcGetChars"};
    for (const char* name : names) {
        FakeExports exports;
        exports.without = name;
        NwRfcLibrary library{};
        EXPECT_EQ(take_nwrfc_operations(library, std::ref(exports)), std::string(name));
    }
    FakeExports exports;
    NwRfcLibrary library{};
    EXPECT_EQ(take_nwrfc_operations(library, std::ref(exports)), std::nullopt);
    EXPECT_EQ(exports.marks.size(), 12u);
    EXPECT_EQ(reinterpret_cast<LibraryProcedure>(library.RfcGetChars),
              reinterpret_cast<LibraryProcedure>(&exports.marks["RfcGetChars"]));
    EXPECT_EQ(reinterpret_cast<LibraryProcedure>(library.RfcSetIniPath),
              reinterpret_cast<LibraryProcedure>(&exports.marks["RfcSetIniPath"]));
}

// The build puts the simulator's sapnwrfc and its companion beside the test
// program; loading either library makes its back end the process's.
TEST(RfcLoader, EachLibraryBringsItsBackEnd) {
    const std::string nowhere = executable_directory() + "no-such-folder" + executable_directory().back();
    const std::optional<RfcLibraryFailure> missing = load_nwrfc_library_from(nowhere);
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->problem, RfcLibraryProblem::notFound);
    EXPECT_EQ(missing->fileName, prefixed_library_file_name("sapnwrfc"));

    const std::optional<RfcLibraryFailure> netWeaver = load_nwrfc_library_from(executable_directory());
    ASSERT_FALSE(netWeaver.has_value()) << rfc_library_failure_message(*netWeaver);
    EXPECT_STREQ(rfc_backend().name, "sapnwrfc");
    EXPECT_FALSE(rfc_backend().writesTraceFile);
    EXPECT_NE(nwrfc_operations().RfcGetVersion, nullptr);
    EXPECT_EQ(rfc_library_path(), executable_directory() + prefixed_library_file_name("sapnwrfc"));
    // The simulator's library reports release 7500, minor version 0, patch level 0.
    EXPECT_EQ(rfc_library_description(), "sapnwrfc version 7500.0.0 (750, patch level 0, rfcsim), " +
                                             executable_directory() + prefixed_library_file_name("sapnwrfc"));

    ASSERT_FALSE(load_rfc_library_from({executable_directory()}).has_value());
    EXPECT_STREQ(rfc_backend().name, "librfc32");
    EXPECT_TRUE(rfc_backend().writesTraceFile);
    // The simulator's librfc32 carries no version resource.
    EXPECT_EQ(rfc_library_description(),
              "librfc32 without a file version, " + executable_directory() + library_file_name("librfc32"));
}
