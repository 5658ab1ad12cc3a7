// Talking to the program's windows from outside: texts, clicks and synchronisation.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace uidriver {

// Sends `message` without waiting for the handler, which may open a modal box or run a
// whole test. The ticket tells later whether the handler has returned.
using SendTicket = std::size_t;
SendTicket SendWithoutWaiting(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Waits up to `timeoutMs` for the handler to return; false when it is still running.
bool WaitHandled(SendTicket ticket, DWORD timeoutMs);
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs);

// The window's text through WM_GETTEXT; throws when the window does not answer in time.
std::wstring ReadText(HWND window, DWORD timeoutMs);

// Returns once the window's thread has handled everything queued before this call.
void WaitUntilIdle(HWND window, DWORD timeoutMs);

// The window's rectangle on the screen.
RECT ScreenRect(HWND window);

}  // namespace uidriver
