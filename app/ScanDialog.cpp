#include "app/ScanDialog.h"

#include "framework/App.h"
#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "search/DirectoryListing.h"

namespace {

bool ContainsApplicationExtension(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text.find(".exe") != std::string::npos || text.find(".dll") != std::string::npos;
}

void Flip(int& field)
{
    field = field == 0 ? 1 : 0;
}

}  // namespace

std::span<const CommandEntry<CScanDialog>> CScanDialog::Commands()
{
    static constexpr CommandEntry<CScanDialog> kCommands[] = {
        {LBN_DBLCLK, IDC_DIRECTORY_CONTENTS, &CScanDialog::OnDblclkDirectoryContents},
        {BN_CLICKED, IDC_EXIT, &CScanDialog::OnExit},
        {CBN_SELCHANGE, IDC_FILE_FILTER, &CScanDialog::OnSelchangeFileFilterCombo},
        {BN_CLICKED, IDC_TYPE_386, &CScanDialog::OnClickType386},
        {BN_CLICKED, IDC_INCLUDE_SUBDIRECTORIES, &CScanDialog::OnClickIncludeSubdirectories},
        {BN_CLICKED, IDC_TYPE_COM, &CScanDialog::OnClickTypeCom},
        {BN_CLICKED, IDC_TYPE_DLL, &CScanDialog::OnClickTypeDll},
        {BN_CLICKED, IDC_TYPE_DRV, &CScanDialog::OnClickTypeDrv},
        {BN_CLICKED, IDC_TYPE_EXE, &CScanDialog::OnClickTypeExe},
        {BN_CLICKED, IDC_TYPE_OCX, &CScanDialog::OnClickTypeOcx},
        {BN_CLICKED, IDC_TYPE_SYS, &CScanDialog::OnClickTypeSys},
        {BN_CLICKED, IDC_TYPE_VBX, &CScanDialog::OnClickTypeVbx},
        {CBN_SELCHANGE, IDC_DRIVE, &CScanDialog::OnSelchangeDriveCombo},
        {BN_CLICKED, IDC_OUTPUT_TO_FILE, &CScanDialog::OnClickOutputToFile},
    };
    static_assert(!HasDuplicateCommands(kCommands));
    return kCommands;
}

std::span<const MessageEntry<CScanDialog>> CScanDialog::Messages()
{
    static constexpr MessageEntry<CScanDialog> kMessages[] = {
        {WM_SYSCOMMAND, &CScanDialog::OnSysCommand},
        {WM_DESTROY, &CScanDialog::OnDestroy},
        {WM_PAINT, &CScanDialog::OnPaint},
        {WM_QUERYDRAGICON, &CScanDialog::OnQueryDragIcon},
    };
    return kMessages;
}

CScanDialog::CScanDialog(HWND parent)
    : DialogImpl(IDD_VELTSCAN_DIALOG, parent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_VELTSCAN)))
{
}

CScanDialog::~CScanDialog() = default;

void CScanDialog::DoDataExchange(DataExchange& dx)
{
    dx.ComboText(IDC_FILE_FILTER, m_strFilter);
    dx.MaxChars(m_strFilter, 100);
    dx.CheckBox(IDC_TYPE_386, m_bType386);
    dx.CheckBox(IDC_TYPE_COM, m_bTypeCom);
    dx.CheckBox(IDC_TYPE_DLL, m_bTypeDll);
    dx.CheckBox(IDC_TYPE_DRV, m_bTypeDrv);
    dx.CheckBox(IDC_TYPE_EXE, m_bTypeExe);
    dx.CheckBox(IDC_TYPE_OCX, m_bTypeOcx);
    dx.CheckBox(IDC_TYPE_SYS, m_bTypeSys);
    dx.CheckBox(IDC_TYPE_VBX, m_bTypeVbx);
    dx.CheckBox(IDC_INCLUDE_SUBDIRECTORIES, m_bIncludeSubdirectories);
    dx.ComboText(IDC_DRIVE, m_strDrive);
    dx.MaxChars(m_strDrive, 10);
    dx.CheckBox(IDC_OUTPUT_TO_FILE, m_bOutputToFile);
}

BOOL CScanDialog::OnInitDialog()
{
    Dialog::OnInitDialog();

    // Centred in the work area: the main window has no owner.
    RECT work, window;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd(), &window);
    SetWindowPos(hwnd(), nullptr,
                 work.left + ((work.right - work.left) - (window.right - window.left)) / 2,
                 work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    char about[256];
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_MENU, about, sizeof about) > 0) {
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, IDM_SYSMENU_ABOUT, about);
    }

    ShowHourglass();

    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    m_strDrive = system;
    // One buffer holding the system drive's root serves both listings.
    std::vector<char> root = PathBuffer(std::string(system, system[0] ? 3 : 0));
    FillDriveCombo(root);
    ListDirectoryContents(hwnd(), root);
    PruneToApplicationFiles();

    m_strFilter = "Application files";
    m_strDrive = "[-" + m_strDrive.substr(0, 1) + "-]";
    m_bTypeExe = 1;
    m_bTypeDll = 1;
    UpdateData(false);
    return TRUE;
}

void CScanDialog::FillDriveCombo(std::vector<char>& root)
{
    ListDrives(hwnd(), root);
    ComboBox drives(Item(IDC_DRIVE));
    for (int i = 0; i < drives.Count();) {
        const std::string entry = drives.Text(i);
        const auto hyphen = entry.find('-');
        const std::string driveRoot =
            hyphen == std::string::npos || hyphen + 1 >= entry.size() ? std::string() : entry.substr(hyphen + 1, 1) + ":\\";
        if (!driveRoot.empty() && GetDriveTypeA(driveRoot.c_str()) == DRIVE_REMOTE)
            drives.Delete(i);
        else
            ++i;
    }
}

void CScanDialog::PruneToApplicationFiles()
{
    ListBox list(Item(IDC_DIRECTORY_CONTENTS));
    for (int i = 0; i < list.Count();) {
        const std::string entry = list.Text(i);
        if (!entry.starts_with('[') && !ContainsApplicationExtension(entry))
            list.Delete(i);
        else
            ++i;
    }
}

bool CScanDialog::OnSysCommand(WPARAM w, LPARAM, LRESULT& result)
{
    if ((w & 0xFFF0) != IDM_SYSMENU_ABOUT)
        return false;
    CAboutDialog about;
    about.DoModal();
    result = 0;
    return true;
}

bool CScanDialog::OnDestroy(WPARAM, LPARAM, LRESULT&)
{
    CallHelp(hwnd(), HelpFilePath(), HELP_QUIT, 0);
    return false;  // the base finishes the destruction
}

bool CScanDialog::OnPaint(WPARAM, LPARAM, LRESULT& result)
{
    if (!IsIconic(hwnd()))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(hwnd(), &client);
    DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2, m_hIcon);
    EndPaint(hwnd(), &paint);
    result = 0;
    return true;
}

bool CScanDialog::OnQueryDragIcon(WPARAM, LPARAM, LRESULT& result)
{
    result = reinterpret_cast<LRESULT>(m_hIcon);
    return true;
}

void CScanDialog::OnExit()
{
    Dialog::OnOK();
}

void CScanDialog::OnClickType386() { Flip(m_bType386); }
void CScanDialog::OnClickIncludeSubdirectories() { Flip(m_bIncludeSubdirectories); }
void CScanDialog::OnClickTypeCom() { Flip(m_bTypeCom); }
void CScanDialog::OnClickTypeDll() { Flip(m_bTypeDll); }
void CScanDialog::OnClickTypeDrv() { Flip(m_bTypeDrv); }
void CScanDialog::OnClickTypeExe() { Flip(m_bTypeExe); }
void CScanDialog::OnClickTypeOcx() { Flip(m_bTypeOcx); }
void CScanDialog::OnClickTypeSys() { Flip(m_bTypeSys); }
void CScanDialog::OnClickTypeVbx() { Flip(m_bTypeVbx); }
void CScanDialog::OnClickOutputToFile() { Flip(m_bOutputToFile); }

BOOL CAboutDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    // Centred over the owner, or over the work area while the owner is
    // minimised.
    RECT area, box;
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (owner && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(hwnd(), &box);
    SetWindowPos(hwnd(), nullptr, area.left + ((area.right - area.left) - (box.right - box.left)) / 2,
                 area.top + ((area.bottom - area.top) - (box.bottom - box.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}
