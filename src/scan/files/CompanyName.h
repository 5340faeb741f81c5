// The company a file's version resource names, found by searching the
// file's bytes for the resource's keys, not through the system's version
// interface: it works the same on any file, packed or damaged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

inline constexpr std::size_t kCompanyReadChunk = 64 * 1024;
// Longest value collected. Company names are short; a value that runs on
// for this long is no company name, and collecting it whole could cost as
// much memory as the file is large. Values shorter than this come out
// exactly as a search of the whole file in memory gives them.
inline constexpr std::size_t kCompanyValueCap = 64 * 1024;

// The value bytes of "CompanyName" as stored, with their NULs removed; empty
// when none is found. Reads in chunks of chunkSize bytes (overlapping by the
// longest key) and stops as soon as the answer cannot change.
std::string FindCompanyNameBytes(platform::FileReader& reader, std::size_t chunkSize = kCompanyReadChunk);

// The CompanyName text of the file, converted from the code page; empty when
// none is found or the file cannot be opened.
std::string GetFileCompanyName(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                               std::size_t chunkSize = kCompanyReadChunk);

// True for "Microsoft Corporation" in any case and with surrounding blanks:
// the scans never report a file that names it.
bool IsMicrosoftCompany(std::string_view company);

// The process scan on the NT family also trusts "Sun Microsystems, Inc."
// (any case, surrounding blanks ignored); the Windows 95 family only
// Microsoft.
bool IsTrustedProcessCompany(std::string_view company, bool sunToo);

}  // namespace bastion
