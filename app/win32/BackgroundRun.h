// A test run on a thread of its own, so that the window that started it keeps answering. The
// dialog and the unattended mode both start one: the dialog shows each item as it arrives,
// the unattended mode waits for the end.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/TestRun.h"
#include "platform/FileWin32.h"
#include "platform/Win32Handles.h"

// Posted to the notified window whenever items or the end are waiting to be taken.
constexpr UINT kRunProgressMessage = WM_APP + 1;

struct RunEnd {
    RunReport report;
    platform::FileWriteResult protocol = platform::FileWriteResult::Written;
    bool csvWritten = true;  // also when no CSV file was named
};

class BackgroundRun {
public:
    struct Request {
        RunSettings settings;
        std::wstring protocolPath;
        std::wstring csvPath;   // empty: no CSV row
        HWND notify = nullptr;  // told of progress; may be null
        // Disables the window that owns the MAPI log-on, and enables and focuses it again.
        std::function<void(bool)> setOwnerEnabled;
    };

    // Starts the run at once; its local time is now.
    explicit BackgroundRun(Request request);
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;
    // Cancels the run and gives it a moment to end; a run that does not is left to the
    // process's end.
    ~BackgroundRun();

    // The items judged since the last call, in run order.
    std::vector<std::pair<Item, ItemResult>> TakeItems();
    // The end of a run that completed; empty while it goes on, and for a cancelled run.
    std::optional<RunEnd> TakeEnd();
    // Stops the run before its next item and aborts its requests; nothing is written.
    void Cancel();
    // True once the run's thread has ended; waits at most `milliseconds`.
    bool WaitUntilEnded(DWORD milliseconds);

private:
    struct State;
    std::shared_ptr<State> m_state;
    platform::UniqueKernelHandle m_thread;
};
