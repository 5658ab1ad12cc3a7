// "mapi32.DLL" from the system directory, its entry points looked up by name.
#pragma once

#include "probes/mail/MapiLibrary.h"

class MapiLoaderWin32 final : public MapiLoader {
public:
    std::unique_ptr<MapiLibrary> Load() override;
};
