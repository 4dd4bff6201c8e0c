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
void SetCurrentDirectoryForTest(const std::string& dir);
