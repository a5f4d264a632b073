// Files named by the Windows path texts the sensor builds. On Windows a text
// is used as it is; on POSIX it is mapped below $WICKERBY_DRIVES (drive
// letters become folders, a rooted path lies on drive C:).
#pragma once

#include <optional>
#include <string>

// The POSIX file name for a Windows path text, below the given drives folder.
std::string posix_path_for(const std::string& windowsPath, const std::string& drivesRoot);

// The file name to hand to the C library on this platform.
std::string host_path(const std::string& windowsPath);

// True when the file opens for reading; a directory does not count.
bool file_opens(const std::string& windowsPath);

// The file's contents read the way Windows text mode reads them: every
// CR LF pair becomes one line feed. Empty when the file does not open.
std::optional<std::string> read_text_file(const std::string& windowsPath);

// The file's bytes, untranslated. Empty when the file does not open.
std::optional<std::string> read_raw_file(const std::string& windowsPath);

// Writes the bytes to a temporary file beside the target and renames it over
// the target, so the target is always either the old or the new file.
bool replace_file(const std::string& windowsPath, const std::string& bytes);

// Deletes the file; a missing file is no error.
void remove_file(const std::string& windowsPath);

// Replaces every CR LF pair by a line feed, as Windows text mode reads.
std::string text_mode_contents(const std::string& raw);
