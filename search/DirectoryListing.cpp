#include "search/DirectoryListing.h"

#include "res/resource.h"

namespace {

constexpr UINT kDrivesOnly = DDL_DRIVES | DDL_EXCLUSIVE;                                          // 0xC000
constexpr UINT kContents = DDL_READONLY | DDL_HIDDEN | DDL_SYSTEM | DDL_DIRECTORY | DDL_ARCHIVE;  // 0x37
constexpr UINT kSubdirectoriesOnly = DDL_EXCLUSIVE | DDL_DIRECTORY;                                // 0x8010
constexpr UINT kFilesOnly = DDL_READONLY | DDL_HIDDEN | DDL_SYSTEM | DDL_ARCHIVE;                 // 0x27

constexpr int kSelectionSize = 260;

}  // namespace

std::vector<char> PathBuffer(const std::string& path)
{
    std::vector<char> buffer(path.begin(), path.end());
    buffer.resize(path.size() + 1 < MAX_PATH ? MAX_PATH : path.size() + MAX_PATH, '\0');
    return buffer;
}

void ListDrives(HWND dialog, std::vector<char>& path)
{
    DlgDirListComboBoxA(dialog, path.data(), IDC_DRIVE, 0, kDrivesOnly);
}

void ListDirectoryContents(HWND dialog, std::vector<char>& path)
{
    DlgDirListA(dialog, path.data(), IDC_DIRECTORY_CONTENTS, IDC_CURRENT_DIRECTORY, kContents);
}

void ListDirectoryContents(HWND dialog, const std::string& path)
{
    std::vector<char> buffer = PathBuffer(path);
    ListDirectoryContents(dialog, buffer);
}

void ListSubdirectoryEntries(HWND dialog, const std::string& path)
{
    std::vector<char> buffer = PathBuffer(path);
    DlgDirListA(dialog, buffer.data(), IDC_SUBDIR_SCRATCH_LIST, 0, kSubdirectoriesOnly);
}

void ListFileEntries(HWND dialog, const std::string& path)
{
    std::vector<char> buffer = PathBuffer(path);
    DlgDirListA(dialog, buffer.data(), IDC_FILE_WORK_LIST, 0, kFilesOnly);
}

std::string SelectedContentsPath(HWND dialog)
{
    char buffer[kSelectionSize] = {};
    DlgDirSelectExA(dialog, buffer, kSelectionSize, IDC_DIRECTORY_CONTENTS);
    return buffer;
}

std::string SelectedDrivePath(HWND dialog)
{
    char buffer[kSelectionSize] = {};
    DlgDirSelectComboBoxExA(dialog, buffer, kSelectionSize, IDC_DRIVE);
    return buffer;
}
