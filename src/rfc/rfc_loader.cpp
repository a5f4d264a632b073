#include "rfc_loader.h"

#include "library_header.h"
#include "messages.h"
#include "rfc_backend.h"

namespace {

// The table of the process: written once, when the library has loaded, and
// read by every call into the library from then on.
RfcLibrary processOperations{};
NwRfcLibrary processNwOperations{};
std::string processLibraryPath;
LibraryChoice processChoice = LibraryChoice::either;

// A 32-bit sensor cannot load a 64-bit library, nor the other way round:
// the width of such a library, or 0.
unsigned other_width(const std::string& path) {
    if (!loads_windows_libraries()) return 0;
    const std::optional<unsigned> bits = windows_library_bits(library_file_head(path, libraryHeaderBytes));
    return bits && *bits != sizeof(void*) * 8 ? *bits : 0;
}

// Loads the file and takes its operations with `take`, which names the
// first one missing; the failure, or nothing when the library is the
// process's now.
std::optional<RfcLibraryFailure> load_one(
    const std::string& directory, RfcLibraryFailure& failure, LoadedLibrary (*load)(const std::string& path),
    const std::function<std::optional<std::string>(const LoadedLibrary& library)>& take) {
    const LoadedLibrary library = load(directory + failure.fileName);
    switch (library.failure) {
    case LibraryLoadFailure::absent: failure.problem = RfcLibraryProblem::notFound; return failure;
    case LibraryLoadFailure::wrongFormat:
        failure.problem = RfcLibraryProblem::wrongFormat;
        failure.otherBits = other_width(directory + failure.fileName);
        return failure;
    case LibraryLoadFailure::other:
        failure.problem = RfcLibraryProblem::notLoaded;
        failure.reason = library.reason;
        return failure;
    case LibraryLoadFailure::none: break;
    }
    if (const auto missing = take(library)) {
        failure.problem = RfcLibraryProblem::operationMissing;
        failure.operation = *missing;
        return failure;
    }
    processLibraryPath = directory + failure.fileName;
    return std::nullopt;
}

// Takes the loaded library's operations with `take` into the process's
// table and makes `backend` the process's; the first operation missing,
// which leaves both as they were.
template <typename Table>
std::optional<std::string> take_library(
    const LoadedLibrary& library, Table& processTable,
    std::optional<std::string> (*take)(Table& table, const std::function<LibraryProcedure(const char* name)>& lookup),
    const RfcBackend& backend) {
    Table operations{};
    if (auto missing = take(operations, [&library](const char* name) { return library_procedure(library, name); }))
        return missing;
    processTable = operations;
    use_rfc_backend(backend);
    return std::nullopt;
}

// Takes each operation by its name; the first name the library lacks is
// the one missing.
struct OperationTaker {
    const std::function<LibraryProcedure(const char* name)>& lookup;
    std::optional<std::string> missing;

    template <typename Operation>
    void operator()(Operation& operation, const char* name) {
        const LibraryProcedure procedure = lookup(name);
        if (!procedure && !missing) missing = name;
        operation = reinterpret_cast<Operation>(procedure);
    }
};

}  // namespace

std::optional<std::string> take_rfc_operations(RfcLibrary& library,
                                               const std::function<LibraryProcedure(const char* name)>& lookup) {
    OperationTaker take{lookup, std::nullopt};
    take(library.RfcEnvironment, "RfcEnvironment");
    take(library.RfcOpenEx, "RfcOpenEx");
    take(library.RfcOpen, "RfcOpen");
    take(library.RfcInstallStructure, "RfcInstallStructure");
    take(library.RfcCall, "RfcCall");
    take(library.RfcReceive, "RfcReceive");
    take(library.RfcLastError, "RfcLastError");
    take(library.RfcClose, "RfcClose");
    take(library.ItCreate, "ItCreate");
    take(library.ItFill, "ItFill");
    take(library.ItGetLine, "ItGetLine");
    take(library.ItDelete, "ItDelete");
    return take.missing;
}

std::optional<std::string> take_nwrfc_operations(NwRfcLibrary& library,
                                                 const std::function<LibraryProcedure(const char* name)>& lookup) {
    OperationTaker take{lookup, std::nullopt};
    take(library.RfcSetIniPath, "RfcSetIniPath");
    take(library.RfcGetVersion, "RfcGetVersion");
    take(library.RfcOpenConnection, "RfcOpenConnection");
    take(library.RfcCloseConnection, "RfcCloseConnection");
    take(library.RfcGetFunctionDesc, "RfcGetFunctionDesc");
    take(library.RfcCreateFunction, "RfcCreateFunction");
    take(library.RfcDestroyFunction, "RfcDestroyFunction");
    take(library.RfcInvoke, "RfcInvoke");
    take(library.RfcGetTable, "RfcGetTable");
    take(library.RfcGetRowCount, "RfcGetRowCount");
    take(library.RfcMoveTo, "RfcMoveTo");
    take(library.RfcGetChars, "RfcGetChars");
    return take.missing;
}

std::optional<RfcLibraryFailure> load_rfc_library_from(const std::vector<std::string>& directories) {
    RfcLibraryFailure failure;
    failure.fileName = library_file_name(rfcLibraryName);
    failure.wantedKind = loadable_library_kind();
    const auto take = [](const LoadedLibrary& library) {
        return take_library(library, processOperations, take_rfc_operations, classic_backend());
    };
    for (const std::string& directory : directories) {
        if (directory.empty()) continue;
        failure.directories.push_back(directory);
        const auto loaded = load_one(directory, failure, load_library, take);
        if (!loaded || loaded->problem != RfcLibraryProblem::notFound) return loaded;
    }
    failure.problem = RfcLibraryProblem::notFound;
    return failure;
}

std::optional<RfcLibraryFailure> load_nwrfc_library_from(const std::string& directory) {
    RfcLibraryFailure failure;
    failure.fileName = prefixed_library_file_name(nwrfcLibraryName);
    failure.wantedKind = loadable_library_kind();
    failure.directories.push_back(directory);
    if (directory.empty()) return failure;
    return load_one(directory, failure, load_library_with_companions, [](const LoadedLibrary& library) {
        return take_library(library, processNwOperations, take_nwrfc_operations, netweaver_backend());
    });
}

LibraryChoice loaded_rfc_library() {
    if (processLibraryPath.empty()) return LibraryChoice::either;
    return &rfc_backend() == &netweaver_backend() ? LibraryChoice::netWeaver : LibraryChoice::classic;
}

void choose_rfc_library(LibraryChoice choice) {
    processChoice = choice;
}

std::optional<RfcLibraryFailure> load_rfc_library() {
    if (processChoice == LibraryChoice::netWeaver) return load_nwrfc_library_from(executable_directory());
    auto classic = load_rfc_library_from({executable_directory(), system_library_directory()});
    if (processChoice == LibraryChoice::classic || !classic || classic->problem != RfcLibraryProblem::notFound)
        return classic;
    auto netWeaver = load_nwrfc_library_from(executable_directory());
    if (!netWeaver || netWeaver->problem != RfcLibraryProblem::notFound) return netWeaver;
    // Neither: the message names both files and where each was looked for.
    classic->otherFileName = netWeaver->fileName;
    classic->otherDirectories = netWeaver->directories;
    return classic;
}

const RfcLibrary& rfc_operations() {
    return processOperations;
}

const NwRfcLibrary& nwrfc_operations() {
    return processNwOperations;
}

const std::string& rfc_library_path() {
    return processLibraryPath;
}

std::string rfc_library_description() {
    if (processLibraryPath.empty()) return "";
    const RfcBackend& backend = rfc_backend();
    return std::string(backend.name) + " " + backend.version() + ", " + processLibraryPath;
}

void replace_rfc_operations(const RfcLibrary& operations) {
    processOperations = operations;
}

void replace_nwrfc_operations(const NwRfcLibrary& operations) {
    processNwOperations = operations;
}

std::string rfc_library_failure_message(const RfcLibraryFailure& failure) {
    const std::string path =
        (failure.directories.empty() ? std::string() : failure.directories.back()) + failure.fileName;
    switch (failure.problem) {
    case RfcLibraryProblem::notFound: break;
    case RfcLibraryProblem::wrongFormat:
        if (failure.otherBits) return library_other_width_message(path, failure.otherBits);
        return library_wrong_format_message(path, failure.wantedKind);
    case RfcLibraryProblem::operationMissing: return library_function_missing_message(path, failure.operation);
    case RfcLibraryProblem::notLoaded: return library_not_loaded_message(path, failure.reason);
    }
    LibrarySearch searched = {{failure.fileName, failure.directories}};
    if (!failure.otherFileName.empty()) searched.push_back({failure.otherFileName, failure.otherDirectories});
    return library_not_found_message(searched);
}
