// The directory browser of the main dialog: entering directories by double
// click, changing drive, and switching the list between application files
// and all files.
#include "app/ScanDialog.h"

#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "search/DirectoryListing.h"

#include <direct.h>

void CScanDialog::OnDblclkDirectoryContents()
{
    ShowHourglass();
    // The entry with the focus is the one just double-clicked. A file's name
    // names no directory, so its listing enters nothing.
    ListDirectoryContents(hwnd(), SelectedContentsPath(hwnd()));
    if (ComboBox(Item(IDC_FILE_FILTER)).CurrentSelection() == 0)
        PruneToApplicationFiles();
}

void CScanDialog::OnSelchangeDriveCombo()
{
    ShowHourglass();
    std::string path = SelectedDrivePath(hwnd());
    if (path.find(':') != std::string::npos) {
        while (_chdir(path.c_str()) != 0) {
            if (AppMessageBox("Error reading drive: " + path, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY)
                break;
        }
    }
    path += '\\';
    ListDirectoryContents(hwnd(), path);
    if (ComboBox(Item(IDC_FILE_FILTER)).CurrentSelection() == 0)
        PruneToApplicationFiles();
    ComboBox drives(Item(IDC_DRIVE));
    m_strDrive = drives.Text(drives.CurrentSelection());
}

void CScanDialog::OnSelchangeFileFilterCombo()
{
    const int mode = ComboBox(Item(IDC_FILE_FILTER)).CurrentSelection();
    const std::string shown = WindowText(Item(IDC_CURRENT_DIRECTORY));
    ShowHourglass();
    if (mode == 0) {
        m_bTypeExe = 1;
        m_bTypeDll = 1;
        m_strFilter = "Application files";
        UpdateData(false);
        PruneToApplicationFiles();
    } else if (mode == 1) {
        m_bTypeExe = 0;
        m_bTypeDll = 0;
        m_strFilter = "All files";
        UpdateData(false);
        ListDirectoryContents(hwnd(), shown);
    }
}
