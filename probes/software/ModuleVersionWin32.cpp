#include "probes/software/ModuleVersionWin32.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "platform/SystemLibraryWin32.h"
#include "platform/Win32Handles.h"
#include "probes/software/ModuleVersion.h"

namespace module_version {
namespace {

platform::UniqueLibrary LoadForVersionExport(const std::string& fileName) {
    if (IsBareName(fileName)) return platform::LoadSystemLibrary(fileName);
    return platform::UniqueLibrary(
        ::LoadLibraryExA(fileName.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

std::string DirectoryFrom(UINT (WINAPI* query)(LPSTR, UINT)) {
    char directory[MAX_PATH] = {};
    const UINT length = query(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(directory, length);
}

}  // namespace

std::optional<DllVersion> VersionSourceWin32::QueryDllGetVersion(
    const std::string& fileName) const {
    const platform::UniqueLibrary library = LoadForVersionExport(fileName);
    if (!library) return std::nullopt;
    const FARPROC export_ = ::GetProcAddress(library.Get(), "DllGetVersion");
    if (export_ == nullptr) return std::nullopt;
    // Through the generic function type, which converts to any other without a warning.
    const auto dllGetVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(export_));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (FAILED(dllGetVersion(&info))) return std::nullopt;
    DllVersion version;
    version.major = static_cast<std::int32_t>(info.dwMajorVersion);
    version.minor = static_cast<std::int32_t>(info.dwMinorVersion);
    version.build = static_cast<std::int32_t>(info.dwBuildNumber);
    return version;
}

std::optional<std::string> VersionSourceWin32::QueryFileVersionString(
    const std::string& path) const {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> block(static_cast<std::size_t>(size) + 1);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;

    void* translation = nullptr;
    UINT translationBytes = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation,
                          &translationBytes)) {
        translation = nullptr;
        translationBytes = 0;
    }
    const std::string subBlock =
        FileVersionSubBlock(static_cast<const unsigned char*>(translation), translationBytes,
                            ::GetUserDefaultLangID());

    void* value = nullptr;
    UINT valueLength = 0;
    if (!::VerQueryValueA(block.data(), subBlock.c_str(), &value, &valueLength) ||
        value == nullptr) {
        return std::nullopt;
    }
    return ClipVersionText(static_cast<const char*>(value), valueLength);
}

std::string VersionSourceWin32::WindowsDirectory() const {
    return DirectoryFrom(&::GetWindowsDirectoryA);
}

std::string VersionSourceWin32::SystemDirectory() const {
    return DirectoryFrom(&::GetSystemDirectoryA);
}

}  // namespace module_version

ModuleVersion::ModuleVersion(const std::string& fileName)
    : ModuleVersion(module_version::VersionSourceWin32(), fileName) {}
