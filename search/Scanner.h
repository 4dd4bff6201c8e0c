// ScanFile reads one chosen file as raw bytes, keeps the library names in it
// that the system's library search order resolves, and records them in the
// process-wide reference tables.
#pragma once

#include "search/ReferenceTables.h"

#include <string>

// fullPath: the directory, one backslash, the entry name; opened exactly as
// given. entryName: the list entry's text, which names the file's own library.
void ScanFile(std::string fullPath, std::string entryName);

// The tables of the current run.
ReferenceTables& TheReferenceTables();

// Starts a run: empties the tables and forgets what the system's library
// search answered in the previous run.
void ResetReferenceTables();

// Ends a run once its presenter has shown the tables.
void ReleaseReferenceTables();
