// The file and directory tables saved as they lie in memory, so that a
// later run maps the saved file and reads the tables from it where they
// lie, instead of reading every definition line again and filling fresh
// memory with the result. Loading a hundred thousand lines costs many times
// what reading them does; mapping the image costs about one read of it.
//
// An image holds what the tables were loaded from (its key: the definition
// files' stamps, the safety list, the path tokens, the code page), and is
// used only when all of that is still the same. It is checked whole before
// use: a torn, damaged or forged image is ignored (and saved again by the
// next load), never read past its end.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "definitions/DefinitionTables.h"
#include "platform/FileSystem.h"

namespace bastion {

// What a saved image was loaded from; numbers that change when any of it
// changes.
struct TablesImageKey {
    std::array<std::uint64_t, 8> parts{};
    friend bool operator==(const TablesImageKey&, const TablesImageKey&) = default;
};

// Saves both tables (loaded whole) at path, through a file of its own
// renamed over it, so that no reader meets half an image. False when it
// could not be written.
bool SaveTablesImage(platform::FileSystem& files, const std::string& path, const DefinitionTables& tables,
                     const TablesImageKey& key);

// Reads both tables from the image at path when it was saved with this key
// and is whole: the tables then read from the mapped file, which they keep.
// False, and the tables empty, otherwise.
bool LoadTablesImage(platform::FileSystem& files, const std::string& path, DefinitionTables& tables,
                     const TablesImageKey& key, const PathTokens& tokens);

// The checksum an image's header holds, of the bytes after its first
// sixteen: for checks that damage under a right checksum is refused too.
std::uint64_t TablesImageChecksum(std::string_view body);

}  // namespace bastion
