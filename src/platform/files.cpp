#include "files.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool is_drive_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string below(const std::string& root, char drive, const std::string& rest) {
    std::string path = root;
    if (path.empty() || path.back() != '/') path += '/';
    path += drive;
    std::size_t start = 0;
    while (start < rest.size() && rest[start] == '/') ++start;
    if (start < rest.size()) path += '/' + rest.substr(start);
    return path;
}

// Opens a file for reading, refusing directories as Windows does.
std::FILE* open_for_reading(const std::string& windowsPath) {
    std::FILE* file = std::fopen(host_path(windowsPath).c_str(), "rb");
    if (!file) return nullptr;
#ifndef _WIN32
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
#endif
    return file;
}

}  // namespace

std::string posix_path_for(const std::string& windowsPath, const std::string& drivesRoot) {
    std::string path = windowsPath;
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.size() >= 2 && path[1] == ':' && is_drive_letter(path[0]))
        return below(drivesRoot, upper(path[0]), path.substr(2));
    if (!path.empty() && path[0] == '/') return below(drivesRoot, 'C', path);
    return path;
}

std::string host_path(const std::string& windowsPath) {
#ifdef _WIN32
    return windowsPath;
#else
    const char* drives = std::getenv("WICKERBY_DRIVES");
    return posix_path_for(windowsPath, drives && *drives ? drives : "/");
#endif
}

bool file_opens(const std::string& windowsPath) {
    std::FILE* file = open_for_reading(windowsPath);
    if (!file) return false;
    std::fclose(file);
    return true;
}

std::optional<std::string> read_raw_file(const std::string& windowsPath) {
    std::FILE* file = open_for_reading(windowsPath);
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[16384];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

std::string text_mode_contents(const std::string& raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    return text;
}

std::optional<std::string> read_text_file(const std::string& windowsPath) {
    std::optional<std::string> raw = read_raw_file(windowsPath);
    if (!raw) return std::nullopt;
    return text_mode_contents(*raw);
}

bool replace_file(const std::string& windowsPath, const std::string& bytes) {
    const std::string target = host_path(windowsPath);
    const std::string temporary = target + ".wickerby-new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = (std::fclose(file) == 0) && written;
    if (written) {
#ifdef _WIN32
        written = MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
        written = std::rename(temporary.c_str(), target.c_str()) == 0;
#endif
    }
    if (!written) std::remove(temporary.c_str());
    return written;
}

void remove_file(const std::string& windowsPath) {
#ifdef _WIN32
    std::remove(host_path(windowsPath).c_str());
#else
    // remove() would also take an empty directory of that name; only a file goes.
    unlink(host_path(windowsPath).c_str());
#endif
}
