// RAII for COM: one interface reference, and one apartment for the length of a call.
#pragma once

#include <objbase.h>

namespace platform {

// Owns one reference to a COM interface.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (m_p != nullptr) m_p->Release();
    }
    Interface* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void** Receive() { return reinterpret_cast<void**>(&m_p); }

private:
    Interface* m_p = nullptr;
};

// COM for the lifetime of one check; uninitialised only when this call initialised it.
class ComApartment {
public:
    ComApartment() : m_initialized(SUCCEEDED(::CoInitialize(nullptr))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (m_initialized) ::CoUninitialize();
    }

private:
    bool m_initialized;
};

}  // namespace platform
