// The window that owns the MAPI log-on: kept disabled while MAPI may show its own windows.
#pragma once

class MailOwnerWindow {
public:
    virtual ~MailOwnerWindow() = default;
    virtual void Disable() = 0;
    // Enables the window again and gives it the keyboard focus.
    virtual void EnableAndFocus() = 0;
};
