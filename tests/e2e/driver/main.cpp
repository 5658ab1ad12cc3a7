// uidriver: drives the Tarnvik Analyzér dialog from outside, the way a user would, and prints
// what it sees. Usage: uidriver.exe <command> [arguments] <command> [arguments] ...
// Commands run in order; the first failure prints "error=<why>", ends a program the driver
// started, and makes the driver exit with 1.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "tests/e2e/driver/Commands.h"
#include "tests/e2e/driver/Output.h"
#include "tests/e2e/driver/Session.h"

namespace {

void PrintUsage() {
    for (const uidriver::Command& command : uidriver::AllCommands())
        uidriver::Report(L"usage", std::wstring(command.name) +
                                       (command.usage[0] == L':' ? L"" : L" ") + command.usage);
}

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    LPWSTR* raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; raw != nullptr && i < count; ++i) arguments.emplace_back(raw[i]);
    ::LocalFree(raw);
    return arguments;
}

int Run(uidriver::Session& session, const std::vector<std::wstring>& arguments) {
    for (std::size_t i = 0; i < arguments.size();) {
        const uidriver::Command* command = uidriver::FindCommand(arguments[i]);
        if (!command) throw uidriver::DriverError(L"unknown command " + arguments[i]);
        if (i + 1 + command->argumentCount > arguments.size())
            throw uidriver::DriverError(L"missing arguments: " + arguments[i] + L" " +
                                        command->usage);
        const uidriver::Arguments commandArguments(
            arguments.begin() + static_cast<std::ptrdiff_t>(i + 1),
            arguments.begin() + static_cast<std::ptrdiff_t>(i + 1 + command->argumentCount));
        command->run(session, commandArguments);
        i += 1 + command->argumentCount;
    }
    uidriver::Report(L"done", 1);
    return 0;
}

}  // namespace

int main() {
    const std::vector<std::wstring> arguments = CommandLineArguments();
    if (arguments.empty()) {
        PrintUsage();
        return 2;
    }
    uidriver::Session session;
    try {
        return Run(session, arguments);
    } catch (const uidriver::DriverError& error) {
        uidriver::Report(L"error", error.Message());
    } catch (const std::exception& error) {
        uidriver::Report(L"error", uidriver::WideFromUtf8(error.what()));
    }
    // Never leave a started program behind when the driver gives up.
    session.TerminateLaunched();
    return 1;
}
