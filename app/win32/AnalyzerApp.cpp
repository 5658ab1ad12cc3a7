#include "app/win32/AnalyzerApp.h"

#include <commctrl.h>

#include "app/win32/AnalyzerDlg.h"
#include "platform/SystemLibraryWin32.h"

CAnalyzerApp theApp;

BOOL CAnalyzerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    CAnalyzerDlg dialog;
    dialog.DoModal();
    return FALSE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: a copy planted in the download folder the program
    // was started from must never be found.
    platform::RestrictLibrarySearch();
    theApp.InitInstance();
    return 0;
}
