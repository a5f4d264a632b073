#include "rfc_loader.h"

#include <type_traits>

#include "messages.h"

namespace {

// The table of the process: written once, when the library has loaded, and
// read by every call into the library from then on.
RfcLibrary processOperations{};
std::string processLibraryPath;

}  // namespace

std::optional<std::string> take_rfc_operations(RfcLibrary& library,
                                               const std::function<LibraryProcedure(const char* name)>& lookup) {
    std::optional<std::string> missing;
    const auto take = [&](auto& operation, const char* name) {
        const LibraryProcedure procedure = lookup(name);
        if (!procedure && !missing) missing = name;
        operation = reinterpret_cast<std::remove_reference_t<decltype(operation)>>(procedure);
    };
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
    return missing;
}

std::optional<RfcLibraryFailure> load_rfc_library_from(const std::vector<std::string>& directories) {
    RfcLibraryFailure failure;
    failure.fileName = library_file_name(rfcLibraryName);
    failure.wantedKind = loadable_library_kind();
    for (const std::string& directory : directories) {
        if (directory.empty()) continue;
        failure.directories.push_back(directory);
        const LoadedLibrary library = load_library(directory + failure.fileName);
        switch (library.failure) {
        case LibraryLoadFailure::absent: continue;
        case LibraryLoadFailure::wrongFormat: failure.problem = RfcLibraryProblem::wrongFormat; return failure;
        case LibraryLoadFailure::other:
            failure.problem = RfcLibraryProblem::notLoaded;
            failure.reason = library.reason;
            return failure;
        case LibraryLoadFailure::none: break;
        }
        RfcLibrary operations{};
        const auto missing =
            take_rfc_operations(operations, [&library](const char* name) { return library_procedure(library, name); });
        if (missing) {
            failure.problem = RfcLibraryProblem::operationMissing;
            failure.operation = *missing;
            return failure;
        }
        processOperations = operations;
        processLibraryPath = directory + failure.fileName;
        return std::nullopt;
    }
    failure.problem = RfcLibraryProblem::notFound;
    return failure;
}

std::optional<RfcLibraryFailure> load_rfc_library() {
    return load_rfc_library_from({executable_directory(), system_library_directory()});
}

const RfcLibrary& rfc_operations() {
    return processOperations;
}

const std::string& rfc_library_path() {
    return processLibraryPath;
}

void replace_rfc_operations(const RfcLibrary& operations) {
    processOperations = operations;
}

std::string rfc_library_failure_message(const RfcLibraryFailure& failure) {
    const std::string path =
        (failure.directories.empty() ? std::string() : failure.directories.back()) + failure.fileName;
    switch (failure.problem) {
    case RfcLibraryProblem::notFound: break;
    case RfcLibraryProblem::wrongFormat: return library_wrong_format_message(path, failure.wantedKind);
    case RfcLibraryProblem::operationMissing: return library_function_missing_message(path, failure.operation);
    case RfcLibraryProblem::notLoaded: return library_not_loaded_message(path, failure.reason);
    }
    return library_not_found_message(failure.fileName, failure.directories);
}
