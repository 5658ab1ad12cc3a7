#include "probes/mail/MapiLibraryWin32.h"

#include <windows.h>
#include <unknwn.h>

#include <utility>

#include "platform/SystemLibraryWin32.h"

namespace {

// The record MAPIInitialize takes (MAPIINIT_0).
struct MapiInit {
    ULONG ulVersion;
    ULONG ulFlags;
};

using InitializeFn = HRESULT(STDAPICALLTYPE*)(LPVOID init);
using UninitializeFn = void(STDAPICALLTYPE*)();
using LogonExFn = HRESULT(STDAPICALLTYPE*)(ULONG_PTR uiParam, LPSTR profileName, LPSTR password,
                                            ULONG flags, IUnknown** session);

template <typename Function>
Function EntryPoint(HMODULE library, const char* name) {
    // Through the generic function pointer type, which converts to any other without warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

class MapiLibraryWin32 final : public MapiLibrary {
public:
    explicit MapiLibraryWin32(platform::UniqueLibrary library)
        : m_library(std::move(library)),
          m_initialize(EntryPoint<InitializeFn>(m_library.Get(), "MAPIInitialize")),
          m_uninitialize(EntryPoint<UninitializeFn>(m_library.Get(), "MAPIUninitialize")),
          m_logonEx(EntryPoint<LogonExFn>(m_library.Get(), "MAPILogonEx")) {}

    bool HasInitialize() const override { return m_initialize != nullptr; }
    bool HasUninitialize() const override { return m_uninitialize != nullptr; }
    bool HasLogonEx() const override { return m_logonEx != nullptr; }

    std::int32_t Initialize(std::uint32_t version, std::uint32_t flags) override {
        MapiInit init = {version, flags};
        return m_initialize(&init);
    }

    std::int32_t LogonEx(std::uintptr_t parentWindow, const char* profileName,
                         const char* password, std::uint32_t flags,
                         MapiSession* session) override {
        // MAPI takes non-const text pointers but only reads them.
        IUnknown* unknown = nullptr;
        const HRESULT result =
            m_logonEx(parentWindow, const_cast<LPSTR>(profileName), const_cast<LPSTR>(password),
                      flags, &unknown);
        *session = unknown;
        return result;
    }

    void ReleaseSession(MapiSession session) override {
        static_cast<IUnknown*>(session)->Release();
    }

    void Uninitialize() override { m_uninitialize(); }

private:
    platform::UniqueLibrary m_library;
    InitializeFn m_initialize;
    UninitializeFn m_uninitialize;
    LogonExFn m_logonEx;
};

}  // namespace

std::unique_ptr<MapiLibrary> MapiLoaderWin32::Load() {
    // Only the system's own MAPI: a copy planted beside the program or in the current
    // directory is never run.
    platform::UniqueLibrary library = platform::LoadSystemLibrary("mapi32.DLL");
    if (!library) return nullptr;
    return std::make_unique<MapiLibraryWin32>(std::move(library));
}
