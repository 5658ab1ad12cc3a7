#include "platform/SystemLibraryWin32.h"

#include <windows.h>

namespace platform {

std::string SystemDirectoryPath(const std::string& fileName) {
    char directory[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(directory, length) + "\\" + fileName;
}

UniqueLibrary LoadSystemLibrary(const std::string& fileName) {
    const std::string path = SystemDirectoryPath(fileName);
    if (path.empty()) return UniqueLibrary();
    // A full path is loaded from exactly there; the altered search order keeps the
    // library's own dependencies beside it as well.
    return UniqueLibrary(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

UniqueLibrary LoadLibraryAsData(const std::string& path) {
    return UniqueLibrary(::LoadLibraryExA(
        path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

}  // namespace platform
