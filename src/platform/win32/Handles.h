// Owners of Windows handles: each closes its handle when it goes out of
// scope, so no early return leaks one.
#pragma once

#include <utility>

#include "platform/win32/WindowsApi.h"

#include <shlobj.h>
#include <wininet.h>

namespace bastion::win32 {

// Owns one handle of a kind described by Traits: its type, the value that
// means "none" and how it is released.
template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Type Get() const { return value_; }
    explicit operator bool() const { return Traits::IsValid(value_); }

    // For functions that return the handle through an out parameter; the
    // current handle is released first.
    Type* Receive() {
        Reset();
        return &value_;
    }

    Type Release() { return std::exchange(value_, Traits::Invalid()); }

    void Reset(Type value = Traits::Invalid()) {
        Type old = std::exchange(value_, value);
        if (Traits::IsValid(old)) {
            Traits::Close(old);
        }
    }

private:
    Type value_ = Traits::Invalid();
};

// Kernel handles. Some functions return nullptr on failure, others
// INVALID_HANDLE_VALUE; both count as no handle.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// FindFirstFile search handles.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

// Registry keys opened or created by the program (never a predefined hive).
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueResource<RegKeyTraits>;

struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueResource<InternetHandleTraits>;

// Libraries loaded with LoadLibrary.
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

// Item identifier lists that the shell allocates for the caller.
struct PidlTraits {
    using Type = LPITEMIDLIST;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::CoTaskMemFree(h); }
};
using UniquePidl = UniqueResource<PidlTraits>;

// Windows the program creates for itself (message-only helper windows).
struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// An open clipboard, closed again when the session ends.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner = nullptr) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// Memory from GlobalAlloc, freed unless handed over (to the clipboard).
struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::GlobalFree(h); }
};
using UniqueGlobalMemory = UniqueResource<GlobalMemoryTraits>;

// A view of a file mapping, unmapped when dropped.
struct MappedViewTraits {
    using Type = const void*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::UnmapViewOfFile(h); }
};
using UniqueMappedView = UniqueResource<MappedViewTraits>;

// A function of a loaded library, as the pointer type the caller names.
template <typename Function>
Function GetProcedure(HMODULE module, const char* name) {
    // Through the generic function pointer type, which converts to every
    // other function pointer type without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace bastion::win32
