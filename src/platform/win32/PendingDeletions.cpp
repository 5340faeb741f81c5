#include "platform/win32/PendingDeletions.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

constexpr const wchar_t* kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPendingOperations = L"PendingFileRenameOperations";

// A source and its target; an empty target is a deletion.
using Operation = std::pair<std::wstring, std::wstring>;

// nullopt when the list cannot be read; empty when there is none.
std::optional<std::vector<Operation>> ReadOperations(HKEY key) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExW(key, kPendingOperations, nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::vector<Operation>{};
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ) return std::nullopt;
    std::vector<wchar_t> units(size / sizeof(wchar_t) + 1, L'\0');
    status = ::RegQueryValueExW(key, kPendingOperations, nullptr, &type, reinterpret_cast<BYTE*>(units.data()), &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    units.resize(size / sizeof(wchar_t));
    // Empty targets are empty strings inside the list, so the strings are
    // taken in pairs rather than up to the first empty one.
    while (!units.empty() && units.back() == L'\0') units.pop_back();
    std::vector<std::wstring> strings(1);
    for (wchar_t unit : units) {
        if (unit == L'\0') {
            strings.emplace_back();
        } else {
            strings.back() += unit;
        }
    }
    if (units.empty()) strings.clear();
    if (strings.size() % 2 != 0) strings.emplace_back();
    std::vector<Operation> operations;
    for (std::size_t i = 0; i < strings.size(); i += 2) operations.emplace_back(strings[i], strings[i + 1]);
    return operations;
}

// The source as the list names a file ("\??\C:\x").
bool Names(const std::wstring& source, const std::wstring& path) {
    std::wstring_view name = source;
    if (name.rfind(L"\\??\\", 0) == 0) name.remove_prefix(4);
    return ::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), path.data(),
                                  static_cast<int>(path.size()), TRUE) == CSTR_EQUAL;
}

bool IsDeletionOf(const Operation& operation, const std::wstring& path) {
    return operation.second.empty() && Names(operation.first, path);
}

std::wstring FullForm(const std::wstring& path) { return NeedsLiteralForm(path) ? path : FullPath(path); }

}  // namespace

bool IsDeletionPendingAtRestart(const std::wstring& path) {
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring full = FullForm(path);
    const std::optional<std::vector<Operation>> operations = ReadOperations(key.Get());
    if (!operations) return false;
    for (const Operation& operation : *operations) {
        if (IsDeletionOf(operation, full)) return true;
    }
    return false;
}

bool CancelDeletionAtRestart(const std::wstring& path) {
    if (!IsDeletionPendingAtRestart(path)) return true;
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::optional<std::vector<Operation>> operations = ReadOperations(key.Get());
    if (!operations) return false;
    const std::wstring full = FullForm(path);
    std::erase_if(*operations, [&full](const Operation& operation) { return IsDeletionOf(operation, full); });
    if (operations->empty()) return ::RegDeleteValueW(key.Get(), kPendingOperations) == ERROR_SUCCESS;
    std::wstring list;
    for (const auto& [source, target] : *operations) {
        list += source;
        list += L'\0';
        list += target;
        list += L'\0';
    }
    list += L'\0';
    return ::RegSetValueExW(key.Get(), kPendingOperations, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                            static_cast<DWORD>(list.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace bastion::win32
