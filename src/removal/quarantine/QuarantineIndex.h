// The quarantine's index, "QuarantineIndex.txt" beside "QuarantineLog.txt":
// what each stored item is and where it came from, so that it can be put
// back. UTF-8 text, one record per line ending in CR LF, fields separated
// by tabs; "%", tab, CR and LF inside a field are written %25, %09, %0D and
// %0A (registry names may hold any of them):
//
//   item<TAB>id<TAB>date<TAB>kind<TAB>stored name<TAB>original location<TAB>end
//   restored<TAB>id<TAB>end
//   withdrawn<TAB>id<TAB>end
//
// An item is recorded before it is deleted; "withdrawn" takes the record
// back when the deletion did not take place after all.
//
// The file is only ever appended to, one whole line per write, so a crash
// in the middle of a write costs at most that line: a line without its
// closing "end" field is torn and read as nothing, and the next record
// starts a line of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace bastion {

inline constexpr std::string_view kQuarantineIndexFile = "QuarantineIndex.txt";

// What a stored item was; the index writes these names. A folder link is
// stored as a small file that says where the link pointed.
enum class QuarantineKind { File, Folder, FolderLink, Cookie, RegistryValue, RegistryKey };
std::string_view QuarantineKindName(QuarantineKind kind);
std::optional<QuarantineKind> QuarantineKindFromName(std::string_view name);

struct QuarantineItem {
    std::uint64_t id = 0;
    std::string date;
    QuarantineKind kind = QuarantineKind::File;
    // The name of the copy (or the registry backup) in the quarantine folder.
    std::string storedName;
    // The full path a file, folder or cookie was taken from; for a registry
    // entry its location as the results list showed it.
    std::string originalLocation;
    friend bool operator==(const QuarantineItem&, const QuarantineItem&) = default;
};

std::string FormatIndexRecord(const QuarantineItem& item);
std::string FormatRestoredRecord(std::uint64_t id);
std::string FormatWithdrawnRecord(std::uint64_t id);

// The items stored and not restored or withdrawn since, in the order they
// were stored.
std::vector<QuarantineItem> ParseIndex(std::string_view content);
// The highest id any record names, torn ones aside; 0 for none.
std::uint64_t HighestIndexId(std::string_view content);

}  // namespace bastion
