// A folder of the run's own for the files that no other sensor may read or
// replace while this one uses them: made afresh under a name no other run
// has, never through a link, readable only by the account that runs the
// sensor, and removed with what it holds. The runs' folders lie in one
// folder of the account's own below the temporary folder, so that what
// others put into a shared temporary folder is never looked at, let alone
// removed.
#pragma once

#include <optional>
#include <string>

// The name a private folder of this process gets: wickerby-<process
// id>-<16 hex digits>, the digits drawn anew each time.
std::string private_folder_name();

// The process id in a name made by private_folder_name, exactly so made;
// nothing for any other name.
std::optional<unsigned long> private_folder_process(const std::string& name);

// The folder of the account's own in the temporary folder that holds the
// private folders, with its trailing separator; it may not be made yet.
// Nothing when there is no temporary folder.
std::optional<std::string> private_folders_home();

// The temporary folder with its trailing separator; nothing when there is none.
std::optional<std::string> temporary_folder_path();

// The setting that names the temporary folder, for a person to correct it.
const char* temporary_folder_setting();

// The full path of a new private folder, with its trailing separator; the
// folder is not made yet. Nothing when there is no temporary folder.
std::optional<std::string> private_folder_path();

// Makes the folder (and its home, when it is not there yet); the problem
// in words when it cannot: the home or the folder cannot be made, or the
// home is not a folder that only this account may write in.
std::optional<std::string> make_private_folder_told(const std::string& folder);

// The same, false when anything already lies at its name or it cannot be made.
bool make_private_folder(const std::string& folder);

// Writes the whole file `name` in the private folder, replacing an earlier
// one there.
bool write_private_file(const std::string& folder, const std::string& name, const std::string& bytes);

// The whole file `name` of the private folder; nothing when it is not there.
std::optional<std::string> read_private_file(const std::string& folder, const std::string& name);

// Removes the files of the folder, then the folder if it is empty. Nothing
// is removed through a link: the folder is opened without following one,
// and a link in it goes as a link.
void remove_private_folder(const std::string& folder);

// Removes, with their files, the private folders in the home that
// processes no longer running left behind (PRTG kills a sensor at its
// timeout); only the home is listed, and only names made as this program
// makes them are touched.
void remove_abandoned_private_folders();
