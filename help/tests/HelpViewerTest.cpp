// Opens the built help file the way the main dialog's Help button does
// (WinHelpA with HELP_CONTEXT 0x20066) and reads the help viewer's window
// back: its caption and the text of the topic it shows. Then clicks a jump
// and checks that the viewer follows it to the Results window topic.
//
// Usage: help_viewer_tests <path of VELTSCAN.HLP>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_helpFile;

constexpr DWORD MainDialogHelp = 0x20066;

struct Viewer {
    HWND frame = nullptr;
    HWND text = nullptr;
};

BOOL CALLBACK FindRichEdit(HWND child, LPARAM found)
{
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (_strnicmp(cls, "RichEdit", 8) == 0) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindViewer(HWND top, LPARAM found)
{
    auto* viewer = reinterpret_cast<Viewer*>(found);
    if (!IsWindowVisible(top))
        return TRUE;
    HWND text = nullptr;
    EnumChildWindows(top, FindRichEdit, reinterpret_cast<LPARAM>(&text));
    if (text) {
        viewer->frame = top;
        viewer->text = text;
        return FALSE;
    }
    return TRUE;
}

std::string WindowText(HWND w)
{
    const LRESULT n = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT got = SendMessageA(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(got));
    return s;
}

// Waits for the viewer to show text that starts with `heading`; the viewer
// is another process, so this polls. Returns the viewer (empty when it never
// came) and the text last seen.
Viewer WaitForTopic(const std::string& heading, std::string& seen)
{
    for (int attempt = 0; attempt < 300; ++attempt) {
        Viewer v;
        EnumWindows(FindViewer, reinterpret_cast<LPARAM>(&v));
        if (v.text) {
            seen = WindowText(v.text);
            if (seen.rfind(heading, 0) == 0)
                return v;
        }
        Sleep(100);
    }
    return {};
}

class HelpViewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(g_helpFile.empty()) << "pass the help file's path";
        char full[MAX_PATH];
        ASSERT_NE(GetFullPathNameA(g_helpFile.c_str(), MAX_PATH, full, nullptr), 0u);
        path_ = full;
        ASSERT_NE(GetFileAttributesA(full), INVALID_FILE_ATTRIBUTES) << full;
    }
    void TearDown() override { WinHelpA(nullptr, path_.c_str(), HELP_QUIT, 0); }

    // WinHelpA starts the viewer and hands it the request; the viewer may
    // not be ready for the first one.
    void OpenAtMainDialog()
    {
        BOOL sent = FALSE;
        for (int attempt = 0; attempt < 5 && !sent; ++attempt)
            sent = WinHelpA(nullptr, path_.c_str(), HELP_CONTEXT, MainDialogHelp);
        ASSERT_TRUE(sent);
    }

    std::string path_;
};

TEST_F(HelpViewer, OpensTheMainTopicAtTheMainDialogsContext)
{
    OpenAtMainDialog();
    std::string text;
    const Viewer v = WaitForTopic("Veltrix\r\n", text);
    ASSERT_TRUE(v.frame) << "no viewer window showing the main topic; last text: " << text;

    EXPECT_EQ(WindowText(v.frame), "Veltrix Help");
    for (const char* phrase : {"Choosing the files", "drive box", "Include sub-directories in the search path",
                               "Output to file", "Results window", "report file"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase << " not in:\n" << text;
}

TEST_F(HelpViewer, FollowsAJumpToTheResultsWindowTopic)
{
    OpenAtMainDialog();
    std::string text;
    const Viewer v = WaitForTopic("Veltrix\r\n", text);
    ASSERT_TRUE(v.frame) << text;

    // The jump's first character: the control counts a paragraph end as one
    // character where the text it hands out has CR LF.
    const std::string shown = "Results window";
    const auto at = text.find(shown);
    ASSERT_NE(at, std::string::npos);
    std::size_t index = at;
    for (std::size_t i = 0; i < at; ++i)
        if (text[i] == '\n')
            --index;
    const LRESULT pos = SendMessageA(v.text, EM_POSFROMCHAR, index + 2, 0);
    ASSERT_NE(pos, -1);
    const LPARAM point = MAKELPARAM(LOWORD(pos) + 2, HIWORD(pos) + 4);
    PostMessageA(v.text, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(v.text, WM_LBUTTONUP, 0, point);

    std::string after;
    const Viewer jumped = WaitForTopic("The Results window\r\n", after);
    ASSERT_TRUE(jumped.frame) << "the jump did not lead to the Results window topic; shown:\n" << after;
    EXPECT_NE(after.find("No DLL found"), std::string::npos) << after;
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_helpFile = argv[1];
    return RUN_ALL_TESTS();
}
