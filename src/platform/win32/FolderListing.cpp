#include "platform/win32/FolderListing.h"

#include <vector>

#include <winternl.h>

namespace bastion::win32 {

namespace {

// Big enough that a folder of a few hundred entries comes in one call.
constexpr std::size_t kListingBufferBytes = 64 * 1024;

bool IsDotEntry(std::wstring_view name) { return name == L"." || name == L".."; }

}  // namespace

bool ReadFolderEntries(HANDLE folder, const std::function<void(const ListedEntry&)>& visit) {
    // 8-byte units: the records are aligned for their 64-bit members. One
    // buffer per thread, kept: a walk lists on several threads at once, each
    // folder after folder.
    thread_local std::vector<std::uint64_t> buffer(kListingBufferBytes / sizeof(std::uint64_t));
    const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
    while (::GetFileInformationByHandleEx(folder, FileFullDirectoryInfo, buffer.data(), bytes)) {
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (!IsDotEntry(name)) {
                visit(ListedEntry{name, info->FileAttributes, static_cast<std::uint64_t>(info->EndOfFile.QuadPart)});
            }
            if (info->NextEntryOffset == 0) break;
            at += info->NextEntryOffset;
        }
    }
    // The end of the listing; an empty drive root (without "." and "..")
    // has no entry at all.
    const DWORD error = ::GetLastError();
    return error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND;
}

std::optional<std::uint64_t> FileIndex(HANDLE file) {
    IO_STATUS_BLOCK status{};
    LARGE_INTEGER index{};
    // FileInternalInformation: the index alone. GetFileInformationByHandle
    // would also ask the volume for its serial.
    if (!NT_SUCCESS(::NtQueryInformationFile(file, &status, &index, sizeof(index), FileInternalInformation))) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(index.QuadPart);
}

std::optional<std::uint32_t> VolumeSerial(HANDLE file) {
    DWORD serial = 0;
    if (!::GetVolumeInformationByHandleW(file, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        return std::nullopt;
    }
    return serial;
}

}  // namespace bastion::win32
