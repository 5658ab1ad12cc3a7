// Start-up: the library search restricted, the common controls, then the main dialog. The
// process ends when the dialog closes.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/Protocol.h"
#include "app/win32/AnalyzerDlg.h"
#include "platform/SystemLibraryWin32.h"

namespace {

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: a copy planted in the download folder the program
    // was started from must never be found.
    platform::RestrictLibrarySearch();
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    CAnalyzerDlg dialog(protocol::PathBesideExecutable(ExecutablePath()), InstallType::Exchange);
    dialog.DoModal();
    return dialog.ExitCode();
}
