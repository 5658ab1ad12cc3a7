#include "probes/software/ModuleVersion.h"

#include <limits>

#include "platform/Path.h"
#include "platform/Text.h"

namespace {

constexpr std::size_t kVersionBufferSize = 256;
constexpr std::size_t kClippedVersionLength = 250;

// Leading white space, an optional sign, then digits up to the first non-digit; 0 when
// there are none. Saturates instead of overflowing on absurdly long digit runs.
std::int32_t ToInt32(const std::string& token) {
    std::size_t at = 0;
    while (at < token.size() && platform::IsSpace(token[at])) ++at;
    bool negative = false;
    if (at < token.size() && (token[at] == '+' || token[at] == '-')) negative = token[at++] == '-';
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; at < token.size() && token[at] >= '0' && token[at] <= '9'; ++at) {
        value = value * 10 + (token[at] - '0');
        if (value > kLimit) value = kLimit + 1;
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value > kLimit ? kLimit : value);
}

// One split pass: runs of `delimiter` count as one and leading ones are skipped. Stores up
// to three numbers into `fields` as they are parsed and counts them. Returns where the
// delimiter closing the first token stood (npos when there was none): splitting in place
// cuts the text there, so a later pass sees only what came before it.
std::size_t SplitPass(const std::string& text, char delimiter, std::int32_t* const fields[3],
                      int& count) {
    count = 0;
    std::size_t firstCut = std::string::npos;
    std::size_t pos = 0;
    while (count < 3) {
        pos = text.find_first_not_of(delimiter, pos);
        if (pos == std::string::npos) break;
        const std::size_t end = text.find(delimiter, pos);
        *fields[count++] = ToInt32(text.substr(pos, end - pos));
        if (end == std::string::npos) break;
        if (firstCut == std::string::npos) firstCut = end;
        pos = end + 1;
    }
    return firstCut;
}

// The places a version resource is looked for, in the order they are tried. A full path
// makes every place but "as given" a malformed name that simply finds nothing.
enum class SearchLocation { WindowsDirectory, SystemDirectory, AsGiven, DriveRoot };
constexpr SearchLocation kSearchOrder[] = {SearchLocation::WindowsDirectory,
                                           SearchLocation::SystemDirectory, SearchLocation::AsGiven,
                                           SearchLocation::DriveRoot};

// A directory that could not be obtained (empty) leaves the name unchanged.
std::string SearchPath(const ModuleVersionSource& source, const std::string& fileName,
                       SearchLocation location) {
    std::string directory;
    switch (location) {
        case SearchLocation::WindowsDirectory: directory = source.WindowsDirectory(); break;
        case SearchLocation::SystemDirectory: directory = source.SystemDirectory(); break;
        case SearchLocation::AsGiven: return fileName;
        case SearchLocation::DriveRoot: return "\\" + fileName;
    }
    return directory.empty() ? fileName : directory + "\\" + fileName;
}

bool ReadVersionResource(const ModuleVersionSource& source, const std::string& path,
                         ModuleVersion& version) {
    const std::optional<std::string> text = source.QueryFileVersionString(path);
    return text && ParseVersionTriple(*text, version);
}

bool SearchVersionResource(const ModuleVersionSource& source, const std::string& fileName,
                           ModuleVersion& version) {
    for (const SearchLocation location : kSearchOrder) {
        if (ReadVersionResource(source, SearchPath(source, fileName, location), version)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string FileVersionSubBlock(const unsigned char* translation, std::size_t byteCount,
                                std::uint16_t userDefaultLanguage) {
    if (translation != nullptr && byteCount == 4) {
        // Two little-endian words: language, then code page; each written high byte first.
        return platform::Format("\\StringFileInfo\\%02X%02X%02X%02X\\FileVersion", translation[1],
                                translation[0], translation[3], translation[2]);
    }
    return platform::Format("\\StringFileInfo\\%04X04B0\\FileVersion",
                            static_cast<unsigned>(userDefaultLanguage));
}

std::string ClipVersionText(const char* text, std::size_t reportedLength) {
    if (text == nullptr) return std::string();
    const std::size_t limit =
        reportedLength >= kVersionBufferSize ? kClippedVersionLength : kVersionBufferSize - 1;
    std::size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return std::string(text, length);
}

bool ParseVersionTriple(const std::string& text, Version& version) {
    std::int32_t* const fields[3] = {&version.major, &version.minor, &version.build};
    int count = 0;
    const std::size_t cut = SplitPass(text, '.', fields, count);
    if (count == 3) return true;
    SplitPass(text.substr(0, cut), ',', fields, count);
    return count == 3;
}

ModuleVersion::ModuleVersion(const ModuleVersionSource& source, const std::string& fileName) {
    // Only the system's own libraries (a bare name is loaded from the system directory) and
    // files that nobody but an administrator can have planted or replaced may run; any other
    // file is read as data only.
    const bool mayRun =
        platform::IsBareName(fileName) ||
        platform::OnlyAdministratorsCanChange(fileName, source.ReadPathFacts(fileName));
    found = (mayRun && source.QueryDllGetVersion(fileName, *this)) ||
            SearchVersionResource(source, fileName, *this);
}

ModuleVersion::ModuleVersion(const ModuleVersionSource& source, const std::string& fileName,
                             ReadAsData)
    : found(SearchVersionResource(source, fileName, *this)) {}
