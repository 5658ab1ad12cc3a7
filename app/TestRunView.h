// What the test run needs from the main dialog. CAnalyzerDlg implements it on Windows;
// unit tests implement it with a recorder.
#pragma once

#include <optional>
#include <string>

#include "app/Items.h"

enum class MessageBoxKind { Plain, Information, Exclamation };

enum class ProtocolWriteResult {
    Written,
    CannotCreate,  // the file could not be opened for writing
    WriteFailed,   // opened, but writing, flushing or closing failed
};

struct CalendarTime {
    int day = 0;
    int month = 0;  // 1 to 12
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class TestRunView {
public:
    virtual ~TestRunView() = default;

    virtual std::string GetCaption() const = 0;
    // Local time at the start of the run; empty when the conversion failed.
    virtual std::optional<CalendarTime> GetLocalTime() const = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Field texts are kept by the dialog and reach the controls on Refresh().
    virtual void SetFieldText(Item item, const std::string& text) = 0;
    virtual void SetProtocolNote(const std::string& text) = 0;
    virtual void Refresh() = 0;
    virtual void Redraw() = 0;

    virtual void ShowStatusImage(Item item, bool pass) = 0;
    // The label's message and its tool tip; an empty message makes it a plain label again.
    virtual void SetLabelMessage(Item item, const std::string& message) = 0;
    // The protocol note takes a message (its click box) but never a tool tip.
    virtual void SetProtocolNoteMessage(const std::string& message) = 0;

    // Which installation type radio is checked right now.
    virtual bool IsExchangeChecked() const = 0;
    virtual bool IsLotusChecked() const = 0;

    virtual std::string GetProtocolPath() const = 0;
    virtual ProtocolWriteResult WriteProtocolFile(const std::string& text) = 0;

    virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                                MessageBoxKind kind) = 0;
    // Ends the process; on Windows it does not return.
    virtual void ExitProcess(int exitCode) = 0;
};
