// What the file system classes share about opening entries: the share mode
// that lets other programs go on reading, writing and deleting, and what a
// plain folder is.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A folder that is no junction, mount point or link: it lies on the volume
// of the folder that lists it, and going into it goes nowhere else.
inline bool IsPlainFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

}  // namespace bastion::win32
