// Helpers of the tests that run under Wine: a scripted user who answers the
// program's message boxes, and the current directory kept for a test.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string title;
    UINT type;
};

// Stands in for the message box while it lives: records every box and
// answers with the queued buttons, then with the box's first button.
class ScriptedUser {
public:
    ScriptedUser();
    ~ScriptedUser();

    void Answer(int button) { answers_.push_back(button); }
    // Called for each box before it is answered (to act between prompts).
    void OnBox(std::function<void(const ShownBox&)> action) { onBox_ = std::move(action); }

    const std::vector<ShownBox>& boxes() const { return boxes_; }
    std::vector<std::string> texts() const;

private:
    std::vector<ShownBox> boxes_;
    std::deque<int> answers_;
    std::function<void(const ShownBox&)> onBox_;
    std::function<int(const std::string&, const std::string&, UINT)> previous_;
};

// Restores the process's current directory when it goes.
class KeepCurrentDirectory {
public:
    KeepCurrentDirectory();
    ~KeepCurrentDirectory();

private:
    std::string saved_;
};

std::string CurrentDirectoryForTest();

// ANSI lower-casing, as the system does it.
std::string Lower(std::string text);

// A file's whole content.
std::string Slurp(const std::string& path);
void SetCurrentDirectoryForTest(const std::string& dir);

// Runs `body` on the newest modal dialog of this thread once `open` has
// brought it up (inside its modal loop), and returns what `open` returns.
// The body ends the dialog itself, or leaves it for `open`'s caller to end.
INT_PTR WhileModal(const std::function<INT_PTR()>& open, const std::function<void(HWND)>& body);

// The enabled, visible dialog of this thread that was created last: the one
// a user would be looking at.
HWND TopDialog();

// What a user's actions send.
void Click(HWND dialog, int id);
void ChooseComboEntry(HWND dialog, int id, int index);
void DoubleClickListEntry(HWND dialog, int id, int index);
int FindListEntry(HWND dialog, int id, const std::string& text);

// Lists a directory into the main dialog's list as the browser does.
void ListDirectoryContentsForTest(HWND dialog, const std::string& path);
int FindComboEntryForTest(HWND dialog, int id, const std::string& text);

// A user who deals with each new dialog as it comes up, in order: the first
// action for the first new dialog, and so on. Dialogs beyond the actions are
// cancelled, and counted.
class DialogUser {
public:
    DialogUser();
    ~DialogUser();
    DialogUser& Then(std::function<void(HWND)> action);
    int unexpected() const { return unexpected_; }
    int seen() const { return seen_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::deque<std::function<void(HWND)>> actions_;
    std::vector<HWND> handled_;
    HWND ignore_;
    UINT_PTR timer_;
    int unexpected_ = 0;
    int seen_ = 0;
};

// Types text into a dialog's edit field and presses a button.
void TypeAndPress(HWND dialog, int edit, const std::string& text, int button);
