// The application's identity: its name, which titles every message box, the
// module path, the help file beside it, and the main window that owns the
// program's message boxes and modal dialogs.
#pragma once

#include <windows.h>

#include <string>

// The executable file's name without directory and extension ("veltscan").
const std::string& AppName();

// The full path of the executable.
const std::string& AppModulePath();

// The executable's path with its extension replaced by ".HLP".
std::string HelpFilePath();

// The program's main window, once it has one; dialogs created without a
// parent and message boxes are owned by it.
HWND AppMainWindow();
void SetAppMainWindow(HWND window);

// The window a new modal box or dialog belongs to: the active window of this
// thread, else the main window.
HWND AppOwnerWindow();
