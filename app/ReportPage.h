// The fleet on one page: how many PCs are ready, what stops the others and which rows could not
// be read. The page stands alone (no script and nothing loaded from elsewhere), so that it opens
// from a share or a mail attachment.
#pragma once

#include <string>

#include "app/Fleet.h"

// `text` (UTF-8) with & < > " ' written as character references: the cells hold texts that an
// ordinary user of a PC can choose, such as its services' names.
std::string EscapeHtml(const std::string& text);

// The page in Slovak, UTF-8.
std::string ReportPage(const Fleet& fleet);
