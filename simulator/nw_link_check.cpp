// Loads sapnwrfc by the full path of its file beside this program, as the
// sensor will, and takes each of the twelve operations by its plain name:
// a wrong export name, or a companion the loader cannot find, fails here.
// A copy of the library in a folder without the companion must not load.
#include <cstdio>
#include <filesystem>
#include <random>

#include "files.h"
#include "nwrfc_library.h"

namespace {

#ifdef _WIN32
constexpr const char* libraryName = "sapnwrfc.dll";
#else
constexpr const char* libraryName = "libsapnwrfc.so";
#endif

template <typename Operation>
bool take(void* library, const char* name, Operation& operation) {
    operation = reinterpret_cast<Operation>(rfcsim::library_export(library, name));
    if (!operation) std::printf("nw link check: no export %s\n", name);
    return operation != nullptr;
}

bool take_all(void* library, NwRfcLibrary& nw) {
    bool all = take(library, "RfcSetIniPath", nw.RfcSetIniPath) & take(library, "RfcGetVersion", nw.RfcGetVersion) &
               take(library, "RfcOpenConnection", nw.RfcOpenConnection) &
               take(library, "RfcCloseConnection", nw.RfcCloseConnection) &
               take(library, "RfcGetFunctionDesc", nw.RfcGetFunctionDesc) &
               take(library, "RfcCreateFunction", nw.RfcCreateFunction) &
               take(library, "RfcDestroyFunction", nw.RfcDestroyFunction) & take(library, "RfcInvoke", nw.RfcInvoke) &
               take(library, "RfcGetTable", nw.RfcGetTable) & take(library, "RfcGetRowCount", nw.RfcGetRowCount) &
               take(library, "RfcMoveTo", nw.RfcMoveTo) & take(library, "RfcGetChars", nw.RfcGetChars);
    return all;
}

// Only operations without file effects are called.
int call_some(const NwRfcLibrary& nw) {
    int faults = 0;
    unsigned major = 0, minor = 1, patch = 1;
    const SAP_UC* text = nw.RfcGetVersion(&major, &minor, &patch);
    if (!text || major != 7500 || minor != 0 || patch != 0) ++faults;
    RFC_ERROR_INFO error{};
    if (nw.RfcCloseConnection(nullptr, &error) != RFC_INVALID_HANDLE || error.code != RFC_INVALID_HANDLE) ++faults;
    unsigned rows = 9;
    if (nw.RfcGetRowCount(nullptr, &rows, &error) != RFC_INVALID_HANDLE || rows != 9) ++faults;
    if (faults) std::printf("nw link check: %d operations answered wrongly\n", faults);
    return faults;
}

// A copy of the library alone in a fresh folder.
bool loads_without_companion(const std::string& library) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("rfcsim_lonely_" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    fs::copy_file(library, folder / libraryName);
    bool loaded = rfcsim::open_library((folder / libraryName).string()) != nullptr;
    std::error_code ignored;
    fs::remove_all(folder, ignored);  // a loaded copy stays until the process ends
    return loaded;
}

}  // namespace

// The copy is tried first: once the companion is loaded, the process's
// loader would hand the copy that one.
int main() {
    std::string path = rfcsim::program_directory() + libraryName;
    if (loads_without_companion(path)) {
        std::printf("nw link check: %s loads without its companion\n", libraryName);
        return 1;
    }
    void* library = rfcsim::open_library(path);
    if (!library) {
        std::printf("nw link check: %s does not load\n", path.c_str());
        return 1;
    }
    NwRfcLibrary nw{};
    if (!take_all(library, nw) || call_some(nw) != 0) return 1;
    std::printf("%s: all operations found by name and answered; no load without the companion\n", libraryName);
    return 0;
}
