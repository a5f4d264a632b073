#include "files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rfcsim {

std::string environment_value(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void append_lines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    for (const auto& line : lines) file << line << '\n';
}

bool is_directory(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(std::filesystem::path(path), ignored);
}

std::string path_in(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    char last = directory.back();
    return last == '/' || last == '\\' ? directory + name : directory + "/" + name;
}

#ifdef _WIN32

#ifndef LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
#define LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR 0x00000100
#endif
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

std::string program_directory() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string library_directory() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&library_directory), &module))
        return "";
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string text(path, length);
    const std::size_t separator = text.find_last_of("\\/");
    return separator == std::string::npos ? "" : text.substr(0, separator + 1);
}

void* open_library(const std::string& path) {
    return reinterpret_cast<void*>(
        LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
}

void* library_export(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

#else

std::string program_directory() {
    std::error_code ignored;
    std::string text = std::filesystem::read_symlink("/proc/self/exe", ignored).string();
    return text.substr(0, text.find_last_of('/') + 1);
}

std::string library_directory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&library_directory), &info) == 0 || !info.dli_fname) return "";
    const std::string text = info.dli_fname;
    const std::size_t separator = text.find_last_of('/');
    return separator == std::string::npos ? "" : text.substr(0, separator + 1);
}

void* open_library(const std::string& path) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* library_export(void* library, const char* name) {
    return dlsym(library, name);
}

#endif

}  // namespace rfcsim
