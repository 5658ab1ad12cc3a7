// What one item's check showed: its field, its protocol text, its verdict and its message.
#pragma once

#include <string>

#include "app/Items.h"

struct ItemResult {
    std::string field;          // the text of the item's field; empty for the item without one
    std::string protocolValue;  // follows the item's protocol label
    Verdict verdict = Verdict::None;
    std::string message;  // the label's message: the conflict message on failure, else empty
};
