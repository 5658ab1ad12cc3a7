// The box that ends a run.
#pragma once

#include <string>
#include <vector>

enum class MessageBoxKind { Plain, Information, Exclamation };

// The caption of the boxes that inform: the success summary and a link's message.
inline constexpr char kInformationCaption[] = "Informácie";

struct Summary {
    std::string text;
    std::string caption;
    MessageBoxKind kind = MessageBoxKind::Plain;
};

// The box that ends a run: success, or the heading and "\r\n<n>)  <message>" per conflict.
Summary SummaryOf(const std::vector<std::string>& conflicts);
