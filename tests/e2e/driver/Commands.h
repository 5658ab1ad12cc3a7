// The driver's commands: each reads or does one thing in the program, as a user would, and
// prints what it saw as "key=value" lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace uidriver {

class Session;

using Arguments = std::vector<std::wstring>;

struct Command {
    const wchar_t* name;
    std::size_t argumentCount;
    void (*run)(Session& session, const Arguments& arguments);
    const wchar_t* usage;
};

const std::vector<Command>& AllCommands();
const Command* FindCommand(const std::wstring& name);

}  // namespace uidriver
