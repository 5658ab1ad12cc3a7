#include "app/win32/AnalyzerApp.h"

#include <commctrl.h>

#include "app/win32/AnalyzerDlg.h"

CAnalyzerApp theApp;

BOOL CAnalyzerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    CAnalyzerDlg dialog;
    dialog.DoModal();
    return FALSE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    theApp.InitInstance();
    return 0;
}
