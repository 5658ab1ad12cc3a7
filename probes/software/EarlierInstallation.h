// The registry trace that an installed or removed Tarnvik client leaves behind.
#pragma once

#include <string>

#include "platform/Registry.h"

// The data of HKLM "SOFTWARE\Devadozededa" value "Root", or empty when the key or the value
// is missing or cannot be read.
std::string ReadClientRootPath(const platform::RegistryReader& registry);

// Replaces `text` with the finding; true when no trace of a client was found.
bool CheckEarlierInstallation(const platform::RegistryReader& registry, std::string& text);

// Windows build only: both registry views, as 32-bit installers write into their own.
std::string ReadClientRootPath();
bool CheckEarlierInstallation(std::string& text);
