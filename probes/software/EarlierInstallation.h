// The registry trace that an installed or removed Tarnvik client leaves behind.
#pragma once

#include <string>

#include "platform/Registry.h"

// Replaces `text` with the finding; true when no trace of a client was found: no
// HKLM "SOFTWARE\Devadozededa" value "Root", or an empty one.
bool CheckEarlierInstallation(const platform::RegistryReader& registry, std::string& text);
