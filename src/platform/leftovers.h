// What killed processes leave behind. PRTG kills a sensor that passes its
// timeout, wherever it is; a file or folder named after its process id then
// stays, and the next sensor removes it once that process no longer runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

// True while a process of that id runs, also one of another account.
bool process_is_running(unsigned long processId);

// The process id in a name made as prefix + decimal id + suffix start
// (the suffix may go on after `suffix`); nothing for any other name.
std::optional<unsigned long> leftover_process_id(const std::string& name, const std::string& prefix,
                                                 const std::string& suffix);

// The names of the entries of a folder (a host path, "." for the working
// directory), without "." and "..".
std::vector<std::string> folder_entries(const std::string& hostFolder);

// Removes the temporary files TARGET.<process id>.wickerby-new that
// replace_file of processes no longer running left beside the target.
void remove_abandoned_temporaries(const std::string& windowsPath);
