// Restore points through srclient.dll, loaded when first needed: systems
// without System Restore lack the library or its function.
#pragma once

#include "platform/SystemRestore.h"
#include "platform/win32/Handles.h"

#include <srrestoreptapi.h>

#include <string>

namespace bastion::win32 {

class Win32SystemRestore final : public platform::SystemRestore {
public:
    // The system's library, from the system folder only: a library of that
    // name planted beside the program must not be loaded instead.
    Win32SystemRestore();
    // Another library with the same function (the tests' stand-in).
    explicit Win32SystemRestore(std::wstring libraryPath);

    std::optional<std::int64_t> Begin(const std::string& description, int restorePointType) override;
    bool End(std::int64_t sequenceNumber) override;

private:
    using SetRestorePointFunction = BOOL(WINAPI*)(RESTOREPOINTINFOW*, STATEMGRSTATUS*);

    // The function, or nullptr when the system does not offer it.
    SetRestorePointFunction Function();
    std::optional<std::int64_t> Call(DWORD eventType, DWORD restorePointType, std::int64_t sequenceNumber,
                                     const std::string& description);

    std::wstring libraryPath_;
    UniqueModule library_;
    SetRestorePointFunction setRestorePoint_ = nullptr;
    bool loadTried_ = false;
};

}  // namespace bastion::win32
