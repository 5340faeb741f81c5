// Listing a folder through one handle: the entries many at a time, and the
// folder's own identity from the same handle.
//
// Of the ways to list (bench/wine/WalkTiming --variants), FindFirstFileExW
// with FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH is the cheapest under
// Wine, but gives no identity: opening the folder again for it costs three
// to four times the listing. FileIdBothDirectoryInfo costs about a tenth more
// than FileFullDirectoryInfo for the short names it makes up;
// NtQueryDirectoryFile called directly gains nothing measurable. FileFullDirectoryInfo on a handle that also
// answers the file index lists within a few per cent of FindFirstFileExW,
// and the volume serial, the one costly question, is mostly remembered from
// the folder above (VolumeSerialMemo).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

struct ListedEntry {
    std::wstring_view name;
    DWORD attributes = 0;
    std::uint64_t size = 0;
};

// Calls visit for every entry of the open folder except "." and "..",
// hidden and system entries included, in the order the file system gives
// them. False when the handle is not a folder that can be listed.
bool ReadFolderEntries(HANDLE folder, const std::function<void(const ListedEntry&)>& visit);

// The folder's file index (the same number GetFileInformationByHandle
// reports), without the costly question for the volume serial.
std::optional<std::uint64_t> FileIndex(HANDLE file);

// The serial of the volume the open file lies on.
std::optional<std::uint32_t> VolumeSerial(HANDLE file);

}  // namespace bastion::win32
