#include "app/ScanDialog.h"

#include "framework/Controls.h"
#include "tests/support/TempTree.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

std::string SystemRoot()
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system, 3);
}

bool IsChecked(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class MainDialogTest : public testing::Test {
protected:
    void SetUp() override { EnableHelp(); }

    // Opens the main dialog, runs body inside it and ends it with Esc unless
    // the body ended it; returns how the dialog ended.
    INT_PTR Run(const std::function<void(HWND)>& body)
    {
        return WhileModal([this] { return dialog.DoModal(); },
                          [&](HWND window) {
                              body(window);
                              if (IsWindow(window))
                                  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                          });
    }

    Texts Contents(HWND window) { return ListBox(GetDlgItem(window, IDC_DIRECTORY_CONTENTS)).Texts(); }
    std::string Label(HWND window) { return WindowText(GetDlgItem(window, IDC_CURRENT_DIRECTORY)); }

    KeepCurrentDirectory keep;
    CScanDialog dialog;
};

TEST_F(MainDialogTest, StartsOnTheSystemDrivesRootWithApplicationFiles)
{
    Run([&](HWND window) {
        EXPECT_EQ(WindowText(window), "Veltrix");
        EXPECT_EQ(Lower(Label(window)), Lower(SystemRoot()));
        EXPECT_EQ(Lower(CurrentDirectoryForTest()), Lower(SystemRoot()));
        const Texts entries = Contents(window);
        EXPECT_FALSE(entries.empty());
        for (const std::string& entry : entries) {
            const std::string lower = Lower(entry);
            EXPECT_TRUE(entry.starts_with('[') || lower.find(".exe") != std::string::npos ||
                        lower.find(".dll") != std::string::npos)
                << entry;
        }
        EXPECT_EQ(Lower(WindowText(GetDlgItem(window, IDC_DRIVE))), "[-" + Lower(SystemRoot().substr(0, 1)) + "-]");
        EXPECT_EQ(ComboBox(GetDlgItem(window, IDC_FILE_FILTER)).Texts(),
                  (Texts{"Application files (*.exe;*.dll)", "All files (*.*)"}));
        EXPECT_EQ(WindowText(GetDlgItem(window, IDC_FILE_FILTER)), "Application files (*.exe;*.dll)");
        EXPECT_TRUE(IsChecked(window, IDC_TYPE_EXE));
        EXPECT_TRUE(IsChecked(window, IDC_TYPE_DLL));
        for (int id : {IDC_TYPE_COM, IDC_TYPE_SYS, IDC_TYPE_DRV, IDC_TYPE_OCX, IDC_TYPE_VBX, IDC_TYPE_386,
                       IDC_INCLUDE_SUBDIRECTORIES, IDC_OUTPUT_TO_FILE})
            EXPECT_FALSE(IsChecked(window, id)) << id;
        EXPECT_EQ(dialog.m_bTypeExe, 1);
        EXPECT_EQ(dialog.m_bTypeDll, 1);
        EXPECT_EQ(dialog.m_strFilter, "Application files");

        // No network drive is offered.
        for (const std::string& drive : ComboBox(GetDlgItem(window, IDC_DRIVE)).Texts()) {
            const std::string root = drive.substr(2, 1) + ":\\";
            EXPECT_NE(GetDriveTypeA(root.c_str()), UINT(DRIVE_REMOTE)) << drive;
        }

        // The About item ends the system menu, after a separator.
        HMENU menu = GetSystemMenu(window, FALSE);
        const int last = GetMenuItemCount(menu) - 1;
        char text[64] = {};
        GetMenuStringA(menu, last, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "&About veltscan...");
        EXPECT_EQ(GetMenuItemID(menu, last), UINT(IDM_SYSMENU_ABOUT));
        EXPECT_EQ(GetMenuState(menu, last - 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));

        // The hidden work lists are never shown.
        for (int id : {IDC_FILE_WORK_LIST, IDC_DIRECTORY_WORK_LIST, IDC_SUBDIR_SCRATCH_LIST})
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, id))) << id;
    });
}

TEST_F(MainDialogTest, PruneKeepsDirectoriesAndApplicationNames)
{
    Run([&](HWND window) {
        HWND list = GetDlgItem(window, IDC_DIRECTORY_CONTENTS);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const char* entry : {"TOOL.EXE", "readme.txt", "tool.exe.bak", "makefile", "x.dllcache", "[temp]"})
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        dialog.PruneToApplicationFiles();
        EXPECT_EQ(Contents(window), (Texts{"TOOL.EXE", "tool.exe.bak", "x.dllcache", "[temp]"}));
    });
}

TEST_F(MainDialogTest, EveryCheckBoxFlipsItsOwnFieldOnly)
{
    const std::pair<int, int CScanDialog::*> boxes[] = {
        {IDC_TYPE_EXE, &CScanDialog::m_bTypeExe}, {IDC_TYPE_DLL, &CScanDialog::m_bTypeDll},
        {IDC_TYPE_COM, &CScanDialog::m_bTypeCom}, {IDC_TYPE_SYS, &CScanDialog::m_bTypeSys},
        {IDC_TYPE_DRV, &CScanDialog::m_bTypeDrv}, {IDC_TYPE_OCX, &CScanDialog::m_bTypeOcx},
        {IDC_TYPE_VBX, &CScanDialog::m_bTypeVbx}, {IDC_TYPE_386, &CScanDialog::m_bType386},
        {IDC_INCLUDE_SUBDIRECTORIES, &CScanDialog::m_bIncludeSubdirectories},
        {IDC_OUTPUT_TO_FILE, &CScanDialog::m_bOutputToFile},
    };
    Run([&](HWND window) {
        for (const auto& [id, field] : boxes) {
            const int before = dialog.*field;
            Click(window, id);
            EXPECT_EQ(dialog.*field, 1 - before) << id;
            EXPECT_EQ(IsChecked(window, id), dialog.*field == 1) << id;
            Click(window, id);
            EXPECT_EQ(dialog.*field, before) << id;
        }
        EXPECT_EQ(dialog.m_bTypeExe + dialog.m_bTypeDll, 2);
        EXPECT_EQ(dialog.m_bTypeCom + dialog.m_bIncludeSubdirectories + dialog.m_bOutputToFile, 0);
    });
}

TEST_F(MainDialogTest, FilterSwitchChangesOnlyExeAndDll)
{
    TempTree tree;
    tree.File("a.exe");
    tree.File("notes.txt");
    tree.Dir("sub");
    Run([&](HWND window) {
        ListDirectoryContentsForTest(window, tree.Root());
        Click(window, IDC_TYPE_COM);
        Click(window, IDC_TYPE_386);
        Click(window, IDC_OUTPUT_TO_FILE);

        ChooseComboEntry(window, IDC_FILE_FILTER, 1);
        EXPECT_EQ(dialog.m_strFilter, "All files");
        EXPECT_EQ(dialog.m_bTypeExe + dialog.m_bTypeDll, 0);
        EXPECT_FALSE(IsChecked(window, IDC_TYPE_EXE));
        EXPECT_EQ(Contents(window), (Texts{"a.exe", "notes.txt", "[..]", "[sub]"}));

        // Application files again: pruned in place, selections kept.
        SendDlgItemMessageA(window, IDC_DIRECTORY_CONTENTS, LB_SETSEL, TRUE,
                            FindListEntry(window, IDC_DIRECTORY_CONTENTS, "a.exe"));
        ChooseComboEntry(window, IDC_FILE_FILTER, 0);
        EXPECT_EQ(dialog.m_bTypeExe + dialog.m_bTypeDll, 2);
        EXPECT_TRUE(IsChecked(window, IDC_TYPE_DLL));
        EXPECT_EQ(Contents(window), (Texts{"a.exe", "[..]", "[sub]"}));
        EXPECT_GT(SendDlgItemMessageA(window, IDC_DIRECTORY_CONTENTS, LB_GETSEL, 0, 0), 0);

        for (auto [id, field] : {std::pair{IDC_TYPE_COM, dialog.m_bTypeCom}, {IDC_TYPE_386, dialog.m_bType386},
                                 {IDC_OUTPUT_TO_FILE, dialog.m_bOutputToFile}}) {
            EXPECT_EQ(field, 1) << id;
            EXPECT_TRUE(IsChecked(window, id)) << id;
        }
        EXPECT_EQ(dialog.m_bTypeSys + dialog.m_bIncludeSubdirectories, 0);
    });
}

TEST_F(MainDialogTest, DoubleClickEntersDirectoriesInBothModes)
{
    TempTree tree;
    tree.File("sub/inner.exe");
    tree.File("sub/inner.txt");
    tree.Dir("sub/deeper");
    Run([&](HWND window) {
        ListDirectoryContentsForTest(window, tree.Root());
        const std::string root = Label(window);

        DoubleClickListEntry(window, IDC_DIRECTORY_CONTENTS, FindListEntry(window, IDC_DIRECTORY_CONTENTS, "[sub]"));
        EXPECT_EQ(Lower(Label(window)), Lower(tree.PathOf("sub")));
        EXPECT_EQ(Contents(window), (Texts{"inner.exe", "[..]", "[deeper]"}));

        DoubleClickListEntry(window, IDC_DIRECTORY_CONTENTS, FindListEntry(window, IDC_DIRECTORY_CONTENTS, "[..]"));
        EXPECT_EQ(Label(window), root);

        ChooseComboEntry(window, IDC_FILE_FILTER, 1);
        DoubleClickListEntry(window, IDC_DIRECTORY_CONTENTS, FindListEntry(window, IDC_DIRECTORY_CONTENTS, "[sub]"));
        EXPECT_EQ(Contents(window), (Texts{"inner.exe", "inner.txt", "[..]", "[deeper]"}));

        // A file's entry enters nothing and shows no message.
        ScriptedUser user;
        const std::string inside = Label(window);
        DoubleClickListEntry(window, IDC_DIRECTORY_CONTENTS,
                             FindListEntry(window, IDC_DIRECTORY_CONTENTS, "inner.txt"));
        EXPECT_EQ(Lower(CurrentDirectoryForTest()), Lower(tree.PathOf("sub")));
        EXPECT_TRUE(user.boxes().empty());
    });
}

TEST_F(MainDialogTest, DriveChangeListsTheRootOfTheDrive)
{
    Run([&](HWND window) {
        const std::string system = SystemRoot();
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        ListDirectoryContentsForTest(window, windows);

        ComboBox drives(GetDlgItem(window, IDC_DRIVE));
        const int here = drives.CurrentSelection();
        const int other = FindComboEntryForTest(window, IDC_DRIVE, "[-z-]");
        ASSERT_GE(other, 0);
        ChooseComboEntry(window, IDC_DRIVE, other);
        EXPECT_EQ(Lower(Label(window)), "z:\\");
        EXPECT_EQ(dialog.m_strDrive, "[-z-]");
        ChooseComboEntry(window, IDC_DRIVE, here);
        EXPECT_EQ(Lower(Label(window)), Lower(system));
        EXPECT_EQ(Lower(CurrentDirectoryForTest()), Lower(system));
    });
}

TEST_F(MainDialogTest, UnreadableDriveAsksToRetryUntilCancel)
{
    Run([&](HWND window) {
        // A drive letter that Wine maps to nothing cannot be made current.
        HWND combo = GetDlgItem(window, IDC_DRIVE);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[-q-]"));
        ScriptedUser user;
        user.Answer(IDRETRY);
        user.Answer(IDCANCEL);
        ChooseComboEntry(window, IDC_DRIVE, FindComboEntryForTest(window, IDC_DRIVE, "[-q-]"));
        ASSERT_EQ(user.boxes().size(), 2u);
        for (const ShownBox& box : user.boxes()) {
            EXPECT_EQ(box.text, "Error reading drive: q:");
            EXPECT_EQ(box.type, UINT(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
        }
        EXPECT_EQ(dialog.m_strDrive, "[-q-]");
        EXPECT_EQ(WindowText(combo), "[-q-]");
    });
}

TEST_F(MainDialogTest, SystemCommandsSixteenToThirtyOneOpenAbout)
{
    Run([&](HWND window) {
        for (WPARAM command : {16u, 23u, 31u}) {
            std::string title, text;
            WhileModal(
                [&] {
                    SendMessageA(window, WM_SYSCOMMAND, command, 0);
                    return INT_PTR(0);
                },
                [&](HWND about) {
                    title = WindowText(about);
                    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
                    EndDialog(about, IDOK);
                });
            EXPECT_EQ(title, "About veltscan") << command;
        }
    });
}

TEST_F(MainDialogTest, ExitValidatesTheDriveTextAndEscEndsRegardless)
{
    bool stillOpen = false;
    const INT_PTR result = Run([&](HWND window) {
        SetWindowTextA(GetDlgItem(window, IDC_DRIVE), "abcdefghijkl");
        ScriptedUser user;
        Click(window, IDC_EXIT);
        stillOpen = IsWindow(window) && IsWindowVisible(window);
        ASSERT_EQ(user.boxes().size(), 1u);
        EXPECT_EQ(user.boxes()[0].text, "Please enter no more than 10 characters.");
        EXPECT_EQ(user.boxes()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        HWND focus = GetFocus();
        EXPECT_TRUE(focus == GetDlgItem(window, IDC_DRIVE) || GetParent(focus) == GetDlgItem(window, IDC_DRIVE));
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MainDialogTest, ExitEndsTheDialogWithOk)
{
    EXPECT_EQ(Run([&](HWND window) { Click(window, IDC_EXIT); }), IDOK);
}

bool g_helpStarts = true;
std::vector<std::pair<UINT, ULONG_PTR>> g_helpCalls;
std::string g_helpFile;

bool RecordHelp(HWND, const std::string& file, UINT command, ULONG_PTR data)
{
    g_helpFile = file;
    g_helpCalls.emplace_back(command, data);
    return g_helpStarts;
}

TEST_F(MainDialogTest, HelpOpensTheMainTopicAndQuitsOnClose)
{
    g_helpCalls.clear();
    g_helpStarts = true;
    HelpScript previous = SetHelpScript(&RecordHelp);
    Run([&](HWND window) {
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, ID_HELP)));
        Click(window, ID_HELP);
        g_helpStarts = false;
        ScriptedUser user;
        Click(window, ID_HELP);
        EXPECT_EQ(user.texts(), (Texts{"Failed to launch help."}));
    });
    SetHelpScript(previous);
    const std::vector<std::pair<UINT, ULONG_PTR>> expected = {
        {HELP_CONTEXT, 0x20066}, {HELP_CONTEXT, 0x20066}, {HELP_QUIT, 0}};
    EXPECT_EQ(g_helpCalls, expected);
    EXPECT_TRUE(g_helpFile.ends_with("win_tests.HLP")) << g_helpFile;
}

TEST_F(MainDialogTest, DialogSurfaceIsLightGreyAndListsKeepSystemColours)
{
    SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
    Run([&](HWND window) {
        HDC dc = GetDC(window);
        HWND label = GetDlgItem(window, IDC_CURRENT_DIRECTORY);
        const LRESULT brush = SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(label));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(GetBkColor(dc), RGB(192, 192, 192));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        LOGBRUSH info{};
        GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
        EXPECT_EQ(info.lbColor, RGB(192, 192, 192));
        const LRESULT listBrush = SendMessageA(window, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_DIRECTORY_CONTENTS)));
        EXPECT_NE(listBrush, brush);
        ReleaseDC(window, dc);
    });
}

}  // namespace
