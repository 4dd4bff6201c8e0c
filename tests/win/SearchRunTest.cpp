#include "app/ScanDialog.h"

#include "framework/Controls.h"
#include "present/Report.h"
#include "search/Scanner.h"
#include "tests/support/TempTree.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// A fixture made on the Unix side (see make-unix-fixtures), as a Windows path.
std::string UnixFixture(const std::string& relative = {})
{
    const char* root = std::getenv("VELTSCAN_UNIX_FIXTURES");
    if (!root)
        return {};
    std::string path = std::string(root) + (relative.empty() ? "" : "/" + relative);
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

class SearchRunTest : public testing::Test {
protected:
    struct Results {
        Texts left, right;
        Texts searched;  // the searched files, in order
    };

    // Opens the main dialog on `directory`, lets `prepare` act as the user,
    // presses OK and reads the results window.
    Results Search(const std::string& directory, const std::function<void(HWND)>& prepare)
    {
        Results results;
        WhileModal([this] { return dialog.DoModal(); },
                   [&](HWND window) {
                       main = window;
                       ListDirectoryContentsForTest(window, directory);
                       shown = WindowText(GetDlgItem(window, IDC_CURRENT_DIRECTORY));
                       prepare(window);
                       results = PressOk(window);
                       ExpectRestState(window);
                       PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                   });
        return results;
    }

    Results PressOk(HWND window)
    {
        Results results;
        WhileModal(
            [&] {
                SendMessageA(window, WM_COMMAND, IDOK, 0);
                return INT_PTR(0);
            },
            [&](HWND shown) {
                EXPECT_EQ(WindowText(shown), "Veltrix - Results");
                results.left = ListBox(GetDlgItem(shown, IDC_SEARCHED_FILE_LIST)).Texts();
                results.right = ListBox(GetDlgItem(shown, IDC_LIBRARY_LIST)).Texts();
                Click(shown, IDC_RESULTS_CLOSE);
            });
        bool entryNext = true;
        for (const std::string& row : results.left) {
            if (entryNext)
                results.searched.push_back(row);
            entryNext = row.empty();
        }
        return results;
    }

    // After every run: the title back, the walk list empty, the shown
    // directory current, no wait cursor.
    void ExpectRestState(HWND window)
    {
        EXPECT_EQ(WindowText(window), "Veltrix");
        EXPECT_EQ(ListBox(GetDlgItem(window, IDC_DIRECTORY_WORK_LIST)).Count(), 0);
        std::string shown = WindowText(GetDlgItem(window, IDC_CURRENT_DIRECTORY));
        std::string current = CurrentDirectoryForTest();
        if (shown.size() > 3 && shown.back() == '\\')
            shown.pop_back();
        EXPECT_EQ(Lower(current), Lower(shown));
        EXPECT_FALSE(IsWaitCursorOn());
    }

    static void AllFiles(HWND window) { ChooseComboEntry(window, IDC_FILE_FILTER, 1); }
    static void Select(HWND window, const std::string& entry)
    {
        const int index = FindListEntry(window, IDC_DIRECTORY_CONTENTS, entry);
        ASSERT_GE(index, 0) << entry;
        SendDlgItemMessageA(window, IDC_DIRECTORY_CONTENTS, LB_SETSEL, TRUE, index);
    }

    KeepCurrentDirectory keep;
    TempTree tree;
    CScanDialog dialog;
    HWND main = nullptr;
    std::string shown;  // the label after listing the start directory

    // The start directory as the run joins it with an entry name.
    std::string Start() const { return shown.ends_with('\\') ? shown : shown + "\\"; }
};

TEST_F(SearchRunTest, NoSelectionNoTypeTakesEveryFileButNoDirectory)
{
    tree.File("a.exe", "kernel32.dll");
    tree.File("notes");
    const std::string hidden = tree.File("hidden.dat");
    const std::string readOnly = tree.File("ro.bin");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    tree.Dir("sub");
    const Results results = Search(tree.Root(), AllFiles);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string r = Start();
    EXPECT_EQ(Lower(r), Lower(tree.Root() + "\\"));
    EXPECT_EQ(results.searched, (Texts{r + "a.exe", r + "hidden.dat", r + "notes", r + "ro.bin"}));
    EXPECT_EQ(results.right, (Texts{"kernel32.dll", "   " + r + "a.exe", ""}));
}

TEST_F(SearchRunTest, TypeFilterLooksForExtensionsAnywhereInTheName)
{
    for (const char* name : {"PROG.EXE", "TOOL.EXE.BAK", "LIB.DLL", "README", "PROG.DLL.EXE", "A.COMPANY.TXT"})
        tree.File(name);
    const Results onlyExe = Search(tree.Root(), [](HWND window) {
        AllFiles(window);
        Click(window, IDC_TYPE_EXE);
    });
    const std::string r = Start();
    EXPECT_EQ(onlyExe.searched, (Texts{r + "PROG.EXE", r + "TOOL.EXE.BAK"}));
    const Results onlyCom = Search(tree.Root(), [](HWND window) {
        AllFiles(window);
        Click(window, IDC_TYPE_COM);
    });
    EXPECT_EQ(onlyCom.searched, (Texts{r + "A.COMPANY.TXT"}));
}

TEST_F(SearchRunTest, SelectedEntriesAreScannedUnfilteredDirectoriesIncluded)
{
    tree.File("a.exe", "kernel32.dll");
    tree.File("b.txt");
    tree.File("c.exe");
    tree.Dir("sub");
    ScriptedUser user;
    std::string titleDuringRun;
    bool waitCursorDuringRun = false;
    user.OnBox([&](const ShownBox&) {
        titleDuringRun = WindowText(main);
        waitCursorDuringRun = IsWaitCursorOn();
    });
    const Results results = Search(tree.Root(), [](HWND window) {
        AllFiles(window);
        Select(window, "b.txt");
        Select(window, "[sub]");
        Select(window, "a.exe");
    });
    const std::string r = Start();
    EXPECT_EQ(results.searched, (Texts{r + "a.exe", r + "b.txt"}));
    EXPECT_EQ(user.texts(), (Texts{"Unable to open file: " + r + "[sub]"}));
    EXPECT_EQ(titleDuringRun, "Veltrix - running");
    EXPECT_TRUE(waitCursorDuringRun);
}

TEST_F(SearchRunTest, SubdirectoriesInPostOrderAfterTheSelection)
{
    tree.File("chosen.exe");
    tree.File("unchosen.exe");
    tree.File("D/A/A1/f.exe");
    tree.File("D/A/A2/f.exe");
    tree.File("D/A/f.exe");
    tree.File("D/B/f.exe");
    tree.File("D/B/skip.txt");
    tree.File("D/.hidden/f.exe");
    const Results results = Search(tree.Root(), [&](HWND window) {
        Select(window, "chosen.exe");
        Click(window, IDC_INCLUDE_SUBDIRECTORIES);
    });
    const std::string lower = Lower(tree.Root());
    EXPECT_EQ(results.searched, (Texts{Start() + "chosen.exe", lower + "\\d\\a\\a1\\f.exe",
                                       lower + "\\d\\a\\a2\\f.exe", lower + "\\d\\a\\f.exe",
                                       lower + "\\d\\b\\f.exe"}));
}

TEST_F(SearchRunTest, LibraryBesideOnlySomeFilesResolvesOnlyForThem)
{
    tree.File("top.exe", "only.dll");
    tree.File("sub/only.dll", "MZ");
    tree.File("sub/below.exe", "only.dll");
    const Results results = Search(tree.Root(), [](HWND window) {
        Click(window, IDC_TYPE_DLL);  // exe only
        Click(window, IDC_INCLUDE_SUBDIRECTORIES);
    });
    const std::string below = Lower(tree.Root()) + "\\sub\\below.exe";
    EXPECT_EQ(results.left, (Texts{Start() + "top.exe", "   No DLL found", "", below, "   only.dll", ""}));
}

TEST_F(SearchRunTest, DriveRootGivesSingleBackslashesAndLowerCaseDirectories)
{
    const char* drive = std::getenv("VELTSCAN_FIXTURE_DRIVE");
    if (!drive)
        GTEST_SKIP() << "run through ctest for the Unix-side fixtures";
    const std::string root = std::string(drive) + "\\";
    const Results flat = Search(root, AllFiles);
    EXPECT_EQ(flat.searched, (Texts{Lower(root) + "ROOT.EXE"}));
    const Results deep = Search(root, [](HWND window) {
        AllFiles(window);
        Click(window, IDC_INCLUDE_SUBDIRECTORIES);
    });
    const std::string r = Lower(root);
    EXPECT_EQ(deep.searched, (Texts{r + "ROOT.EXE", r + "sub\\deep\\d.exe", r + "sub\\Inner.exe"}));
}

TEST_F(SearchRunTest, LinkCycleAndFifoNeitherLoopNorHang)
{
    if (UnixFixture().empty())
        GTEST_SKIP() << "run through ctest for the Unix-side fixtures";
    ScriptedUser user;
    const Results results = Search(UnixFixture(), [](HWND window) {
        AllFiles(window);
        Select(window, "fifo");
        Click(window, IDC_INCLUDE_SUBDIRECTORIES);
    });
    EXPECT_EQ(user.texts(), (Texts{"Unable to open file: " + Start() + "fifo"}));
    const std::string lower = Lower(UnixFixture());
    EXPECT_EQ(results.searched, (Texts{lower + "\\drive\\sub\\deep\\d.exe", lower + "\\drive\\sub\\Inner.exe",
                                       lower + "\\drive\\ROOT.EXE", lower + "\\loop\\f.exe"}));
}

// Counts the repaints of one window while it lives.
class PaintCounter {
public:
    explicit PaintCounter(HWND window)
    {
        target_ = window;
        count_ = 0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    }
    ~PaintCounter() { UnhookWindowsHookEx(hook_); }
    int count() const { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(l);
        if (code == HC_ACTION && message->hwnd == target_ && message->message == WM_PAINT)
            ++count_;
        return CallNextHookEx(nullptr, code, w, l);
    }
    static inline HWND target_;
    static inline int count_;
    HHOOK hook_;
};

TEST_F(SearchRunTest, RepaintsAfterTheFirstAndEveryHundredthFile)
{
    for (int i = 0; i < 250; ++i)
        tree.File("f" + std::to_string(1000 + i) + ".exe");
    int repaints = -1;
    Search(tree.Root(), [&](HWND window) {
        UpdateWindow(window);
        PaintCounter counter(window);
        PressOk(window);
        repaints = counter.count();
    });
    EXPECT_EQ(repaints, 3);
}

TEST_F(SearchRunTest, OutputToFileWritesTheReportAndADiskFullRunLeavesTheDialogReady)
{
    tree.File("a.exe", "kernel32.dll");
    const std::string report = tree.PathOf("report.txt");
    WhileModal([this] { return dialog.DoModal(); },
               [&](HWND window) {
                   main = window;
                   ListDirectoryContentsForTest(window, tree.Root());
                   Click(window, IDC_OUTPUT_TO_FILE);
                   {
                       DialogUser user;
                       user.Then([&](HWND output) { TypeAndPress(output, IDC_OUTPUT_FILE_NAME, report, IDOK); });
                       SendMessageA(window, WM_COMMAND, IDOK, 0);
                       EXPECT_EQ(user.seen(), 1) << "no results window with a report";
                   }
                   ExpectRestState(window);
                   {
                       DialogUser user;
                       ScriptedUser prompts;
                       user.Then([&](HWND output) { TypeAndPress(output, IDC_OUTPUT_FILE_NAME, "Z:\\dev\\full", IDOK); });
                       prompts.Answer(IDYES);  // it exists: overwrite
                       SendMessageA(window, WM_COMMAND, IDOK, 0);
                       ASSERT_EQ(prompts.boxes().size(), 2u);
                       EXPECT_EQ(prompts.boxes()[1].text, "Disk full while accessing Z:\\dev\\full.");
                       EXPECT_EQ(prompts.boxes()[1].type, UINT(MB_OK | MB_ICONSTOP));
                   }
                   EXPECT_FALSE(ReportFile.IsOpen());
                   ExpectRestState(window);
                   // The next OK works as ever.
                   Click(window, IDC_OUTPUT_TO_FILE);
                   EXPECT_EQ(PressOk(window).searched, (Texts{Lower(tree.Root()) + "\\a.exe"}));
                   PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
               });
    const std::string written = Slurp(report);
    EXPECT_TRUE(written.starts_with("Searched files with the DLL's found on the system and referenced in them\r\n"));
    EXPECT_NE(Lower(written).find("\r\n" + Lower(tree.Root()) + "\\a.exe\r\n   kernel32.dll\r\n"), std::string::npos);
}

}  // namespace
