// The search run behind the main dialog's OK, and the directory walk and
// type filter that feed it.
#include "app/ScanDialog.h"

#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "present/Report.h"
#include "present/ResultsDialog.h"
#include "search/DirectoryListing.h"
#include "search/Scanner.h"
#include "search/TypeFilter.h"

#include <direct.h>

#include <new>

namespace {

constexpr UINT kRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
constexpr int kRepaintEvery = 100;

std::string LowerAnsi(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Deletes, in place and in order, every entry for which drop(text) holds.
template <class Drop>
void DeleteEntries(ListBox list, Drop drop)
{
    for (int i = 0; i < list.Count();) {
        if (drop(list.Text(i)))
            list.Delete(i);
        else
            ++i;
    }
}

}  // namespace

void CScanDialog::OnOK()
{
    if (m_bOutputToFile == 1 && !ObtainReportFile())
        return;
    RunSearch();
}

void CScanDialog::RunSearch()
{
    ResetReferenceTables();
    BeginWaitCursor();
    bool outOfMemory = false;
    try {
        SearchSelection();
    } catch (const std::bad_alloc&) {
        outOfMemory = true;  // what was found so far is still presented
    }
    EndWaitCursor();
    if (outOfMemory)
        AppMessageBox("Memory allocation failure", MB_OK);
    if (m_bOutputToFile == 1) {
        WriteReport();
    } else {
        CResultsDialog results;
        results.DoModal();
    }
}

void CScanDialog::SearchSelection()
{
    RECT client;
    GetClientRect(hwnd(), &client);
    SetWindowTextA(hwnd(), "Veltrix - running");

    ListBox contents(Item(IDC_DIRECTORY_CONTENTS));
    const int selected = contents.SelectedCount();
    const std::string shown = WindowText(Item(IDC_CURRENT_DIRECTORY));
    std::string searchDirectory = shown;
    if (!searchDirectory.empty() && searchDirectory.back() == '\\')
        searchDirectory.pop_back();

    // Whatever way the run ends, the dialog is left as it was before.
    struct RunEnd {
        CScanDialog& dialog;
        const std::string& shown;
        ~RunEnd()
        {
            _chdir(shown.c_str());
            ListBox(dialog.Item(IDC_DIRECTORY_WORK_LIST)).Reset();
            dialog.m_enteredDirectories.clear();
            SetWindowTextA(dialog.hwnd(), "Veltrix");
        }
    } end{*this, shown};

    if (selected > 0) {
        std::vector<int> indices;
        try {
            indices = contents.SelectedItems(selected);
        } catch (const std::bad_alloc&) {
            AppMessageBox("Memory allocation failure", MB_OK);
        }
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const std::string entry = contents.Text(indices[i]);
            ScanFile(searchDirectory + "\\" + entry, entry);
            if (i % kRepaintEvery == 0)
                RedrawWindow(hwnd(), &client, nullptr, kRepaint);
        }
    } else {
        ScanFileList(searchDirectory, client);
    }

    if (m_bIncludeSubdirectories == 1) {
        DirectoryWalkRecord root{shown};
        m_pWalkRoot = &root;
        EnterOnce(root.path);  // the start directory belongs to the walk
        CollectDirectories(m_pWalkRoot);
        m_pWalkRoot = nullptr;

        ListBox directories(Item(IDC_DIRECTORY_WORK_LIST));
        for (int j = 0; j < directories.Count(); ++j)
            ScanFileList(directories.Text(j), client);
    }
}

void CScanDialog::ScanFileList(const std::string& directory, const RECT& client)
{
    ListFilesOfTypes(directory);
    ListBox files(Item(IDC_FILE_WORK_LIST));
    for (int i = 0; i < files.Count(); ++i) {
        const std::string entry = files.Text(i);
        ScanFile(directory + "\\" + entry, entry);
        if (i % kRepaintEvery == 0)
            RedrawWindow(hwnd(), &client, nullptr, kRepaint);
    }
}

void CScanDialog::ListFilesOfTypes(std::string directory)
{
    ListFileEntries(hwnd(), directory);
    const TypeFlags flags = {m_bTypeExe, m_bTypeDll, m_bTypeSys, m_bTypeCom,
                             m_bTypeDrv, m_bTypeOcx, m_bTypeVbx, m_bType386};
    DeleteEntries(ListBox(Item(IDC_FILE_WORK_LIST)),
                  [&](const std::string& entry) { return !PassesTypeFilter(LowerAnsi(entry), flags); });
}

void CScanDialog::ListSubdirectories(std::string directory)
{
    ListSubdirectoryEntries(hwnd(), directory);
    // The parent entry goes, and so does every directory whose name begins
    // with a dot: the walk never enters them.
    DeleteEntries(ListBox(Item(IDC_SUBDIR_SCRATCH_LIST)), [](const std::string& entry) {
        return entry.size() < 2 || entry[0] != '[' || entry[1] == '.';
    });
}

bool CScanDialog::EnterOnce(const std::string& directory)
{
    HANDLE handle = CreateFileA(directory.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return true;  // its listing will show what can be read of it
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(handle, &info) != FALSE;
    CloseHandle(handle);
    if (!known)
        return true;
    const std::uint64_t index = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return m_enteredDirectories.emplace(info.dwVolumeSerialNumber, index).second;
}

void CScanDialog::CollectDirectories(DirectoryWalkRecord* record)
{
    record->path = LowerAnsi(record->path);
    ListSubdirectories(record->path);

    // A snapshot of this level's names: every deeper level refills the list.
    std::vector<std::string> names;
    ListBox scratch(Item(IDC_SUBDIR_SCRATCH_LIST));
    for (int i = 0, n = scratch.Count(); i < n; ++i) {
        std::string name = scratch.Text(i);
        if (const auto close = name.rfind(']'); close != std::string::npos)
            name.erase(close);
        if (const auto open = name.find('['); open != std::string::npos)
            name.erase(0, open + 1);
        names.push_back(LowerAnsi(std::move(name)));
    }

    ListBox directories(Item(IDC_DIRECTORY_WORK_LIST));
    for (const std::string& name : names) {
        DirectoryWalkRecord below{record->path + "\\" + name};
        if (!EnterOnce(below.path))
            continue;
        CollectDirectories(&below);
        directories.Append(below.path);
    }
}
