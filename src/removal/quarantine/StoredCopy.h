// How the quarantine keeps a file: a short header that says so, then every
// byte of the file XORed with one fixed key byte. A threat found by what its
// file holds is then not found again in the quarantine, by this program or
// another scanner, and nobody opens or runs a stored copy by mistake. Copies
// stored before were kept as they were; they restore as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/FolderHandle.h"

namespace bastion {

inline constexpr std::string_view kStoredCopyHeader = "BASTION QUARANTINED FILE\r\n\x1a";

// Turns original bytes into stored ones and back, in place.
void TransformStoredBytes(char* bytes, std::size_t size);

// Writes the header, then the bytes the reader gives, transformed; how many
// of the reader's bytes, nullopt when a write failed. (A read that fails
// ends the bytes: callers compare the count with the size they expect.)
std::optional<std::uint64_t> StoreTransformed(platform::FileReader& from, platform::FileWriter& to);

// The original bytes of a stored copy of storedSize bytes that stored reads
// from its start: the header taken away and the rest turned back, or a copy
// kept before as it is. originalSize is how many bytes the reader gives.
std::unique_ptr<platform::FileReader> OriginalBytes(platform::FileReader& stored, std::uint64_t storedSize,
                                                    std::uint64_t& originalSize);

}  // namespace bastion
