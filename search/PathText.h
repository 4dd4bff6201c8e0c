// Text helpers of the search that need no system services.
//
// Portable code: no <windows.h>.
#pragma once

#include <string>
#include <string_view>

// The path as the scanner stores and shows it: the first backslash of the
// first pair of consecutive backslashes removed (a walk that starts at a
// drive's root joins "c:\" and a name with a second backslash). Only that one
// pair is reduced.
std::string ReduceDoubledBackslash(std::string path);

// The library a file would be if it were one: the entry name up to its last
// full stop (nothing without one), ASCII lower-cased, plus ".dll". The caller
// lower-cases with the system's ANSI rules first when the name may hold
// letters beyond ASCII.
std::string OwnLibraryName(std::string_view entryName);

// ASCII lower-casing in place.
void LowerAscii(std::string& text);
