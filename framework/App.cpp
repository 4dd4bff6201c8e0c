#include "framework/App.h"

namespace {

HWND g_mainWindow = nullptr;

std::string ModulePath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

const std::string& AppModulePath()
{
    static const std::string path = ModulePath();
    return path;
}

const std::string& AppName()
{
    static const std::string name = [] {
        const std::string& path = AppModulePath();
        const auto slash = path.find_last_of("\\/:");
        std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
        const auto dot = file.rfind('.');
        if (dot != std::string::npos)
            file.erase(dot);
        return file;
    }();
    return name;
}

std::string HelpFilePath()
{
    std::string path = AppModulePath();
    const auto slash = path.find_last_of("\\/:");
    const auto dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        path.erase(dot);
    return path + ".HLP";
}

HWND AppMainWindow()
{
    return g_mainWindow;
}

void SetAppMainWindow(HWND window)
{
    g_mainWindow = window;
}

HWND AppOwnerWindow()
{
    HWND active = GetActiveWindow();
    return active ? active : g_mainWindow;
}
