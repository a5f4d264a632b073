// The simulator's few contacts with the process: environment variables and
// whole-file reads and appends. Kept apart so that the rest stays pure.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rfcsim {

// The variable's value; an unset or empty variable gives an empty text.
std::string environment_value(const char* name);

// The whole file as raw bytes, or nothing when it cannot be opened.
std::optional<std::string> read_file(const std::string& path);

// Appends each line with a line feed; the file is opened and closed here, so
// that what was written survives a process that ends right afterwards.
void append_lines(const std::string& path, const std::vector<std::string>& lines);

// Whether the path names a directory.
bool is_directory(const std::string& path);

// The file `name` in the directory `directory` (which may end in a
// separator).
std::string path_in(const std::string& directory, const std::string& name);

// The directory of the running program's file, with a separator at its end.
std::string program_directory();

// The directory of the file that holds the simulator's code (the library
// the sensor loaded, or the test program it is linked into), with a
// separator at its end; empty when the system does not tell.
std::string library_directory();

// Loads a library by the full path of its file; its own dependencies are
// looked for beside it and in the system's folder only (on POSIX: by its
// RUNPATH). Null when it does not load.
void* open_library(const std::string& path);

// The library's export of that name, or null.
void* library_export(void* library, const char* name);

}  // namespace rfcsim
