#include "platform/win32/Win32InstanceLock.h"

#include <vector>

#include "platform/win32/WideText.h"
// After <windows.h>, which they build on.
#include <sddl.h>

namespace bastion::win32 {

namespace {

// How long a run waits for the first to write its id into a section it has
// just made.
constexpr int kHolderLooks = 20;
constexpr DWORD kHolderLookMs = 50;

// "D:P(A;;GA;;;<this user>)(A;;GA;;;SY)": this user's runs, elevated or not,
// and the system; nobody else.
std::wstring OwnUserOnly() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return {};
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return {};
    LPWSTR sid = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) return {};
    std::wstring descriptor = L"D:P(A;;GA;;;" + std::wstring(sid) + L")(A;;GA;;;SY)";
    ::LocalFree(sid);
    return descriptor;
}

std::uint32_t ReadHolder(HANDLE section) {
    const void* view = ::MapViewOfFile(section, FILE_MAP_READ, 0, 0, sizeof(DWORD));
    if (!view) return 0;
    const std::uint32_t holder = *static_cast<const volatile DWORD*>(view);
    ::UnmapViewOfFile(view);
    return holder;
}

bool WriteHolder(HANDLE section) {
    void* view = ::MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, sizeof(DWORD));
    if (!view) return false;
    *static_cast<volatile DWORD*>(view) = ::GetCurrentProcessId();
    ::UnmapViewOfFile(view);
    return true;
}

}  // namespace

std::wstring Win32InstanceLock::SectionName(const std::string& name) {
    std::wstring wide = Widen(name);
    for (wchar_t& c : wide) {
        if (c == L'\\') c = L'_';
    }
    return L"Local\\" + wide + L".Instance";
}

platform::InstanceClaim Win32InstanceLock::Claim(const std::string& name) {
    auto found = held_.find(name);
    if (found != held_.end()) return found->second.claim;
    Held held;
    const std::wstring sectionName = SectionName(name);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::wstring sddl = OwnUserOnly();
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    if (!sddl.empty() && ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                                 &descriptor, nullptr)) {
        attributes.lpSecurityDescriptor = descriptor;
    }
    held.section.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, sizeof(DWORD),
                                            sectionName.c_str()));
    const DWORD error = ::GetLastError();
    if (descriptor) ::LocalFree(descriptor);
    if (held.section && error != ERROR_ALREADY_EXISTS) {
        WriteHolder(held.section.Get());
    } else {
        // Held before: by a run of this user (elevated or not), which lets
        // this one read its id, or by something this user may not open.
        held.claim.first = false;
        if (!held.section) held.section.Reset(::OpenFileMappingW(FILE_MAP_READ, FALSE, sectionName.c_str()));
        for (int look = 0; held.section && look < kHolderLooks; ++look) {
            held.claim.holder = ReadHolder(held.section.Get());
            // A run that has just made it writes its id right after.
            if (held.claim.holder != 0) break;
            ::Sleep(kHolderLookMs);
        }
    }
    const platform::InstanceClaim claim = held.claim;
    held_.emplace(name, std::move(held));
    return claim;
}

void Win32InstanceLock::TakeOver(const std::string& name) {
    auto found = held_.find(name);
    if (found != held_.end() && found->second.section) WriteHolder(found->second.section.Get());
}

}  // namespace bastion::win32
