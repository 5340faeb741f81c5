// What a restore accepts from the quarantine's index and backups, which any
// program running as the user can change: only what the quarantine itself
// writes, so that a changed record or backup cannot make a restore (perhaps
// an administrator's) move, replace or write something elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "removal/quarantine/QuarantineIndex.h"
#include "removal/registry/RegistrySnapshot.h"

namespace bastion {

// A full local path: a drive letter, ":\", names separated by single
// backslashes, no "." or ".." part, no device name (CON, NUL, COM1, ...),
// no stream (a second ":"), nothing a file name cannot hold. The device
// forms ("\\.\", "\\?\GLOBALROOT") and network paths are none.
bool IsFullLocalPath(std::string_view path);

// The stored name the quarantine gives the item: "<id>_<name>" with the
// record's own id and one plain file name (as SafeFileName makes it); for a
// file, cookie or folder the name of its original location, for a registry
// backup a name ending in ".reg", for a folder link one ending in ".link".
bool IsStoredNameFor(const QuarantineItem& item);

// Whether the quarantine could have written the record: its stored name,
// and for all but registry items a full local path to go back to.
bool IsRecordTheQuarantineWrites(const QuarantineItem& item);

// The registry view a registry item was taken from (" (32-bit view)" after
// its location names the 32-bit one).
platform::RegView RecordedView(const QuarantineItem& item);

// The backup as it is written back in the recorded view: every key at or
// below the recorded key (for a value, exactly that one value), a key of the
// 32-bit view named as that view names it. nullopt when anything in it lies
// elsewhere: such a backup is refused whole.
std::optional<RegistrySnapshot> SnapshotInPlace(const RegistrySnapshot& backup, const QuarantineItem& item);

}  // namespace bastion
