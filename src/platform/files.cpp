#include "files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

// The text without the given characters at its end.
std::string without_trailing(const std::string& text, const char* characters) {
    const std::size_t kept = text.find_last_not_of(characters);
    return kept == std::string::npos ? std::string() : text.substr(0, kept + 1);
}

#ifdef _WIN32

using FileHandle = HANDLE;

bool is_open(FileHandle file) {
    return file != INVALID_HANDLE_VALUE;
}

// Opens a regular file for reading. A device name is refused before it is
// opened, and whatever else is not a file on a disk (a pipe, a console, a
// directory) right after; readers share the file with writers and with
// whoever deletes or replaces it.
FileHandle open_regular(const std::string& windowsPath) {
    if (is_windows_device_name(windowsPath)) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// Bytes read into the buffer; 0 at the end of the file or on an error.
std::size_t read_some(FileHandle file, char* buffer, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
    return got;
}

void close_file(FileHandle file) {
    CloseHandle(file);
}

std::optional<std::uint64_t> open_file_size(FileHandle file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Creates the file, failing when anything lies at its name already.
FileHandle create_new(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool already_exists() {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool write_all(FileHandle file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, size, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

bool close_written(FileHandle file) {
    return CloseHandle(file) != 0;
}

// Deletes a name itself; a link goes, never what it points to.
bool delete_name(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

// Another sensor, or the RFC library, may have the target open just now,
// and Windows does not replace a file in use; such a reading ends soon, so
// the rename is tried again a few times, for half a second at most.
bool rename_over(const std::string& from, const std::string& to) {
    const int attempts = 25;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        const DWORD error = GetLastError();
        const bool inUse =
            error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!inUse || attempt == attempts) return false;
        Sleep(20);
    }
}

std::string process_id_text() {
    return std::to_string(GetCurrentProcessId());
}

#else

using FileHandle = int;

bool is_open(FileHandle file) {
    return file >= 0;
}

// Opens a regular file for reading. Anything else is refused: looked at
// first, so that a device is not even opened, and again once open, as the
// name may have changed in between. O_NONBLOCK keeps a FIFO from waiting
// for a writer in open(); a regular file never blocks anyway.
FileHandle open_regular(const std::string& windowsPath) {
    const std::string path = host_path(windowsPath);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) return -1;
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(file);
        return -1;
    }
    return file;
}

// Bytes read into the buffer; 0 at the end of the file or on an error.
std::size_t read_some(FileHandle file, char* buffer, std::size_t size) {
    ssize_t got;
    do got = read(file, buffer, size);
    while (got < 0 && errno == EINTR);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

void close_file(FileHandle file) {
    close(file);
}

std::optional<std::uint64_t> open_file_size(FileHandle file) {
    struct stat info {};
    if (fstat(file, &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

// Creates the file, failing when anything lies at its name already: with
// O_EXCL a link there is not followed.
FileHandle create_new(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

bool already_exists() {
    return errno == EEXIST;
}

bool write_all(FileHandle file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(file, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool close_written(FileHandle file) {
    return close(file) == 0;
}

// Deletes a name itself; a link goes, never what it points to.
bool delete_name(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

bool rename_over(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::string process_id_text() {
    return std::to_string(getpid());
}

#endif

// Closes the file however the reading ends.
struct ReadingFile {
    FileHandle handle;
    ~ReadingFile() {
        if (is_open(handle)) close_file(handle);
    }
};

// Creates the temporary file afresh. A file of that name can only be left
// over from a killed process that had the same id, so the name is deleted
// once and the file created again; whatever else lies there makes it fail.
FileHandle create_temporary(const std::string& path) {
    FileHandle file = create_new(path);
    if (!is_open(file) && already_exists() && delete_name(path)) file = create_new(path);
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
    // The environment does not change during a run: it is read once.
    static const std::string drivesRoot = [] {
        const char* drives = std::getenv("WICKERBY_DRIVES");
        return std::string(drives && *drives ? drives : "/");
    }();
    return posix_path_for(windowsPath, drivesRoot);
#endif
}

bool is_windows_device_name(const std::string& windowsPath) {
    std::size_t start = windowsPath.size() >= 2 && windowsPath[1] == ':' && is_drive_letter(windowsPath[0]) ? 2 : 0;
    const std::size_t separator = windowsPath.find_last_of("\\/");
    if (separator != std::string::npos && separator >= start) start = separator + 1;
    // Windows drops the blanks and dots at the end of a name.
    std::string name = without_trailing(windowsPath.substr(start), " .");
    for (char& c : name) c = upper(c);
    if (name == "CONIN$" || name == "CONOUT$") return true;
    // The device is named before an extension or a stream's colon.
    const std::string base = without_trailing(name.substr(0, name.find_first_of(".:")), " ");
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    const bool numbered = base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0);
    return numbered && base[3] >= '1' && base[3] <= '9';
}

bool file_opens(const std::string& windowsPath) {
    const ReadingFile file{open_regular(windowsPath)};
    return is_open(file.handle);
}

bool read_file_chunks(const std::string& windowsPath, std::uint64_t byteLimit,
                      const std::function<void(const char* data, std::size_t size)>& take) {
    const ReadingFile file{open_regular(windowsPath)};
    if (!is_open(file.handle)) return false;
    // Left uninitialised: filling 64 KiB with zeros would cost more than
    // reading a profile.
    const std::unique_ptr<char[]> chunk(new char[fileChunkSize]);
    std::uint64_t left = byteLimit;
    while (left > 0) {
        const std::size_t wanted = left < fileChunkSize ? static_cast<std::size_t>(left) : fileChunkSize;
        const std::size_t got = read_some(file.handle, chunk.get(), wanted);
        if (got == 0) break;
        take(chunk.get(), got);
        left -= got;
    }
    return true;
}

std::optional<std::uint64_t> file_size(const std::string& windowsPath) {
    const ReadingFile file{open_regular(windowsPath)};
    if (!is_open(file.handle)) return std::nullopt;
    return open_file_size(file.handle);
}

std::optional<std::string> read_raw_file(const std::string& windowsPath) {
    std::string bytes;
    const bool opened = read_file_chunks(windowsPath, fileReadLimit,
                                         [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    if (!opened) return std::nullopt;
    return bytes;
}

std::string text_mode_contents(const std::string& raw) {
    std::string text;
    text.reserve(raw.size());
    std::size_t start = 0;
    for (std::size_t pair = raw.find("\r\n"); pair != std::string::npos; pair = raw.find("\r\n", start)) {
        text.append(raw, start, pair - start);
        start = pair + 1;  // the line feed stays, the carriage return goes
    }
    text.append(raw, start, std::string::npos);
    return text;
}

std::optional<std::string> read_text_file(const std::string& windowsPath) {
    std::optional<std::string> raw = read_raw_file(windowsPath);
    if (!raw) return std::nullopt;
    const std::string utf8Mark = "\xef\xbb\xbf";
    if (raw->compare(0, utf8Mark.size(), utf8Mark) == 0) raw->erase(0, utf8Mark.size());
    return text_mode_contents(*raw);
}

bool replace_file(const std::string& windowsPath, const std::string& bytes) {
    const std::string target = host_path(windowsPath);
    // Each process writes its own temporary file, so that two sensors that
    // replace the same file at once never write into or rename each other's.
    const std::string temporary = target + "." + process_id_text() + replacementSuffix;
    const FileHandle file = create_temporary(temporary);
    if (!is_open(file)) return false;
    const bool written = write_all(file, bytes);
    if (close_written(file) && written && rename_over(temporary, target)) return true;
    delete_name(temporary);
    return false;
}

void remove_file(const std::string& windowsPath) {
    remove_host_file(host_path(windowsPath));
}

void remove_host_file(const std::string& hostPath) {
#ifdef _WIN32
    std::remove(hostPath.c_str());
#else
    // remove() would also take an empty directory of that name; only a file goes.
    unlink(hostPath.c_str());
#endif
}

std::string working_directory_text() {
#ifdef _WIN32
    std::vector<char> path(MAX_PATH);
    DWORD size = GetFullPathNameA(".", static_cast<DWORD>(path.size()), path.data(), nullptr);
    if (size >= path.size()) {
        path.resize(size + 1);
        size = GetFullPathNameA(".", static_cast<DWORD>(path.size()), path.data(), nullptr);
    }
    if (size == 0 || size >= path.size()) return "";
    std::string text(path.data(), size);
    if (text.back() != '\\') text += '\\';
    return text;
#else
    std::vector<char> path(4096);
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE) return "";
        path.resize(path.size() * 2);
    }
    std::string text(path.data());
    if (text.back() != '/') text += '/';
    return text;
#endif
}

bool append_file(const std::string& windowsPath, const std::string& bytes) {
    std::FILE* file = std::fopen(host_path(windowsPath).c_str(), "ab");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
