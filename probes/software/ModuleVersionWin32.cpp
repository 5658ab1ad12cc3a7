#include "probes/software/ModuleVersionWin32.h"

#include <windows.h>
#include <shlwapi.h>

#include <type_traits>
#include <vector>

#include "platform/Path.h"
#include "platform/FileTrustWin32.h"
#include "platform/SystemLibraryWin32.h"
#include "platform/Text.h"
#include "platform/Win32Handles.h"

namespace {

platform::UniqueLibrary LoadForVersionExport(const std::string& fileName) {
    if (platform::IsBareName(fileName)) return platform::LoadSystemLibrary(fileName);
    return platform::LoadLibraryAtAbsolutePath(fileName);
}

std::string DirectoryFrom(UINT(WINAPI* query)(LPSTR, UINT)) {
    char directory[MAX_PATH] = {};
    const UINT length = query(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(directory, length);
}

}  // namespace

bool ModuleVersionSourceWin32::QueryDllGetVersion(const std::string& fileName,
                                                  ModuleVersion& version) const {
    const platform::UniqueLibrary library = LoadForVersionExport(fileName);
    const auto dllGetVersion = platform::LibraryFunction<std::remove_pointer_t<DLLGETVERSIONPROC>>(
        library.Get(), "DllGetVersion");
    if (dllGetVersion == nullptr) return false;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (FAILED(dllGetVersion(&info))) return false;
    version.major = static_cast<std::int32_t>(info.dwMajorVersion);
    version.minor = static_cast<std::int32_t>(info.dwMinorVersion);
    version.build = static_cast<std::int32_t>(info.dwBuildNumber);
    return true;
}

std::optional<std::string> ModuleVersionSourceWin32::QueryFileVersionString(
    const std::string& path) const {
    static const auto getSize = SYSTEM_FUNCTION("version.dll", GetFileVersionInfoSizeA);
    static const auto getInfo = SYSTEM_FUNCTION("version.dll", GetFileVersionInfoA);
    static const auto queryValue = SYSTEM_FUNCTION("version.dll", VerQueryValueA);
    if (getSize == nullptr || getInfo == nullptr || queryValue == nullptr) return std::nullopt;

    DWORD ignored = 0;
    const DWORD size = getSize(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> block(static_cast<std::size_t>(size) + 1);
    if (!getInfo(path.c_str(), 0, size, block.data())) return std::nullopt;

    void* translation = nullptr;
    UINT translationBytes = 0;
    if (!queryValue(block.data(), "\\VarFileInfo\\Translation", &translation, &translationBytes)) {
        translation = nullptr;
        translationBytes = 0;
    }
    const std::string subBlock = FileVersionSubBlock(static_cast<const unsigned char*>(translation),
                                                     translationBytes, ::GetUserDefaultLangID());

    void* value = nullptr;
    UINT valueLength = 0;
    if (!queryValue(block.data(), subBlock.c_str(), &value, &valueLength) || value == nullptr) {
        return std::nullopt;
    }
    return ClipVersionText(static_cast<const char*>(value), valueLength);
}

std::string ModuleVersionSourceWin32::WindowsDirectory() const {
    return DirectoryFrom(&::GetWindowsDirectoryA);
}

std::string ModuleVersionSourceWin32::SystemDirectory() const {
    return DirectoryFrom(&::GetSystemDirectoryA);
}

platform::PathFacts ModuleVersionSourceWin32::ReadPathFacts(const std::string& path) const {
    return platform::ReadPathFacts(path);
}
