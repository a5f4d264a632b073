// Files named by the Windows path texts the sensor builds. On Windows a text
// is used as it is; on POSIX it is mapped below $WICKERBY_DRIVES (drive
// letters become folders, a rooted path lies on drive C:).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The most bytes read_text_file and read_raw_file read of one file; the rest
// of a longer file is not read. Profiles, listings and destination files are
// a few kilobytes, so this leaves room to spare while a file that never ends
// cannot fill the memory of a 32-bit process that runs many times at once.
constexpr std::size_t fileReadLimit = 4 * 1024 * 1024;

// The size of the pieces read_file_chunks hands over.
constexpr std::size_t fileChunkSize = 64 * 1024;

// The POSIX file name for a Windows path text, below the given drives folder.
std::string posix_path_for(const std::string& windowsPath, const std::string& drivesRoot);

// The file name to hand to the C library on this platform.
std::string host_path(const std::string& windowsPath);

// Only regular files open for reading: a directory, a FIFO, a device or a
// Windows device name (NUL, CON, COM1, ...) counts as a file that does not
// open, at once, without waiting or reading from it. Links to regular files
// are followed.

// True when the file opens for reading.
bool file_opens(const std::string& windowsPath);

// The file's first fileReadLimit bytes read the way Windows text mode reads
// them: every CR LF pair becomes one line feed. A UTF-8 byte-order mark at
// its start (Notepad's "UTF-8 with BOM") is left out, so that the first line
// reads as written. Empty when the file does not open.
std::optional<std::string> read_text_file(const std::string& windowsPath);

// The file's first fileReadLimit bytes, untranslated. Empty when the file
// does not open.
std::optional<std::string> read_raw_file(const std::string& windowsPath);

// Hands the file's first byteLimit bytes, untranslated, to `take` in pieces
// of at most fileChunkSize bytes, in order; memory of one piece whatever the
// file's size. False when the file does not open.
bool read_file_chunks(const std::string& windowsPath, std::uint64_t byteLimit,
                      const std::function<void(const char* data, std::size_t size)>& take);

// The size of the file in bytes; empty when it does not open.
std::optional<std::uint64_t> file_size(const std::string& windowsPath);

// Writes the bytes to a temporary file of this process beside the target
// (TARGET.<process id>.wickerby-new, created afresh, never through a link)
// and renames it over the target, so the target is at every moment either
// the old or the new whole file, whatever other processes do at once. The
// temporary file is gone afterwards, also when something fails.
bool replace_file(const std::string& windowsPath, const std::string& bytes);

// How the temporary file of replace_file ends, after the process id.
inline constexpr const char* replacementSuffix = ".wickerby-new";

// Deletes the file named by a host path (no mapping of a Windows path).
void remove_host_file(const std::string& hostPath);

// The working directory's full path as the platform writes it, with its
// trailing separator ("C:\\PRTG\\" on Windows, "/srv/prtg/" on POSIX); empty
// when the system does not tell it.
std::string working_directory_text();

// Adds the bytes at the end of the file, making it when it is not there.
bool append_file(const std::string& windowsPath, const std::string& bytes);

// Deletes the file; a missing file is no error.
void remove_file(const std::string& windowsPath);

// Replaces every CR LF pair by a line feed, as Windows text mode reads.
std::string text_mode_contents(const std::string& raw);

// True when Windows takes the path for a device rather than a file: its
// last part is CON, PRN, AUX, NUL, COM1-COM9 or LPT1-LPT9, in any case,
// with any extension, trailing blanks or dots, or CONIN$ or CONOUT$.
bool is_windows_device_name(const std::string& windowsPath);
