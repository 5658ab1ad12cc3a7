// The application object: starts the common controls, runs the main dialog modally and ends
// the process when it closes.
#pragma once

#include <windows.h>

class CAnalyzerApp {
public:
    CAnalyzerApp() = default;
    // Runs the program; returns FALSE because there is no message loop after the dialog.
    BOOL InitInstance();
};

extern CAnalyzerApp theApp;
