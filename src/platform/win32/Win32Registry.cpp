#include "platform/win32/Win32Registry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

#include <winternl.h>

// The key's full name (KeyNameInformation) comes from ntdll alone; the SDK
// headers do not declare it.
extern "C" NTSTATUS NTAPI NtQueryKey(HANDLE key, int informationClass, PVOID information, ULONG length,
                                     PULONG resultLength);

namespace bastion::win32 {

using platform::Hive;
using platform::RegAccess;
using platform::RegType;
using platform::RegValue;
using platform::RegView;

namespace {

// Registry names are at most 16,383 characters; keys at most 255.
constexpr DWORD kMaxNameChars = 16384;

// The predefined handles are 32-bit values sign-extended to pointer width
// (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 in a 64-bit program).
HKEY HiveKey(Hive hive) {
    auto value = static_cast<LONG>(static_cast<std::uint32_t>(hive));
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(value));
}

REGSAM AccessMask(RegAccess access) {
    switch (access) {
        case RegAccess::Read:
            return KEY_READ;
        case RegAccess::ReadWrite:
            return KEY_READ | KEY_WRITE;
        case RegAccess::All:
            return KEY_ALL_ACCESS;
    }
    return KEY_READ;
}

REGSAM ViewFlag(RegView view) {
    switch (view) {
        case RegView::Bits64:
            return KEY_WOW64_64KEY;
        case RegView::Bits32:
            return KEY_WOW64_32KEY;
        case RegView::Default:
            break;
    }
    return 0;
}

long Open(Hive hive, const std::string& path, REGSAM access, RegView view, UniqueRegKey& key) {
    return ::RegOpenKeyExW(HiveKey(hive), Widen(path).c_str(), 0, access | ViewFlag(view), key.Receive());
}

constexpr int kKeyNameInformation = 3;

std::wstring WideUnits(const std::vector<std::uint8_t>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::uint64_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t count) {
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < count && i < bytes.size(); ++i) {
        number |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    }
    return number;
}

void Decode(DWORD type, std::vector<std::uint8_t> bytes, RegValue& out) {
    out = RegValue{};
    out.type = static_cast<RegType>(type);
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ: {
            // The terminating NUL (two for a multi-string) is not part of
            // the text; a string stored without one is taken whole.
            std::wstring text = WideUnits(bytes);
            while (!text.empty() && text.back() == L'\0') {
                text.pop_back();
            }
            out.text = Narrow(text);
            break;
        }
        case REG_DWORD:
            out.number = LittleEndian(bytes, 4);
            break;
        case REG_QWORD:
            out.number = LittleEndian(bytes, 8);
            break;
        default:
            break;
    }
    out.bytes = std::move(bytes);
}

std::vector<std::uint8_t> WideBytes(const std::wstring& text) {
    std::vector<std::uint8_t> bytes(text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

std::vector<std::uint8_t> Encode(const RegValue& value) {
    if (value.exactBytes) return value.bytes;
    switch (value.type) {
        case RegType::String:
        case RegType::ExpandString:
            return WideBytes(Widen(value.text) + L'\0');
        case RegType::MultiString: {
            std::wstring text = Widen(value.text);
            text.append(text.empty() ? 1 : 2, L'\0');
            return WideBytes(text);
        }
        case RegType::Dword:
        case RegType::Qword: {
            std::size_t count = value.type == RegType::Dword ? 4 : 8;
            std::vector<std::uint8_t> bytes(count);
            for (std::size_t i = 0; i < count; ++i) {
                bytes[i] = static_cast<std::uint8_t>(value.number >> (8 * i));
            }
            return bytes;
        }
        default:
            return value.bytes;
    }
}

// Enumerates names with RegEnumKeyExW or RegEnumValueW until the system
// reports that no more are left.
template <typename EnumFunction>
long EnumerateNames(HKEY key, EnumFunction enumerate, std::vector<std::string>& names) {
    names.clear();
    std::vector<wchar_t> buffer(kMaxNameChars);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG rc = enumerate(key, index, buffer.data(), &length);
        if (rc == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (rc == ERROR_MORE_DATA && buffer.size() < 16 * kMaxNameChars) {
            buffer.resize(buffer.size() * 2);
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        names.push_back(Narrow(std::wstring_view(buffer.data(), length)));
    }
}

}  // namespace

long Win32Registry::OpenKey(Hive hive, const std::string& path, RegAccess access, RegView view) {
    UniqueRegKey key;
    return Open(hive, path, AccessMask(access), view, key);
}

long Win32Registry::CreateKey(Hive hive, const std::string& path, RegView view) {
    UniqueRegKey key;
    return ::RegCreateKeyExW(HiveKey(hive), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_QUERY_VALUE | ViewFlag(view), nullptr, key.Receive(), nullptr);
}

long Win32Registry::QueryValue(Hive hive, const std::string& path, const std::string& name, RegValue& out,
                               RegView view) {
    UniqueRegKey key;
    if (long rc = Open(hive, path, KEY_QUERY_VALUE, view, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    std::wstring wideName = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG rc = ::RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the size query and the read; ask again.
    for (int attempt = 0; rc == ERROR_SUCCESS && attempt < 8; ++attempt) {
        std::vector<std::uint8_t> bytes(size + sizeof(wchar_t));
        DWORD read = static_cast<DWORD>(bytes.size());
        rc = ::RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, bytes.data(), &read);
        if (rc == ERROR_MORE_DATA) {
            size = read;
            rc = ERROR_SUCCESS;
            continue;
        }
        if (rc == ERROR_SUCCESS) {
            bytes.resize(read);
            Decode(type, std::move(bytes), out);
        }
        return rc;
    }
    return rc;
}

long Win32Registry::SetValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                             RegView view) {
    UniqueRegKey key;
    if (long rc = Open(hive, path, KEY_SET_VALUE, view, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    std::vector<std::uint8_t> bytes = Encode(value);
    return ::RegSetValueExW(key.Get(), Widen(name).c_str(), 0, static_cast<DWORD>(value.type),
                            bytes.empty() ? nullptr : bytes.data(), static_cast<DWORD>(bytes.size()));
}

long Win32Registry::DeleteValue(Hive hive, const std::string& path, const std::string& name, RegView view) {
    UniqueRegKey key;
    if (long rc = Open(hive, path, KEY_SET_VALUE, view, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    return ::RegDeleteValueW(key.Get(), Widen(name).c_str());
}

long Win32Registry::DeleteTree(Hive hive, const std::string& path, RegView view) {
    // An empty path names the hive itself: deleting "its tree" would wipe
    // every key of the hive, which no caller can mean.
    if (path.find_first_not_of("\\ ") == std::string::npos) {
        return platform::kRegAccessDenied;
    }
    // RegDeleteTreeW takes no view: the key is opened in its view, emptied
    // through that handle, and then deleted itself in the same view.
    {
        UniqueRegKey key;
        if (long rc = Open(hive, path, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, view, key);
            rc != ERROR_SUCCESS) {
            return rc;
        }
        if (long rc = ::RegDeleteTreeW(key.Get(), nullptr); rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    return ::RegDeleteKeyExW(HiveKey(hive), Widen(path).c_str(), ViewFlag(view), 0);
}

long Win32Registry::EnumerateSubkeys(Hive hive, const std::string& path, std::vector<std::string>& names,
                                     RegView view) {
    names.clear();
    UniqueRegKey key;
    if (long rc = Open(hive, path, KEY_ENUMERATE_SUB_KEYS, view, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    return EnumerateNames(
        key.Get(),
        [](HKEY k, DWORD i, wchar_t* buf, DWORD* len) {
            return ::RegEnumKeyExW(k, i, buf, len, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

long Win32Registry::EnumerateValues(Hive hive, const std::string& path, std::vector<std::string>& names,
                                    RegView view) {
    names.clear();
    UniqueRegKey key;
    if (long rc = Open(hive, path, KEY_QUERY_VALUE, view, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    return EnumerateNames(
        key.Get(),
        [](HKEY k, DWORD i, wchar_t* buf, DWORD* len) {
            return ::RegEnumValueW(k, i, buf, len, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

long Win32Registry::KeyIdentity(Hive hive, const std::string& path, RegView view, std::string& identity) {
    identity.clear();
    UniqueRegKey key;
    if (long rc = Open(hive, path, KEY_QUERY_VALUE, view, key); rc != ERROR_SUCCESS) {
        return rc;
    }
    // KEY_NAME_INFORMATION: the name's length in bytes, then the name.
    std::vector<std::uint8_t> buffer(1024);
    ULONG needed = 0;
    NTSTATUS status = ::NtQueryKey(key.Get(), kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                   &needed);
    if (!NT_SUCCESS(status) && needed > buffer.size()) {
        buffer.resize(needed);
        status = ::NtQueryKey(key.Get(), kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                              &needed);
    }
    if (!NT_SUCCESS(status) || needed < sizeof(ULONG)) {
        return ERROR_INVALID_FUNCTION;
    }
    ULONG nameBytes = 0;
    std::memcpy(&nameBytes, buffer.data(), sizeof(nameBytes));
    nameBytes = std::min<ULONG>(nameBytes, needed - sizeof(ULONG));
    std::wstring name(nameBytes / sizeof(wchar_t), L'\0');
    std::memcpy(name.data(), buffer.data() + sizeof(ULONG), name.size() * sizeof(wchar_t));
    identity = Narrow(name);
    return ERROR_SUCCESS;
}

}  // namespace bastion::win32
