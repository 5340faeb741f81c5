#include "platform/win32/Win32SystemRestore.h"

#include <algorithm>
#include <utility>

#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

// The library in the system folder; empty when that cannot be named.
std::wstring SystemLibraryPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH + 1] = {};
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    return path;
}

}  // namespace

Win32SystemRestore::Win32SystemRestore() : libraryPath_(SystemLibraryPath(L"srclient.dll")) {}

Win32SystemRestore::Win32SystemRestore(std::wstring libraryPath) : libraryPath_(std::move(libraryPath)) {}

Win32SystemRestore::SetRestorePointFunction Win32SystemRestore::Function() {
    if (!loadTried_) {
        loadTried_ = true;
        if (!libraryPath_.empty()) library_ = UniqueModule(::LoadLibraryW(libraryPath_.c_str()));
        if (library_) {
            setRestorePoint_ = GetProcedure<SetRestorePointFunction>(library_.Get(), "SRSetRestorePointW");
        }
    }
    return setRestorePoint_;
}

std::optional<std::int64_t> Win32SystemRestore::Call(DWORD eventType, DWORD restorePointType,
                                                     std::int64_t sequenceNumber, const std::string& description) {
    SetRestorePointFunction setRestorePoint = Function();
    if (setRestorePoint == nullptr) {
        return std::nullopt;
    }
    RESTOREPOINTINFOW info{};
    info.dwEventType = eventType;
    info.dwRestorePtType = restorePointType;
    info.llSequenceNumber = sequenceNumber;
    std::wstring text = Widen(description);
    // The description field holds MAX_DESC_W characters with its NUL.
    std::size_t count = std::min<std::size_t>(text.size(), MAX_DESC_W - 1);
    std::copy_n(text.begin(), count, info.szDescription);
    info.szDescription[count] = L'\0';
    STATEMGRSTATUS status{};
    if (!setRestorePoint(&info, &status) || status.nStatus != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return status.llSequenceNumber;
}

std::optional<std::int64_t> Win32SystemRestore::Begin(const std::string& description, int restorePointType) {
    return Call(BEGIN_SYSTEM_CHANGE, static_cast<DWORD>(restorePointType), 0, description);
}

bool Win32SystemRestore::End(std::int64_t sequenceNumber) {
    return Call(END_SYSTEM_CHANGE, 0, sequenceNumber, std::string()).has_value();
}

}  // namespace bastion::win32
