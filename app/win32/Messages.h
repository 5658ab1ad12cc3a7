// The program's own window messages, numbered in one place so that no two share a number.
#pragma once

#include <windows.h>

// Posted by a run's thread to the dialog whenever items or the end are waiting to be taken.
constexpr UINT kRunProgressMessage = WM_APP + 1;

// Sent by the run's thread around the MAPI log-on: wParam TRUE enables and focuses the dialog,
// FALSE disables it.
constexpr UINT kOwnerEnabledMessage = WM_APP + 2;

// Sent by the dialog to a static control that may want to colour itself (a reflected
// WM_CTLCOLORSTATIC): wParam is the device context; a non-zero result is the brush to use.
constexpr UINT WM_REFLECTED_CTLCOLORSTATIC = WM_APP + 0x100;
