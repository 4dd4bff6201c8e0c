#include "app/ScanApp.h"

#include <windows.h>

namespace {
CScanApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A drive that is not ready is reported to the program as a failure,
    // never by a box of the system's own.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return theApp.InitInstance();
}
