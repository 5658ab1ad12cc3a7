// The machine type a module was built for, read from the PE header at the start of its file:
// MAPI runs inside the program, so MS Outlook's library must match the program's build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Machine types of PE headers.
inline constexpr std::uint16_t kMachineX86 = 0x014C;
inline constexpr std::uint16_t kMachineX64 = 0x8664;

// The machine type in the PE header at the start of a module file; empty when the bytes hold
// no PE header.
std::optional<std::uint16_t> PeMachineType(const std::vector<std::uint8_t>& fileStart);
