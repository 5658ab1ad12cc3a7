#include "platform/FileWin32.h"

#include <windows.h>

#include "platform/OutputPathWin32.h"
#include "platform/Win32Handles.h"

namespace platform {
namespace {

// Names already taken (left over, or put there by someone else) are skipped.
constexpr unsigned kNameAttempts = 100;

std::wstring HexDigits(DWORD value) {
    std::wstring digits(8, L'0');
    for (std::size_t at = digits.size(); at-- > 0; value >>= 4) {
        digits[at] = L"0123456789abcdef"[value & 0xF];
    }
    return digits;
}

// Opened by nobody else, and never through a link that already stands at the name. The name is
// short, so that a path that fits the file fits its new copy too.
UniqueFileHandle CreateNewBeside(const std::wstring& path, std::wstring& created) {
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    const DWORD seed = ::GetCurrentProcessId() ^ ::GetTickCount();
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        created = folder + L"~ta" + HexDigits(seed + attempt).substr(2) + L".tmp";
        UniqueFileHandle file(::CreateFileW(created.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                            nullptr));
        if (file ||
            (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)) {
            return file;
        }
    }
    return UniqueFileHandle();
}

}  // namespace

std::wstring WithSeparator(const std::wstring& folder) {
    const bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return separated ? folder : folder + L"\\";
}

bool WriteWholeAndFlush(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return bytes.size() <= MAXDWORD &&
           ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && ::FlushFileBuffers(file);
}

FileWriteResult WriteFileByReplacement(const std::wstring& path, const std::string& bytes,
                                       bool elevated) {
    if (elevated && !HasNoLinkOnPath(path)) return FileWriteResult::CannotCreate;
    std::wstring created;
    UniqueFileHandle file = CreateNewBeside(path, created);
    if (!file) return FileWriteResult::CannotCreate;
    if (elevated && !IsOpenedAsNamed(file.Get(), created)) {
        file.Reset();
        ::DeleteFileW(created.c_str());
        return FileWriteResult::CannotCreate;
    }
    const bool wrote = WriteWholeAndFlush(file.Get(), bytes);
    const bool closed = ::CloseHandle(file.Release()) != FALSE;
    if (wrote && closed &&
        ::MoveFileExW(created.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return FileWriteResult::Written;
    }
    ::DeleteFileW(created.c_str());
    return wrote && closed ? FileWriteResult::CannotCreate : FileWriteResult::WriteFailed;
}

}  // namespace platform
