#include "app/win32/ReportRun.h"

#include <windows.h>

#include <algorithm>

#include "app/ExitCodes.h"
#include "app/Fleet.h"
#include "app/ReportPage.h"
#include "platform/EncodingWin32.h"
#include "platform/FileWin32.h"
#include "platform/Text.h"
#include "platform/Win32Handles.h"
#include "probes/PcWin32.h"

namespace {

// Far more than the rows of every PC of an organisation; a larger file is not one of ours.
constexpr LONGLONG kMaxSourceBytes = 256LL * 1024 * 1024;

bool HasCsvExtension(const std::wstring& name) {
    if (name.size() < 4) return false;
    std::wstring extension = name.substr(name.size() - 4);
    for (wchar_t& c : extension) c = platform::AsciiLower(c);
    return extension == L".csv";
}

// A path and its attributes as the folder listed them.
using FoundFile = std::pair<std::wstring, DWORD>;

// The folder's *.csv files by name, so that the rows are read in the same order every time.
std::vector<FoundFile> CsvFilesIn(const std::wstring& folder) {
    const std::wstring prefix = platform::WithSeparator(folder);
    std::vector<FoundFile> files;
    WIN32_FIND_DATAW found = {};
    const HANDLE search = ::FindFirstFileW((prefix + L"*.csv").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        // The pattern also matches short names, so "*.csvx" would come too.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            HasCsvExtension(found.cFileName)) {
            files.emplace_back(prefix + found.cFileName, found.dwFileAttributes);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

// The file's bytes as data; others may go on writing it meanwhile. A link that a user put into
// the drop folder could show the admin's report, and whoever it is mailed to, a file that the
// user may not read: it is not followed, and one put there after the listing is opened as itself.
void ReadSource(const std::wstring& path, DWORD attributes, FleetReader& fleet) {
    const std::string name = platform::Utf8FromWide(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        fleet.NotRead(name, "odkaz na iný súbor sa nečíta");
        return;
    }
    platform::UniqueFileHandle file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size)) {
        fleet.NotRead(name, "súbor sa nedá otvoriť");
        return;
    }
    if (size.QuadPart > kMaxSourceBytes) {
        fleet.NotRead(name, "súbor je väčší ako 256 MB");
        return;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))) {
        fleet.NotRead(name, "súbor sa nedá prečítať");
        return;
    }
    bytes.resize(read);
    fleet.Add(name, bytes);
}

// With administrator rights a write through a user's link could change any file.
bool Write(const std::wstring& path, const std::string& bytes, bool elevated) {
    return path.empty() || platform::WriteFileByReplacement(path, bytes, elevated) ==
                               platform::FileWriteResult::Written;
}

}  // namespace

int ReportOnFleet(const std::vector<std::wstring>& sources, const std::wstring& htmlPath,
                  const std::wstring& csvPath) {
    FleetReader reader;
    for (const std::wstring& source : sources) {
        const DWORD attributes = ::GetFileAttributesW(source.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            for (const auto& [file, found] : CsvFilesIn(source)) ReadSource(file, found, reader);
        } else {
            ReadSource(source, attributes, reader);
        }
    }
    const Fleet fleet = reader.Take();
    if (fleet.rows.empty()) return kExitNoReadableRow;
    PcWin32 pc;
    const bool elevated = IsUserInAdministrators(pc);
    const bool written =
        Write(htmlPath, ReportPage(fleet), elevated) && Write(csvPath, MergedCsv(fleet), elevated);
    return written ? kExitPassed : kExitCsvNotWritten;
}
