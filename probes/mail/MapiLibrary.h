// The few MAPI entry points the log-on test calls, behind a seam.
#pragma once

#include <cstdint>
#include <memory>

// Values of the MAPI interface that the log-on test passes.
constexpr std::uint32_t kMapiInitVersion = 0;
constexpr std::uint32_t kMapiMultithreadNotifications = 0x1;
constexpr std::uint32_t kMapiLogonUi = 0x01;
constexpr std::uint32_t kMapiNewSession = 0x02;
constexpr std::uint32_t kMapiExplicitProfile = 0x10;

// An opaque session object as MAPILogonEx delivers it.
using MapiSession = void*;

// One loaded MAPI library. Destroying the object unloads the library.
class MapiLibrary {
public:
    virtual ~MapiLibrary() = default;

    // Whether each entry point was found by name in the library.
    virtual bool HasInitialize() const = 0;
    virtual bool HasUninitialize() const = 0;
    virtual bool HasLogonEx() const = 0;

    // Only called when the entry point exists. Results are HRESULTs: negative is failure.
    virtual std::int32_t Initialize(std::uint32_t version, std::uint32_t flags) = 0;
    virtual std::int32_t LogonEx(std::uintptr_t parentWindow, const char* profileName,
                                 const char* password, std::uint32_t flags,
                                 MapiSession* session) = 0;
    virtual void ReleaseSession(MapiSession session) = 0;
    virtual void Uninitialize() = 0;
};

class MapiLoader {
public:
    virtual ~MapiLoader() = default;
    // The loaded library, or null when it cannot be loaded.
    virtual std::unique_ptr<MapiLibrary> Load() = 0;
};
