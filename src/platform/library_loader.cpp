#include "library_loader.h"

#include <cstdio>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The directory part of a file's path, with its trailing separator.
std::string directory_of(const std::string& path, const char* separators) {
    const std::size_t last = path.find_last_of(separators);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string without_trailing_blanks(std::string text) {
    const std::size_t kept = text.find_last_not_of(" \t\r\n");
    text.erase(kept == std::string::npos ? 0 : kept + 1);
    return text;
}

}  // namespace

std::string library_file_head(const std::string& path, std::size_t size) {
    // A C stream, not a C++ one: the sensor links its runtime statically, and
    // file streams with their locales would be carried into every start.
    std::string head(size, '\0');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    head.resize(file ? std::fread(head.data(), 1, size, file) : 0);
    if (file) std::fclose(file);
    return head;
}

#ifdef _WIN32

bool loads_windows_libraries() {
    return true;
}

namespace {

// The system's text for an error code, in the system's language, with the
// code after it so that it can be looked up.
std::string system_error_text(DWORD error) {
    char* text = nullptr;
    const DWORD size =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = size != 0 && text ? without_trailing_blanks(std::string(text, size)) : std::string();
    if (text) LocalFree(text);
    const std::string code = "error " + std::to_string(error);
    return words.empty() ? code : words + " (" + code + ")";
}

// The codes with which the loader turns away a file that is no library for
// this process: not a Windows image at all, or one for another machine or
// word size.
bool is_format_error(DWORD error) {
    return error == ERROR_BAD_EXE_FORMAT || error == ERROR_BAD_FORMAT || error == ERROR_EXE_MACHINE_TYPE_MISMATCH;
}

// A program started through a short name (PROGRA~2\CUSTOM~1) is told that
// name; the long one names its folders as they are written.
std::string long_path(const std::string& path) {
    std::vector<char> longer(path.size() + 1);
    for (;;) {
        const DWORD size = GetLongPathNameA(path.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
        if (size == 0) return path;
        if (size < longer.size()) return std::string(longer.data(), size);
        longer.resize(size);
    }
}

}  // namespace

std::string executable_path() {
    std::vector<char> path(MAX_PATH);
    // A path cut short fills the whole buffer; then a bigger one is tried.
    for (;;) {
        const DWORD size = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0) return std::string();
        if (size < path.size()) return long_path(std::string(path.data(), size));
        if (path.size() >= 65536) return std::string();
        path.resize(path.size() * 2);
    }
}

std::string executable_directory() {
    const std::string path = executable_path();
    return path.empty() ? path : directory_of(path, "\\/");
}

std::string system_library_directory() {
    char path[MAX_PATH + 1];
    const UINT size = GetSystemDirectoryA(path, sizeof path);
    if (size == 0 || size >= sizeof path) return std::string();
    std::string directory(path, size);
    if (directory.back() != '\\') directory += '\\';
    return directory;
}

std::string library_file_name(const std::string& name) {
    return name + ".dll";
}

std::string prefixed_library_file_name(const std::string& name) {
    return name + ".dll";
}

std::string loadable_library_kind() {
#ifdef _WIN64
    return "64-bit Windows library";
#else
    return "32-bit Windows library";
#endif
}

namespace {

LoadedLibrary load_library_searching(const std::string& path, DWORD search) {
    LoadedLibrary library;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            library.failure = LibraryLoadFailure::absent;
            return library;
        }
    }
    // A sensor runs without anyone at the screen: the loader must not wait
    // for a click on a "bad image" box.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetErrorMode(mode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, search);
    const DWORD error = GetLastError();
    SetErrorMode(mode);
    if (module) {
        library.handle = module;
        return library;
    }
    if (is_format_error(error)) {
        library.failure = LibraryLoadFailure::wrongFormat;
        return library;
    }
    library.failure = LibraryLoadFailure::other;
    library.reason = system_error_text(error);
    return library;
}

}  // namespace

LoadedLibrary load_library(const std::string& path) {
    return load_library_searching(path, LOAD_WITH_ALTERED_SEARCH_PATH);
}

LoadedLibrary load_library_with_companions(const std::string& path) {
    return load_library_searching(path, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

LibraryProcedure library_procedure(const LoadedLibrary& library, const char* name) {
    if (!library.handle) return nullptr;
    return reinterpret_cast<LibraryProcedure>(GetProcAddress(static_cast<HMODULE>(library.handle), name));
}

std::optional<std::string> library_file_version(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> resource(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, resource.data())) return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(resource.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof *info)
        return std::nullopt;
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

#else

namespace {

// True when the loader's complaint is about the file at the path itself
// not being a library of this system's kind, rather than about a library it
// needs or a symbol it lacks. glibc starts its texts with the path of the
// file it complains about.
bool is_format_complaint(const std::string& path, const std::string& complaint) {
    const std::string prefix = path + ": ";
    if (complaint.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string rest = complaint.substr(prefix.size());
    for (const char* mark : {"ELF", "file too short", "Exec format error"})
        if (rest.find(mark) != std::string::npos) return true;
    return false;
}

}  // namespace

std::string executable_path() {
    std::vector<char> path(4096);
    // A path cut short fills the whole buffer; then a bigger one is tried.
    for (;;) {
        const ssize_t size = readlink("/proc/self/exe", path.data(), path.size());
        if (size <= 0) return std::string();
        if (static_cast<std::size_t>(size) < path.size())
            return std::string(path.data(), static_cast<std::size_t>(size));
        if (path.size() >= 65536) return std::string();
        path.resize(path.size() * 2);
    }
}

std::string executable_directory() {
    const std::string path = executable_path();
    return path.empty() ? path : directory_of(path, "/");
}

std::string system_library_directory() {
    return std::string();
}

bool loads_windows_libraries() {
    return false;
}

std::string library_file_name(const std::string& name) {
    return name + ".so";
}

std::string prefixed_library_file_name(const std::string& name) {
    return "lib" + name + ".so";
}

std::string loadable_library_kind() {
    return std::to_string(sizeof(void*) * 8) + "-bit shared library";
}

LoadedLibrary load_library(const std::string& path) {
    LoadedLibrary library;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        library.failure = LibraryLoadFailure::absent;
        return library;
    }
    library.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle) return library;
    const char* complaint = dlerror();
    const std::string text = without_trailing_blanks(complaint ? complaint : "");
    if (is_format_complaint(path, text)) {
        library.failure = LibraryLoadFailure::wrongFormat;
        return library;
    }
    library.failure = LibraryLoadFailure::other;
    // The path is named by whoever shows the reason.
    const std::string prefix = path + ": ";
    library.reason = text.compare(0, prefix.size(), prefix) == 0 ? text.substr(prefix.size()) : text;
    if (library.reason.empty()) library.reason = "the loader gave no reason";
    return library;
}

LoadedLibrary load_library_with_companions(const std::string& path) {
    return load_library(path);
}

LibraryProcedure library_procedure(const LoadedLibrary& library, const char* name) {
    if (!library.handle) return nullptr;
    return reinterpret_cast<LibraryProcedure>(dlsym(library.handle, name));
}

std::optional<std::string> library_file_version(const std::string&) {
    return std::nullopt;
}

#endif
