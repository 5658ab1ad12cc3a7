#include "platform/CsvFileWin32.h"

#include <windows.h>

#include <algorithm>

#include "platform/FileWin32.h"
#include "platform/OutputPathWin32.h"
#include "platform/SharedCsv.h"
#include "platform/Win32Handles.h"

namespace platform {
namespace {

constexpr DWORD kRetryMilliseconds = 250;

bool IsBusy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// No sharing: while this PC writes, every other writer gets a sharing violation and waits.
// A link is opened as itself, not followed, so that it can be refused.
UniqueFileHandle OpenExclusively(const std::wstring& path, std::chrono::milliseconds busyWait,
                                 HANDLE stop) {
    const DWORD start = ::GetTickCount();
    const auto waitLimit = static_cast<DWORD>(
        std::clamp<std::chrono::milliseconds::rep>(busyWait.count(), 0, MAXDWORD));
    for (;;) {
        UniqueFileHandle file(
            ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file || !IsBusy(::GetLastError())) return file;
        // Unsigned difference: right across the tick count's wrap after 49.7 days.
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= waitLimit) return file;
        const DWORD pause = std::min(kRetryMilliseconds, waitLimit - waited);
        if (stop == nullptr) {
            ::Sleep(pause);
        } else if (::WaitForSingleObject(stop, pause) != WAIT_TIMEOUT) {
            return file;
        }
    }
}

// Through a symbolic link, a junction or a second hard link the row would land in another file,
// perhaps one that the writing account (often SYSTEM) may change and whoever made the link may not.
bool IsPlainFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(file, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && info.nNumberOfLinks <= 1;
}

// Up to `length` bytes from `offset`; empty when they cannot be read.
std::string ReadAt(HANDLE file, LONGLONG offset, DWORD length) {
    std::string bytes(length, '\0');
    LARGE_INTEGER at = {};
    at.QuadPart = offset;
    DWORD read = 0;
    if (!::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
        !::ReadFile(file, bytes.data(), length, &read, nullptr)) {
        return std::string();
    }
    bytes.resize(read);
    return bytes;
}

}  // namespace

bool AppendCsvRow(const std::wstring& path, const std::string& headerLine,
                  const std::string& rowLine, bool elevated, std::chrono::milliseconds busyWait,
                  HANDLE stop) {
    if (elevated && !HasNoLinkOnPath(path)) return false;
    UniqueFileHandle file = OpenExclusively(path, busyWait, stop);
    LARGE_INTEGER size = {};
    if (!file || !IsPlainFile(file.Get()) || (elevated && !IsOpenedAsNamed(file.Get(), path)) ||
        !::GetFileSizeEx(file.Get(), &size)) {
        return false;
    }
    const auto startLength = static_cast<DWORD>(headerLine.size() + sizeof(kUtf8Bom));
    const std::string start = ReadAt(file.Get(), 0, startLength);
    if (start.empty() && size.QuadPart > 0) return false;
    const std::string bytes = SharedCsvAppendix(
        start, size.QuadPart >= 2 ? ReadAt(file.Get(), size.QuadPart - 2, 2) : std::string(),
        headerLine, rowLine);
    if (bytes.empty()) return false;  // another header: the file stays as it is
    if (!::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN)) return false;
    if (!WriteWholeAndFlush(file.Get(), bytes)) {
        // Cut off what part of the row reached the file, so no half row stays for the next.
        ::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN);
        ::SetEndOfFile(file.Get());
        return false;
    }
    return ::CloseHandle(file.Release()) != FALSE;
}

bool IsDropFolder(const std::wstring& path) {
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) return true;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteDropFile(const std::wstring& folder, const std::wstring& fileName,
                   const std::string& headerLine, const std::string& rowLine, bool elevated) {
    if (fileName.empty()) return false;
    return WriteFileByReplacement(WithSeparator(folder) + fileName, kUtf8Bom + headerLine + rowLine,
                                  elevated) == FileWriteResult::Written;
}

}  // namespace platform
