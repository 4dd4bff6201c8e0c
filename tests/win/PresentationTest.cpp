#include "present/Report.h"
#include "present/ResultsDialog.h"

#include "app/ScanDialog.h"
#include "framework/Controls.h"
#include "search/Scanner.h"
#include "tests/support/TableText.h"
#include "tests/support/TempTree.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

void FillRunTables()
{
    ResetReferenceTables();
    FillWorkedExample(TheReferenceTables());
}

const std::string kHeadings = "Searched files with the DLL's found on the system and referenced in them\r\n" +
                              std::string(72, '-') + "\r\n";
const std::string kSecondHeadings =
    "DLL's found on the system and searched files sharing them\r\n" + std::string(57, '-') + "\r\n";

TEST(WriteReport, WorkedExampleByteForByte)
{
    TempTree tree;
    const std::string path = tree.PathOf("report.txt");
    FillRunTables();
    ASSERT_TRUE(ReportFile.Open(path, TextFile::Mode::CreateWrite));
    WriteReport();
    const std::string expected = kHeadings +
                                 "c:\\work\\a.exe\r\n   kernel32.dll\r\n   user32.dll\r\n\r\n"
                                 "c:\\work\\b.dll\r\n   No DLL found\r\n\r\n"
                                 "c:\\work\\c.exe\r\n   kernel32.dll\r\n\r\n" +
                                 kSecondHeadings +
                                 "kernel32.dll\r\n   c:\\work\\a.exe\r\n   c:\\work\\c.exe\r\n\r\n"
                                 "user32.dll\r\n   c:\\work\\a.exe\r\n\r\n";
    const std::string written = Slurp(path);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.size(), 467u);
    EXPECT_FALSE(ReportFile.IsOpen());
    EXPECT_EQ(TheReferenceTables().SearchedFileTable().count(), 0);
}

TEST(WriteReport, EmptyTablesGiveTheFourLines)
{
    TempTree tree;
    const std::string path = tree.PathOf("empty.txt");
    ResetReferenceTables();
    ASSERT_TRUE(ReportFile.Open(path, TextFile::Mode::CreateWrite));
    WriteReport();
    EXPECT_EQ(Slurp(path), kHeadings + kSecondHeadings);
    EXPECT_EQ(Slurp(path).size(), 266u);
}

TEST(WriteReport, FullDiskClosesTheFileAndReleasesTheTables)
{
    FillRunTables();
    ASSERT_TRUE(ReportFile.Open("Z:\\dev\\full", TextFile::Mode::CreateWrite));
    try {
        WriteReport();
        ADD_FAILURE() << "a full disk went unnoticed";
    } catch (const FileException& e) {
        EXPECT_EQ(e.cause(), FileException::diskFull);
        EXPECT_EQ(e.Message(), "Disk full while accessing Z:\\dev\\full.");
    }
    EXPECT_FALSE(ReportFile.IsOpen());
    EXPECT_EQ(TheReferenceTables().SearchedFileTable().count(), 0);
}

class ObtainReportFileTest : public testing::Test {
protected:
    void TearDown() override { ReportFile.Abort(); }

    static std::function<void(HWND)> Name(const std::string& text)
    {
        return [text](HWND dialog) {
            EXPECT_EQ(WindowText(dialog), "Output file");
            EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OUTPUT_FILE_NAME)), "") << "the field opens empty";
            TypeAndPress(dialog, IDC_OUTPUT_FILE_NAME, text, IDOK);
        };
    }
    static void Cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }

    TempTree tree;
    CScanDialog main;
};

TEST_F(ObtainReportFileTest, CancelTouchesNothing)
{
    DialogUser user;
    user.Then(Cancel);
    EXPECT_FALSE(main.ObtainReportFile());
    EXPECT_EQ(user.seen(), 1);
    EXPECT_FALSE(ReportFile.IsOpen());
}

TEST_F(ObtainReportFileTest, NewFileIsCreatedWithoutAPrompt)
{
    const std::string path = tree.PathOf("new.txt");
    DialogUser user;
    user.Then(Name(path));
    ScriptedUser prompts;
    EXPECT_TRUE(main.ObtainReportFile());
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_TRUE(ReportFile.IsOpen());
    EXPECT_EQ(ReportFileName, path);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, true);
}

TEST_F(ObtainReportFileTest, ExistingFileAsksBeforeOverwriting)
{
    const std::string path = tree.File("old.txt", "keep me");
    DialogUser user;
    user.Then(Name(path)).Then(Name(path)).Then(Cancel);
    ScriptedUser prompts;
    prompts.Answer(IDNO);
    prompts.Answer(IDYES);
    // No: the dialog again, empty (checked by Name), the file untouched.
    prompts.OnBox([&](const ShownBox&) { EXPECT_EQ(Slurp(path), "keep me"); });
    EXPECT_TRUE(main.ObtainReportFile());
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_EQ(prompts.boxes()[0].text, "The file: " + path + " already exists.\nDo you want to overwrite it?");
    EXPECT_EQ(prompts.boxes()[0].type, UINT(MB_YESNO | MB_ICONEXCLAMATION));
    // Yes cuts the file to zero before any search.
    ReportFile.Abort();
    EXPECT_EQ(Slurp(path), "");
}

TEST_F(ObtainReportFileTest, EmptyNameAsksToRetryThenBackToTheDialog)
{
    DialogUser user;
    user.Then(Name("")).Then(Cancel);
    ScriptedUser prompts;
    prompts.Answer(IDRETRY);
    prompts.Answer(IDCANCEL);
    EXPECT_FALSE(main.ObtainReportFile());
    EXPECT_EQ(prompts.texts(), (Texts{"Unable to open file: ", "Unable to open file: "}));
    EXPECT_EQ(prompts.boxes()[0].type, UINT(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(user.seen(), 2);
}

TEST_F(ObtainReportFileTest, RetrySucceedsOnceTheFileIsReleased)
{
    const std::string path = tree.File("held.txt", "old");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DialogUser user;
    user.Then(Name(path));
    ScriptedUser prompts;
    // Held without sharing, it counts as absent: no overwrite question, the
    // create fails; the holder lets go before the user presses Retry.
    prompts.OnBox([&](const ShownBox&) { CloseHandle(held); });
    EXPECT_TRUE(main.ObtainReportFile());
    EXPECT_EQ(prompts.texts(), (Texts{"Unable to open file: " + path}));
    EXPECT_TRUE(ReportFile.IsOpen());
}

TEST(ResultsDialog, ShowsBothSectionsAndReleasesTheTables)
{
    FillRunTables();
    CResultsDialog results;
    Texts left, right;
    LONG_PTR leftStyle = 0;
    std::string title;
    WhileModal([&] { return results.DoModal(); },
               [&](HWND dialog) {
                   title = WindowText(dialog);
                   left = ListBox(GetDlgItem(dialog, IDC_SEARCHED_FILE_LIST)).Texts();
                   right = ListBox(GetDlgItem(dialog, IDC_LIBRARY_LIST)).Texts();
                   leftStyle = GetWindowLongPtrA(GetDlgItem(dialog, IDC_SEARCHED_FILE_LIST), GWL_STYLE);
                   EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_LIBRARY_LIST, LB_GETHORIZONTALEXTENT, 0, 0), 100000);
                   EXPECT_EQ(TheReferenceTables().SearchedFileTable().count(), 0) << "released before showing";
                   EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_RESULTS_CLOSE));
                   Click(dialog, IDC_RESULTS_CLOSE);
               });
    EXPECT_EQ(title, "Veltrix - Results");
    EXPECT_EQ(left, (Texts{"c:\\work\\a.exe", "   kernel32.dll", "   user32.dll", "", "c:\\work\\b.dll",
                           "   No DLL found", "", "c:\\work\\c.exe", "   kernel32.dll", ""}));
    EXPECT_EQ(right, (Texts{"kernel32.dll", "   c:\\work\\a.exe", "   c:\\work\\c.exe", "", "user32.dll",
                            "   c:\\work\\a.exe", ""}));
    EXPECT_TRUE(leftStyle & LBS_NOSEL);
    EXPECT_FALSE(leftStyle & LBS_SORT);
    EXPECT_TRUE(leftStyle & WS_HSCROLL);
    EXPECT_TRUE(leftStyle & WS_VSCROLL);
}

TEST(ResultsDialog, EveryWayOfClosingEndsItAlike)
{
    // Close button, Esc (IDCANCEL), the close box and Enter (IDOK).
    const std::function<void(HWND)> ways[] = {
        [](HWND d) { Click(d, IDC_RESULTS_CLOSE); },
        [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); },
        [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); },
    };
    for (const auto& way : ways) {
        ResetReferenceTables();
        CResultsDialog results;
        bool shown = false;
        WhileModal([&] { return results.DoModal(); },
                   [&](HWND dialog) {
                       shown = true;
                       way(dialog);
                   });
        EXPECT_TRUE(shown);
        EXPECT_EQ(TopDialog(), nullptr);
    }
}

}  // namespace
