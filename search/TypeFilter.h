// Which files of a directory a search takes when nothing is selected.
//
// Portable code: no <windows.h>.
#pragma once

#include <array>
#include <string_view>

// The eight file types, in the order the filter tests them.
enum FileType { kExe, kDll, kSys, kCom, kDrv, kOcx, kVbx, k386, kFileTypeCount };

inline constexpr std::array<std::string_view, kFileTypeCount> kTypeExtensions = {
    ".exe", ".dll", ".sys", ".com", ".drv", ".ocx", ".vbx", ".386"};

using TypeFlags = std::array<int, kFileTypeCount>;  // 1 = ticked

// A lower-cased name passes when it contains (anywhere, not only at its end)
// the extension of a ticked type and that of no unticked type. With no type
// ticked every name passes.
bool PassesTypeFilter(std::string_view lowerName, const TypeFlags& flags);
