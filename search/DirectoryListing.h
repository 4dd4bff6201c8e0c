// The directory listing service: every listing of the program, on screen and
// in the hidden work lists, goes through the system's dialog directory-list
// calls on the main dialog. Each call gets a private writable copy of its
// path, since the system may rewrite the buffer it is given.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A writable path buffer of at least MAX_PATH bytes, as the listing calls
// want one.
std::vector<char> PathBuffer(const std::string& path);

// Drives only, into DriveCombo.
void ListDrives(HWND dialog, std::vector<char>& path);
// Files of every attribute and sub-directories into DirectoryContentsList,
// with the listed directory's path in CurrentDirectoryLabel.
void ListDirectoryContents(HWND dialog, std::vector<char>& path);
void ListDirectoryContents(HWND dialog, const std::string& path);
// Sub-directories only into SubdirScratchList.
void ListSubdirectoryEntries(HWND dialog, const std::string& path);
// Files of every attribute, no directories, into FileWorkList.
void ListFileEntries(HWND dialog, const std::string& path);

// The focused entry of DirectoryContentsList, and DriveCombo's selected
// entry, in path form.
std::string SelectedContentsPath(HWND dialog);
std::string SelectedDrivePath(HWND dialog);
