// Folders of the account's own inside a folder that other accounts may
// share, such as the temporary folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Makes the folder when it is not there yet; the problem in words when it
// cannot be made or is not a real folder, not a link, that only this
// account may write in.
std::optional<std::string> make_own_folder(const std::string& folder);

// Makes the new folder `name` in the own folder `parent` (a path without
// its trailing separator); the problem in words when anything lies there
// already or `parent` is not such a folder.
std::optional<std::string> make_folder_in(const std::string& parent, const std::string& name);

// The names in the own folder, without "." and ".."; none when it is not
// a real folder that only this account may write in.
std::vector<std::string> own_folder_entries(const std::string& folder);

// Removes the folder `name` of `parent` with its files, when it is a real
// folder of this account's own: nothing is removed through a link, a link
// in it goes as a link, and a folder in it stays (and so does the folder).
void remove_own_folder(const std::string& parent, const std::string& name);
