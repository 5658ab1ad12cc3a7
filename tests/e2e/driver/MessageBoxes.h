// The program's message boxes: the summary box, a label's "Informácie" box and the error box.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

class Session;

struct BoxFacts {
    std::wstring caption;
    std::wstring icon;  // see ClassifyBoxIcon, or "none" when the box has no icon
    std::wstring text;
};

// The open message box of the program, or null.
HWND FindBox(const Session& session);

// Waits until a message box is shown; throws on timeout or when the program ends first.
// The box is moved beside the dialog, so that it covers nothing the tests read from the screen.
HWND WaitForBox(const Session& session, DWORD timeoutMs);

BoxFacts ReadBox(const Session& session, HWND box);

// Presses the box's OK button and waits until the box is gone.
void CloseBox(const Session& session, HWND box);

}  // namespace uidriver
