// String tables of libraries on the real platform, read with the library mapped as data.
#pragma once

#include "probes/mail/StringTableSource.h"

class DataFileStringTable final : public StringTableSource {
public:
    std::string ReadString(const std::string& libraryName, unsigned id,
                           std::size_t maxChars) const override;
};
