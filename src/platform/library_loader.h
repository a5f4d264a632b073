// Loading a shared library while the program runs, from the full path of its
// file and from nowhere else, and finding what it exports by name. A loaded
// library stays loaded until the process ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The directory holding the running program's file, with its trailing
// separator ("C:\...\ExeXml\", "/opt/wickerby/"), on Windows in long names
// however the program was started; empty when the system does not tell it.
std::string executable_directory();

// The full path of this program's own file; empty when the system does not tell it.
std::string executable_path();

// The directory where the system keeps libraries that every program shares
// and where installers put them, with its trailing separator: on Windows the
// system directory, as a program of this build sees it. Empty on POSIX,
// where the program looks beside itself only.
std::string system_library_directory();

// The file name of the library NAME on this platform: "NAME.dll" or
// "NAME.so".
std::string library_file_name(const std::string& name);

// The file name of a library that POSIX systems name with the prefix
// "lib": "NAME.dll" or "libNAME.so".
std::string prefixed_library_file_name(const std::string& name);

// What a library must be for this program to load it, as a message names
// it: "32-bit Windows library", "64-bit shared library".
std::string loadable_library_kind();

enum class LibraryLoadFailure {
    none,         // loaded
    absent,       // no file at the path
    wrongFormat,  // a file, but not a library this program can load
    other,        // the system refused it for another reason, given as text
};

// What library_procedure hands back: the address of an exported function,
// to be converted to its real type by the caller, who knows it.
using LibraryProcedure = void (*)();

struct LoadedLibrary {
    void* handle = nullptr;  // null when it did not load
    LibraryLoadFailure failure = LibraryLoadFailure::none;
    std::string reason;  // for `other`: the system's own words
};

// Loads the library at the full path. On Windows the libraries it needs in
// turn are looked for first in its own directory, and no dialog box is shown
// when it fails.
LoadedLibrary load_library(const std::string& path);

// Loads the library at the full path, whose own libraries lie beside it:
// on Windows they are looked for in its directory and then in the system's,
// never in the working directory or along PATH. On POSIX as load_library,
// where the library's own search path finds them.
LoadedLibrary load_library_with_companions(const std::string& path);

// The function the loaded library exports under exactly this name; null
// when it exports none.
LibraryProcedure library_procedure(const LoadedLibrary& library, const char* name);

// The first bytes of the file at the full path, at most `size`; empty when
// it does not open. Enough to tell what kind of library a file holds.
std::string library_file_head(const std::string& path, std::size_t size);

// Whether this program loads Windows libraries (it is a Windows program).
bool loads_windows_libraries();

// The file version that a Windows library's version resource gives, as
// "7.200.5.0"; nothing when it has none, and always nothing on POSIX, whose
// libraries carry no such resource.
std::optional<std::string> library_file_version(const std::string& path);
