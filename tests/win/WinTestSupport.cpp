#include "tests/win/WinTestSupport.h"

#include "framework/MessageBox.h"

#include <gtest/gtest.h>

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
