#include <windows.h>
#include <mapix.h>

#include <memory>
#include <utility>

#include "platform/Path.h"
#include "platform/SystemLibraryWin32.h"
#include "platform/ThreadWin32.h"
#include "probes/PcWin32.h"

static_assert(kMapiInitVersion == MAPI_INIT_VERSION &&
              kMapiMultithreadNotifications == MAPI_MULTITHREAD_NOTIFICATIONS &&
              kMapiLogonUi == MAPI_LOGON_UI && kMapiNewSession == MAPI_NEW_SESSION &&
              kMapiExplicitProfile == MAPI_EXPLICIT_PROFILE && kMapiUseDefault == MAPI_USE_DEFAULT);

namespace {

class MapiLibraryWin32 final : public MapiLibrary {
public:
    MapiLibraryWin32(std::unique_ptr<platform::LibraryDirectoryScope> clientDirectory,
                     platform::UniqueLibrary library)
        : m_pClientDirectory(std::move(clientDirectory)),
          m_library(std::move(library)),
          m_initialize(
              platform::LibraryFunction<MAPIINITIALIZE>(m_library.Get(), "MAPIInitialize")),
          m_uninitialize(
              platform::LibraryFunction<MAPIUNINITIALIZE>(m_library.Get(), "MAPIUninitialize")),
          m_logonEx(platform::LibraryFunction<MAPILOGONEX>(m_library.Get(), "MAPILogonEx")) {}

    std::optional<std::int32_t> Initialize(std::uint32_t version, std::uint32_t flags) override {
        if (m_initialize == nullptr) return std::nullopt;
        MAPIINIT_0 init = {version, flags};
        return m_initialize(&init);
    }

    std::optional<std::int32_t> LogonEx(std::uintptr_t parentWindow, const char* profileName,
                                        const char* password, std::uint32_t flags) override {
        if (m_logonEx == nullptr) return std::nullopt;
        // MAPI takes non-const text pointers but only reads them.
        LPMAPISESSION session = nullptr;
        const HRESULT result = m_logonEx(parentWindow, const_cast<LPSTR>(profileName),
                                         const_cast<LPSTR>(password), flags, &session);
        if (SUCCEEDED(result) && session != nullptr) {
            session->Logoff(0, 0, 0);
            session->Release();
        }
        return result;
    }

    void Uninitialize() override {
        if (m_uninitialize != nullptr) m_uninitialize();
    }

private:
    // Declared first, so that the folder leaves the search only after MAPI is unloaded.
    std::unique_ptr<platform::LibraryDirectoryScope> m_pClientDirectory;
    platform::UniqueLibrary m_library;
    MAPIINITIALIZE* m_initialize;
    MAPIUNINITIALIZE* m_uninitialize;
    MAPILOGONEX* m_logonEx;
};

}  // namespace

void PcWin32::DisableOwner() {
    if (m_setOwnerEnabled) m_setOwnerEnabled(false);
}

void PcWin32::EnableAndFocusOwner() {
    if (m_setOwnerEnabled) m_setOwnerEnabled(true);
}

std::unique_ptr<MapiLibrary> PcWin32::LoadMapi() {
    // The system's MAPI loads the registered mail client's own MAPI library, which brings
    // further libraries from its folder: that folder, named by the machine's registry, joins
    // the search while MAPI is loaded; the program's folder and the current one never do.
    const auto client = MailClientLibrary(*this);
    auto clientDirectory =
        client && platform::IsLocalAbsolutePath(*client)
            ? std::make_unique<platform::LibraryDirectoryScope>(platform::FolderOf(*client))
            : nullptr;
    // Only the system's own MAPI: a copy planted beside the program or in the current
    // directory is never run.
    platform::UniqueLibrary library = platform::LoadSystemLibrary("mapi32.DLL");
    if (!library) return nullptr;
    return std::make_unique<MapiLibraryWin32>(std::move(clientDirectory), std::move(library));
}

bool PcWin32::RunMapiSession(std::function<void()> session, std::uint32_t deadlineMilliseconds) {
    // The thread has no message loop: MAPI is initialised for multithreaded notifications.
    const platform::UniqueKernelHandle thread = platform::StartThread(std::move(session));
    if (!thread) return false;
    const HANDLE waits[] = {thread.Get(), m_cancelled.Get()};
    return ::WaitForMultipleObjects(2, waits, FALSE, deadlineMilliseconds) == WAIT_OBJECT_0;
}

std::optional<std::vector<std::uint8_t>> PcWin32::ReadFileStart(const std::string& path,
                                                                std::size_t size) const {
    const platform::UniqueFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

std::uint16_t PcWin32::ProgramMachineType() const {
    static_assert(kMachineX86 == IMAGE_FILE_MACHINE_I386 &&
                  kMachineX64 == IMAGE_FILE_MACHINE_AMD64);
    return sizeof(void*) == 8 ? kMachineX64 : kMachineX86;
}
