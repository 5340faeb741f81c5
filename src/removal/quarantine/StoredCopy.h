// How the quarantine keeps a file: a short header that says so, then every
// byte of the file XORed with one fixed key byte. A threat found by what its
// file holds is then not found again in the quarantine, by this program or
// another scanner, and nobody opens or runs a stored copy by mistake. Copies
// stored before were kept as they were; they restore as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bastion {

inline constexpr std::string_view kStoredCopyHeader = "BASTION QUARANTINED FILE\r\n\x1a";

// Turns original bytes into stored ones and back, in place.
void TransformStoredBytes(char* bytes, std::size_t size);

// Writes the header and the file's bytes, transformed, to the file at to
// (replacing what it holds). False when the file could not be read to its
// end or the copy was not written whole.
bool StoreTransformedCopy(platform::FileSystem& files, const std::string& from, const std::string& to);

// Puts the original bytes of the stored copy, and its attributes, at to,
// through a temporary file beside it that then takes its place. False when
// the copy could not be read whole or the file not written.
bool RestoreStoredCopy(platform::FileSystem& files, const std::string& stored, const std::string& to);

}  // namespace bastion
