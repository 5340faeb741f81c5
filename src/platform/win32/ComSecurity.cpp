#include "platform/win32/ComSecurity.h"

#include <vector>

#include "platform/win32/WindowsApi.h"

#include <objbase.h>
#include <sddl.h>

namespace bastion::win32 {

namespace {

// COM_RIGHTS_EXECUTE | COM_RIGHTS_EXECUTE_LOCAL for the administrators,
// Local System, Local Service and Network Service; owner and group the
// administrators, as COM wants both set.
constexpr const wchar_t* kAccess = L"O:BAG:BAD:(A;;0x3;;;BA)(A;;0x3;;;SY)(A;;0x3;;;LS)(A;;0x3;;;NS)";

struct LocalMemory {
    ~LocalMemory() {
        if (pointer != nullptr) ::LocalFree(pointer);
    }
    PSECURITY_DESCRIPTOR pointer = nullptr;
};

}  // namespace

bool InitializeComSecurity() {
    LocalMemory relative;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kAccess, SDDL_REVISION_1, &relative.pointer,
                                                                nullptr)) {
        return false;
    }
    // CoInitializeSecurity takes the descriptor in absolute form.
    DWORD descriptorSize = 0, daclSize = 0, saclSize = 0, ownerSize = 0, groupSize = 0;
    ::MakeAbsoluteSD(relative.pointer, nullptr, &descriptorSize, nullptr, &daclSize, nullptr, &saclSize, nullptr,
                     &ownerSize, nullptr, &groupSize);
    std::vector<BYTE> descriptor(descriptorSize), dacl(daclSize + 1), sacl(saclSize + 1), owner(ownerSize + 1),
        group(groupSize + 1);
    if (!::MakeAbsoluteSD(relative.pointer, descriptor.data(), &descriptorSize, reinterpret_cast<PACL>(dacl.data()),
                          &daclSize, reinterpret_cast<PACL>(sacl.data()), &saclSize, owner.data(), &ownerSize,
                          group.data(), &groupSize)) {
        return false;
    }
    // The vectors outlive the call; COM copies what it keeps.
    return SUCCEEDED(::CoInitializeSecurity(descriptor.data(), -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
                                            RPC_C_IMP_LEVEL_IDENTIFY, nullptr, EOAC_NONE, nullptr));
}

}  // namespace bastion::win32
