// Registry backup files in the Registry Editor's "Windows Registry Editor
// Version 5.00" form: UTF-16 little-endian with a byte order mark, CR LF
// line ends, a "[HIVE\key]" line per key (subkeys included, so that an
// empty one comes back too) followed by its values, "@" naming the default
// value. A string is written in quotes (backslash and quote escaped) only
// when the quoted text gives back its exact bytes and holds no line break;
// every other value is "dword:" with eight hex digits, or "hex(n):" with
// its bytes ("hex:" for binary). The Registry Editor imports such a file
// as it stands ("regedit /s file.reg"), and so does ParseRegFile.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "removal/registry/RegistrySnapshot.h"

namespace bastion {

inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";

// The file's bytes; nullopt when an entry cannot be written in the form
// (a value name holding a line break has no written form).
std::optional<std::string> FormatRegFile(const RegistrySnapshot& snapshot);

// The entries of such a file (a UTF-16 file with its byte order mark, or a
// UTF-8 one); nullopt when it is not one, or names no key of a known hive.
std::optional<RegistrySnapshot> ParseRegFile(std::string_view bytes);

}  // namespace bastion
