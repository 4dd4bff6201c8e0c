#include "app/ScanApp.h"

#include "app/ScanDialog.h"
#include "framework/Dialog.h"

int CScanApp::InitInstance()
{
    // The three-dimensional look of dialogs is the system's own drawing
    // today; there is nothing to request.
    EnableHelp();
    CScanDialog dialog;
    dialog.MakeMainWindow();
    SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
    dialog.DoModal();
    return 0;
}
