#include "platform/Path.h"

namespace platform {

bool IsBareName(const std::string& fileName) {
    return fileName.find_first_of("\\/:") == std::string::npos;
}

bool IsLocalAbsolutePath(const std::string& fileName) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return fileName.size() > 3 && letter(fileName[0]) && fileName[1] == ':' &&
           (fileName[2] == '\\' || fileName[2] == '/');
}

std::string FolderOf(const std::string& localAbsolutePath) {
    const std::size_t cut = localAbsolutePath.find_last_of("\\/");
    // The root keeps its separator: "C:" alone names the current folder of drive C.
    return localAbsolutePath.substr(0, cut == 2 ? 3 : cut);
}

}  // namespace platform
