// The application object: starts the program and runs the main dialog.
#pragma once

class CScanApp {
public:
    // Runs the whole program; returns 0 once the main dialog has closed.
    int InitInstance();
};
