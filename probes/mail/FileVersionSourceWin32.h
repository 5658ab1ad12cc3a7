// File versions on the real platform, read with ModuleVersion.
#pragma once

#include "probes/mail/FileVersionSource.h"

class ModuleVersionSource final : public FileVersionSource {
public:
    FileVersion Read(const std::string& fileName) const override;
};
