#include "app/win32/SilentRun.h"

#include "app/ExitCodes.h"

namespace {

// Every part of a run has its own deadline; this one only guards against the unforeseen, so
// that a silent run ends whatever happens.
constexpr DWORD kRunDeadlineMilliseconds = 15 * 60 * 1000;

}  // namespace

int RunSilently(BackgroundRun::Request request) {
    request.settings.silent = true;
    request.notify = nullptr;
    request.setOwnerEnabled = nullptr;
    BackgroundRun run(std::move(request));
    run.WaitUntilEnded(kRunDeadlineMilliseconds);
    const std::optional<RunEnd> end = run.TakeProgress().end;
    // It did not end: nothing was written, or what had begun completes as the run is dropped.
    if (!end) return kExitProtocolNotCreated;
    return ExitCodeOf(end->protocol == platform::FileWriteResult::Written, end->csvWritten,
                      end->report.conflicts.size());
}
