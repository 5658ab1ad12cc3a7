#include "platform/OutputPathWin32.h"

#include <vector>

#include "platform/SystemLibraryWin32.h"

namespace platform {
namespace {

// Newer than the headers of the oldest Windows the program runs on; both came with Vista.
using GetFinalPathNameByHandleFunction = DWORD WINAPI(HANDLE, LPWSTR, DWORD, DWORD);
using CompareStringOrdinalFunction = int WINAPI(LPCWSTR, int, LPCWSTR, int, BOOL);
constexpr DWORD kNormalizedDosName = 0;  // FILE_NAME_NORMALIZED | VOLUME_NAME_DOS
constexpr std::size_t kLongestPath = 32768;

const wchar_t kLongPrefix[] = L"\\\\?\\";

std::wstring WithoutLongPrefix(const std::wstring& path) {
    return path.compare(0, 4, kLongPrefix) == 0 ? path.substr(4) : path;
}

// "C:\..." on a drive that is not a share; what follows the root is checked name by name.
bool IsLocal(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/')) return false;
    return ::GetDriveTypeW(path.substr(0, 3).c_str()) != DRIVE_REMOTE;
}

template <typename Function>
Function* KernelFunction(const char* name) {
    return LibraryFunction<Function>(::GetModuleHandleW(L"kernel32.dll"), name);
}

// The long form of every name, as the final path shows them (a short "ADMINI~1" is the same file).
std::wstring LongPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(kLongestPath);
    const DWORD length =
        ::GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return length == 0 || length >= buffer.size() ? path : std::wstring(buffer.data(), length);
}

}  // namespace

bool HasNoLinkOnPath(const std::wstring& asked) {
    const std::wstring path = WithoutLongPrefix(asked);
    if (!IsLocal(path)) return true;
    for (std::size_t end = path.find_first_of(L"\\/", 3);;
         end = path.find_first_of(L"\\/", end + 1)) {
        const DWORD attributes = ::GetFileAttributesW(path.substr(0, end).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            return false;
        }
        if (end == std::wstring::npos) return true;
    }
}

bool IsOpenedAsNamed(HANDLE file, const std::wstring& asked) {
    static const auto finalPath =
        KernelFunction<GetFinalPathNameByHandleFunction>("GetFinalPathNameByHandleW");
    static const auto compare =
        KernelFunction<CompareStringOrdinalFunction>("CompareStringOrdinal");
    const std::wstring path = WithoutLongPrefix(asked);
    if (finalPath == nullptr || compare == nullptr || !IsLocal(path)) return true;
    std::vector<wchar_t> buffer(kLongestPath);
    const DWORD length =
        finalPath(file, buffer.data(), static_cast<DWORD>(buffer.size()), kNormalizedDosName);
    if (length == 0 || length >= buffer.size()) return false;
    const std::wstring opened = WithoutLongPrefix(std::wstring(buffer.data(), length));
    const std::wstring named = LongPath(path);
    // Names differ in case only where the asked path spells them otherwise; the file is the same.
    return compare(opened.c_str(), static_cast<int>(opened.size()), named.c_str(),
                   static_cast<int>(named.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace platform
