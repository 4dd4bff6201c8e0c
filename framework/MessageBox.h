// Every message the program shows goes through AppMessageBox: the title is
// the application's name, and OK, OK/Cancel, Yes/No and Yes/No/Cancel boxes
// that are given no icon show the exclamation icon.
//
// Tests replace the real box with a script that records what would be shown
// and answers as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Shows text modally over the program's active window and returns the id of
// the button pressed (IDOK, IDYES, IDRETRY, ...).
int AppMessageBox(const std::string& text, UINT type = MB_OK);

// The box flags after the default icon rule.
UINT MessageBoxStyle(UINT type);

// A script that stands in for the system's message box; an empty function
// puts the real box back. Returns the script it replaces.
using MessageBoxScript =
    std::function<int(const std::string& text, const std::string& title, UINT type)>;
MessageBoxScript SetMessageBoxScript(MessageBoxScript script);
