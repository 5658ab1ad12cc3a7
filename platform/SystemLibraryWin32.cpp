#include "platform/SystemLibraryWin32.h"

#include "platform/Path.h"

namespace platform {
namespace {

// Since Windows 8, and on Vista and 7 with update KB2533623: the LOAD_LIBRARY_SEARCH_*
// flags and SetDefaultDllDirectories. Values as the SDK defines them, for older SDK headers.
constexpr DWORD kSearchDllLoadDir = 0x00000100;
constexpr DWORD kSearchUserDirs = 0x00000400;
constexpr DWORD kSearchSystem32 = 0x00000800;

// Newer than the headers of the oldest Windows the program runs on.
using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);
using AddDllDirectoryFunction = void* WINAPI(LPCWSTR);
using RemoveDllDirectoryFunction = BOOL WINAPI(void*);
using SetDllDirectoryFunction = BOOL WINAPI(LPCWSTR);

template <typename Function>
Function* KernelFunction(const char* name) {
    return LibraryFunction<Function>(::GetModuleHandleW(L"kernel32.dll"), name);
}

bool CanRestrictSearch() {
    static const bool available =
        KernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories") != nullptr;
    return available;
}

std::wstring SystemDirectoryPath(const std::string& fileName) {
    wchar_t directory[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(directory, length) + L"\\" + std::wstring(fileName.begin(), fileName.end());
}

}  // namespace

// No test shows the two restrictions below: under Wine the tests of planted libraries pass with
// or without them, so only a real Windows can tell. Keep them whatever the tests say.
void RestrictLibrarySearch() {
    if (const auto setDefault =
            KernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories")) {
        setDefault(kSearchSystem32);
    } else if (const auto setDirectory =
                   KernelFunction<SetDllDirectoryFunction>("SetDllDirectoryW")) {
        // Older systems: at least the current directory leaves the search.
        setDirectory(L"");
    }
}

UniqueLibrary LoadSystemLibrary(const std::string& fileName) {
    const std::wstring path = SystemDirectoryPath(fileName);
    if (path.empty()) return UniqueLibrary();
    // Without the search flags, the altered search order still takes the library's own
    // dependencies from the system directory first.
    return UniqueLibrary(
        ::LoadLibraryExW(path.c_str(), nullptr,
                         CanRestrictSearch() ? kSearchSystem32 : LOAD_WITH_ALTERED_SEARCH_PATH));
}

UniqueLibrary LoadLibraryAtAbsolutePath(const std::string& path) {
    if (!platform::IsLocalAbsolutePath(path)) return UniqueLibrary();
    return UniqueLibrary(::LoadLibraryExA(
        path.c_str(), nullptr,
        CanRestrictSearch() ? kSearchDllLoadDir | kSearchSystem32 : LOAD_WITH_ALTERED_SEARCH_PATH));
}

LibraryDirectoryScope::LibraryDirectoryScope(const std::string& folder) {
    // The registry holds the folder in the system's ANSI code page.
    const int length = ::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
    if (length <= 1) return;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(), length);
    const auto add = KernelFunction<AddDllDirectoryFunction>("AddDllDirectory");
    const auto setDefault =
        KernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (add != nullptr && setDefault != nullptr &&
        KernelFunction<RemoveDllDirectoryFunction>("RemoveDllDirectory") != nullptr) {
        m_pCookie = add(wide.c_str());
        if (m_pCookie != nullptr) setDefault(kSearchSystem32 | kSearchUserDirs);
    } else if (const auto setDirectory =
                   KernelFunction<SetDllDirectoryFunction>("SetDllDirectoryW")) {
        m_bDirectorySet = setDirectory(wide.c_str()) != FALSE;
    }
}

LibraryDirectoryScope::~LibraryDirectoryScope() {
    // Back to what RestrictLibrarySearch left.
    if (m_pCookie != nullptr) {
        KernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories")(
            kSearchSystem32);
        KernelFunction<RemoveDllDirectoryFunction>("RemoveDllDirectory")(m_pCookie);
    } else if (m_bDirectorySet) {
        KernelFunction<SetDllDirectoryFunction>("SetDllDirectoryW")(L"");
    }
}

UniqueLibrary LoadLibraryAsData(const std::string& path) {
    return UniqueLibrary(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

HMODULE KeptSystemLibrary(const char* fileName) {
    // Deliberately never freed; each load only counts up the one module.
    return LoadSystemLibrary(fileName).Release();
}

}  // namespace platform
