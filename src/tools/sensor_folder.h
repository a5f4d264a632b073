// Where the administrator's tool must not write from: the folders whose
// programs PRTG offers to every user who may add sensors, and runs with the
// parameters that user types, as the probe's service account.
#pragma once

#include <string>

// True when the directory is Custom Sensors\EXE or Custom Sensors\EXEXML
// itself (names in any case, '\' or '/' between them, a trailing separator
// or none). A folder below one of them is not such a folder: PRTG offers
// only the files directly inside.
bool is_prtg_program_folder(const std::string& directory);
