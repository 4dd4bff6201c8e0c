#include "tests/win/WinTestSupport.h"

#include "framework/MessageBox.h"
#include "search/DirectoryListing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

int FirstButton(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return IDOK;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

}  // namespace

ScriptedUser::ScriptedUser()
{
    previous_ = SetMessageBoxScript([this](const std::string& text, const std::string& title, UINT type) {
        boxes_.push_back({text, title, type});
        if (onBox_)
            onBox_(boxes_.back());
        if (answers_.empty())
            return FirstButton(type);
        const int button = answers_.front();
        answers_.pop_front();
        return button;
    });
}

ScriptedUser::~ScriptedUser()
{
    SetMessageBoxScript(std::move(previous_));
}

std::vector<std::string> ScriptedUser::texts() const
{
    std::vector<std::string> out;
    for (const auto& box : boxes_)
        out.push_back(box.text);
    return out;
}

std::string Lower(std::string text)
{
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string CurrentDirectoryForTest()
{
    char buffer[MAX_PATH * 4];
    const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

void SetCurrentDirectoryForTest(const std::string& dir)
{
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str())) << dir;
}

KeepCurrentDirectory::KeepCurrentDirectory() : saved_(CurrentDirectoryForTest()) {}

KeepCurrentDirectory::~KeepCurrentDirectory()
{
    SetCurrentDirectoryA(saved_.c_str());
}

namespace {

// A body waiting for a new dialog. A modal dialog shows itself only once its
// message queue is empty, so the body waits until the dialog is visible.
struct PendingBody {
    std::function<void(HWND)> body;
    HWND before;
    int attemptsLeft;
};

std::vector<PendingBody>& PendingBodies()
{
    static std::vector<PendingBody> bodies;
    return bodies;
}

void CALLBACK RunPendingBody(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (PendingBodies().empty()) {
        KillTimer(nullptr, timer);
        return;
    }
    PendingBody& pending = PendingBodies().back();
    HWND dialog = TopDialog();
    if ((!dialog || dialog == pending.before) && --pending.attemptsLeft > 0)
        return;  // not up yet: the timer fires again
    KillTimer(nullptr, timer);
    PendingBody ready = std::move(pending);
    PendingBodies().pop_back();
    EXPECT_TRUE(dialog && dialog != ready.before) << "no new dialog came up";
    if (dialog && dialog != ready.before)
        ready.body(dialog);
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found)
{
    char cls[16];
    if (GetClassNameA(window, cls, sizeof cls) && std::string(cls) == "#32770" && IsWindowVisible(window) &&
        IsWindowEnabled(window))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

}  // namespace

HWND TopDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

INT_PTR WhileModal(const std::function<INT_PTR()>& open, const std::function<void(HWND)>& body)
{
    PendingBodies().push_back({body, TopDialog(), 400});
    SetTimer(nullptr, 0, 25, &RunPendingBody);
    return open();
}

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ChooseComboEntry(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void DoubleClickListEntry(HWND dialog, int id, int index)
{
    HWND list = GetDlgItem(dialog, id);
    SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

int FindListEntry(HWND dialog, int id, const std::string& text)
{
    return static_cast<int>(SendDlgItemMessageA(dialog, id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(text.c_str())));
}

void ListDirectoryContentsForTest(HWND dialog, const std::string& path)
{
    ListDirectoryContents(dialog, path);
}

int FindComboEntryForTest(HWND dialog, int id, const std::string& text)
{
    return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(text.c_str())));
}

namespace {
DialogUser* g_dialogUser = nullptr;
}

DialogUser::DialogUser() : ignore_(TopDialog())
{
    g_dialogUser = this;
    timer_ = SetTimer(nullptr, 0, 30, &DialogUser::Tick);
}

DialogUser::~DialogUser()
{
    KillTimer(nullptr, timer_);
    g_dialogUser = nullptr;
}

DialogUser& DialogUser::Then(std::function<void(HWND)> action)
{
    actions_.push_back(std::move(action));
    return *this;
}

void CALLBACK DialogUser::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    DialogUser* self = g_dialogUser;
    if (!self)
        return;
    HWND top = TopDialog();
    if (!top || top == self->ignore_)
        return;
    for (HWND done : self->handled_)
        if (done == top)
            return;
    self->handled_.push_back(top);
    ++self->seen_;
    if (self->actions_.empty()) {
        ++self->unexpected_;
        PostMessageA(top, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    auto action = std::move(self->actions_.front());
    self->actions_.pop_front();
    action(top);
}

void TypeAndPress(HWND dialog, int edit, const std::string& text, int button)
{
    SetWindowTextA(GetDlgItem(dialog, edit), text.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}
