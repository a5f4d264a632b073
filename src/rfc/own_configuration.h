// The RFC library reads its configuration from the file that the variable
// RFC_INI names, and "SapRfc.ini" in the working directory only when it is
// unset. Each run names a file of its own there before the library loads
// and writes the configured destination's copy into it, so that no other
// sensor's "SapRfc.ini" can reach this run's logon and no sensor waits for
// another. The working directory's "SapRfc.ini" is still replaced as
// always, for everything else that reads it.
#pragma once

#include <optional>
#include <string>

inline constexpr const char* configurationVariable = "RFC_INI";

// Names the run's own configuration file in RFC_INI, in a private folder
// that is made only when a configured destination is used; whatever RFC_INI
// said before is replaced for this process. Called before the library
// loads; where the library reads the environment only when it asks (POSIX),
// the naming waits for the first configured destination. False when there
// is no temporary folder or the variable cannot be set: the library then
// reads the working directory's file.
bool name_own_configuration();

// Writes the configuration's whole bytes where RFC_INI names it, making the
// private folder at first use (and removing folders that killed runs left
// behind). The problem in words, naming the temporary folder, when it
// cannot; nothing when all is well or nothing was named, as the working
// directory's file is then the one the library reads.
std::optional<std::string> write_own_configuration(const std::string& bytes);

// In a process whose working directory is a private folder already (a
// listing's worker): RFC_INI names the working directory's "SapRfc.ini",
// which the run replaces anyway, and no folder of the process's own is
// made. Called before the library loads.
void keep_configuration_in_working_directory();

// The NetWeaver library reads no RFC_INI: the bytes given (the destination's
// entry of the configuration) become
// "sapnwrfc.ini" in the run's private folder (a worker's working
// directory), which the library is pointed at: `folder`, with its trailing
// separator, left empty when no folder was named. The problem in words
// when it cannot be written.
std::optional<std::string> write_own_netweaver_configuration(const std::string& bytes, std::string& folder);
