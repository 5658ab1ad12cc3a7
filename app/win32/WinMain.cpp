// Start-up: the library search restricted, the command line read, then either the main
// dialog or, with /silent, one silent run. The process ends with the exit code they give.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/CommandLine.h"
#include "app/ExitCodes.h"
#include "app/Protocol.h"
#include "app/win32/AnalyzerDlg.h"
#include "app/win32/ReportRun.h"
#include "app/win32/SilentRun.h"
#include "platform/EncodingWin32.h"
#include "platform/SystemLibraryWin32.h"
#include "platform/ThreadWin32.h"
#include "res/resource.h"

namespace {

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

// A relative path is taken from the current folder now, so that the note shows where the
// file went (a scheduled task starts in the system folder).
std::wstring FullPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0 || length >= buffer.size()) return path;
    return std::wstring(buffer.data(), length);
}

void ShowUsage(const std::string& problem) {
    const std::string text = problem.empty() ? UsageText() : problem + "\r\n\r\n" + UsageText();
    ::MessageBoxW(nullptr, platform::WideFromProgramText(text).c_str(),
                  platform::WideFromProgramText(PROGRAM_CAPTION).c_str(),
                  MB_OK | (problem.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Windows' own boxes (a missing library's dependency, "no disk in drive" on a search path)
    // would wait for a person who may not be there: a failed call is reported instead.
    constexpr UINT kNoSystemBoxes = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    ::SetErrorMode(kNoSystemBoxes);
    // Before anything loads a library: a copy planted in the download folder the program
    // was started from must never be found.
    platform::RestrictLibrarySearch();

    const CommandLine command = ParseCommandLine(::GetCommandLineW());
    // Silent, even a crash is told by the exit code alone.
    if (command.silent) ::SetErrorMode(kNoSystemBoxes | SEM_NOGPFAULTERRORBOX);
    if (!command.Understood() || command.help) {
        if (!command.silent) ShowUsage(command.problem);
        return command.Understood() ? kExitPassed : kExitCommandLineNotUnderstood;
    }
    const auto fullPath = [](const std::wstring& path) {
        return path.empty() ? path : FullPath(path);
    };
    if (!command.reportSources.empty()) {
        std::vector<std::wstring> sources;
        for (const std::wstring& source : command.reportSources)
            sources.push_back(FullPath(source));
        return ReportOnFleet(sources, fullPath(command.htmlPath), fullPath(command.csvPath));
    }
    BackgroundRun::Request runs;
    runs.settings.caption = PROGRAM_CAPTION;
    runs.settings.installType = command.installType.value_or(kDefaultInstallType);
    runs.protocolPath = command.protocolPath.empty() ? ProtocolPathFor(ExecutablePath())
                                                     : FullPath(command.protocolPath);
    if (!command.csvPath.empty()) runs.csvPath = FullPath(command.csvPath);
    if (command.silent) platform::EndProcess(RunSilently(std::move(runs)));

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    int exitCode = 0;
    {
        CAnalyzerDlg dialog(std::move(runs));
        dialog.DoModal();
        exitCode = dialog.ExitCode();
    }  // a run still writing completes here
    platform::EndProcess(exitCode);
}
