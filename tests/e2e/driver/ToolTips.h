// The dialog's tool-tip control, read from outside the program.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

class Session;

struct ToolTipSettings {
    LRESULT initialMs = 0;
    LRESULT autoPopMs = 0;
    LRESULT maxWidth = 0;
    LRESULT toolCount = 0;
};

struct ToolFacts {
    bool registered = false;
    std::wstring text;
};

// The tool-tip window of the dialog; throws when there is none.
HWND FindToolTip(const Session& session);

ToolTipSettings ReadToolTipSettings(const Session& session);

// Whether `control` is a tool of the dialog's tool-tip and the text it would show.
ToolFacts ReadTool(const Session& session, HWND control);

}  // namespace uidriver
