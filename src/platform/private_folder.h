// A folder of the run's own below the temporary folder, for the files that
// no other sensor may read or replace while this one uses them: made afresh
// under a name no other run has, never through a link, readable only by the
// account that runs the sensor, and removed with what it holds.
#pragma once

#include <optional>
#include <string>

// The name a private folder of this process gets: wickerby-<process
// id>-<16 hex digits>, the digits drawn anew each time.
std::string private_folder_name();

// The full path of a new private folder in the temporary folder, with its
// trailing separator; the folder is not made yet. Nothing when there is no
// temporary folder.
std::optional<std::string> private_folder_path();

// Makes the folder; false when anything already lies at its name.
bool make_private_folder(const std::string& folder);

// Writes the whole file `name` in the private folder, replacing an earlier
// one there.
bool write_private_file(const std::string& folder, const std::string& name, const std::string& bytes);

// The whole file `name` of the private folder; nothing when it is not there.
std::optional<std::string> read_private_file(const std::string& folder, const std::string& name);

// Removes the plain files of the folder, then the folder if it is empty.
void remove_private_folder(const std::string& folder);

// Removes, with their files, the private folders in the temporary folder
// that processes no longer running left behind (PRTG kills a sensor at its
// timeout); folders of other accounts and of running processes stay.
void remove_abandoned_private_folders();
