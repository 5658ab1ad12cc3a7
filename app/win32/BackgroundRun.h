// A test run on a thread of its own, so that the window that started it keeps answering. The
// dialog and the silent mode both start one: the dialog shows each item as it arrives,
// the silent mode waits for the end.
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

struct RunEnd {
    RunReport report;
    // WriteFailed also for a run that failed on the way (the report is then empty).
    platform::FileWriteResult protocol = platform::FileWriteResult::Written;
    bool csvWritten = true;  // also when no CSV file was named
};

// What a run has to show since it was last asked, all of it taken at once.
struct RunProgress {
    std::vector<Item> waiting;                       // now waiting for the network
    std::vector<std::pair<Item, ItemResult>> items;  // judged
    std::optional<RunEnd> end;                       // the end of a run that completed
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
    // Cancels the run and waits for a write that has begun; a run that is not writing is left
    // to the process's end (platform::EndProcess).
    ~BackgroundRun();

    // Everything since the last call; the end only once every item has been taken with it.
    RunProgress TakeProgress();
    // A run cancelled before it began to write its files writes nothing: it stops before its
    // next item and its requests are aborted. One that has begun completes its writes (the CSV
    // row whole, or none when its file is busy). True while such a write is under way.
    bool Cancel();
    // True once the run's thread has ended; waits at most `milliseconds`.
    bool WaitUntilEnded(DWORD milliseconds);

private:
    struct State;
    std::shared_ptr<State> m_state;
    platform::UniqueKernelHandle m_thread;
};
