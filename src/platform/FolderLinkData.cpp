#include "platform/FolderLinkData.h"

#include <cstdint>

#include "common/PathParts.h"
#include "common/Text.h"
#include "common/Utf.h"

namespace bastion::platform {

namespace {

// The tag, the length of what follows the header, a reserved word.
constexpr std::size_t kHeaderSize = 8;
// Substitute name offset and length, print name offset and length.
constexpr std::size_t kNameFieldsSize = 8;
constexpr std::uint32_t kSymbolicLinkRelative = 1;
// MAXIMUM_REPARSE_DATA_BUFFER_SIZE.
constexpr std::size_t kMaxReparseData = 16 * 1024;
// The object manager's name of a DOS path.
constexpr std::string_view kNtPrefix = "\\??\\";

std::uint32_t ReadLittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

void WriteLittleEndian(std::string& bytes, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::optional<std::string> ReadName(std::string_view path, std::size_t offset, std::size_t length) {
    if (offset % 2 != 0 || length % 2 != 0 || offset > path.size() || length > path.size() - offset) {
        return std::nullopt;
    }
    std::u16string units;
    for (std::size_t i = offset; i < offset + length; i += 2) {
        units.push_back(static_cast<char16_t>(ReadLittleEndian(path, i, 2)));
    }
    return Utf16ToUtf8(units);
}

std::string Utf16Bytes(std::string_view text) {
    std::string bytes;
    for (char16_t unit : Utf8ToUtf16(text)) WriteLittleEndian(bytes, unit, 2);
    return bytes;
}

// "\??\C:\x" is "C:\x", "\??\UNC\server\share" is "\\server\share" and
// "\??\Volume{...}\" is "\\?\Volume{...}\".
std::optional<std::string> DosTarget(const std::string& substitute) {
    if (!StartsWith(substitute, kNtPrefix)) return std::nullopt;
    const std::string rest = substitute.substr(kNtPrefix.size());
    if (IsDrivePath(rest)) return rest;
    if (StartsWithIgnoreCase(rest, "UNC\\")) return "\\\\" + rest.substr(4);
    if (StartsWithIgnoreCase(rest, "Volume{")) return "\\\\?\\" + rest;
    return std::nullopt;
}

}  // namespace

std::optional<FolderLink> DecodeFolderLinkData(std::string_view bytes) {
    if (bytes.size() < kHeaderSize + kNameFieldsSize) return std::nullopt;
    const std::uint32_t tag = ReadLittleEndian(bytes, 0, 4);
    const std::size_t dataLength = ReadLittleEndian(bytes, 4, 2);
    if (dataLength > bytes.size() - kHeaderSize) return std::nullopt;
    const std::string_view data = bytes.substr(kHeaderSize, dataLength);
    if (data.size() < kNameFieldsSize) return std::nullopt;
    const std::size_t substituteOffset = ReadLittleEndian(data, 0, 2);
    const std::size_t substituteLength = ReadLittleEndian(data, 2, 2);
    FolderLink link;
    std::size_t pathStart = kNameFieldsSize;
    std::uint32_t flags = 0;
    if (tag == kReparseTagMountPoint) {
        link.kind = FolderLinkKind::Junction;
    } else if (tag == kReparseTagSymbolicLink) {
        if (data.size() < kNameFieldsSize + 4) return std::nullopt;
        link.kind = FolderLinkKind::SymbolicLink;
        flags = ReadLittleEndian(data, kNameFieldsSize, 4);
        pathStart += 4;
    } else {
        return std::nullopt;
    }
    std::optional<std::string> substitute = ReadName(data.substr(pathStart), substituteOffset, substituteLength);
    if (!substitute || substitute->empty()) return std::nullopt;
    if (link.kind == FolderLinkKind::SymbolicLink && (flags & kSymbolicLinkRelative) != 0) {
        link.target = std::move(*substitute);
        return link;
    }
    std::optional<std::string> target = DosTarget(*substitute);
    if (!target) return std::nullopt;
    link.target = std::move(*target);
    return link;
}

std::optional<std::string> EncodeJunctionData(const FolderLink& link) {
    if (link.kind != FolderLinkKind::Junction) return std::nullopt;
    std::string substitute;
    std::string print;
    if (IsDrivePath(link.target)) {
        substitute = std::string(kNtPrefix) + link.target;
        print = link.target;
    } else if (StartsWithIgnoreCase(link.target, "\\\\?\\Volume{")) {
        substitute = std::string(kNtPrefix) + link.target.substr(4);
    } else {
        return std::nullopt;
    }
    // Each name is followed by a NUL that the lengths leave out.
    const std::string substituteBytes = Utf16Bytes(substitute);
    const std::string printBytes = Utf16Bytes(print);
    std::string names = substituteBytes + std::string(2, '\0') + printBytes + std::string(2, '\0');
    if (kHeaderSize + kNameFieldsSize + names.size() > kMaxReparseData) return std::nullopt;
    std::string bytes;
    WriteLittleEndian(bytes, kReparseTagMountPoint, 4);
    WriteLittleEndian(bytes, static_cast<std::uint32_t>(kNameFieldsSize + names.size()), 2);
    WriteLittleEndian(bytes, 0, 2);
    WriteLittleEndian(bytes, 0, 2);
    WriteLittleEndian(bytes, static_cast<std::uint32_t>(substituteBytes.size()), 2);
    WriteLittleEndian(bytes, static_cast<std::uint32_t>(substituteBytes.size() + 2), 2);
    WriteLittleEndian(bytes, static_cast<std::uint32_t>(printBytes.size()), 2);
    return bytes + names;
}

}  // namespace bastion::platform
