// The shift every stored definition line carries. It works on the line's
// bytes in the system code page, before they are converted to text on
// reading and after text is converted to them on writing. The shift is
// modulo 255, not 256: bytes 0 and 255 both encode as 64, which decodes as 0;
// the bytes that would encode as LF or CR (201 and 204) cannot be stored.
#pragma once

#include <string>
#include <string_view>

namespace bastion {

std::string EncodeDefinitionText(std::string_view bytes);
std::string DecodeDefinitionText(std::string_view bytes);

// One byte's stored form, as EncodeDefinitionText shifts it.
constexpr char EncodedDefinitionByte(char plain) {
    const int shifted = static_cast<unsigned char>(plain) + 64;
    return static_cast<char>(shifted < 256 ? shifted : shifted - 255);
}

// The stored forms of the separators "|" and "=", found in a stored line
// without decoding it.
inline constexpr char kStoredFieldSeparator = EncodedDefinitionByte('|');
inline constexpr char kStoredNameSeparator = EncodedDefinitionByte('=');

}  // namespace bastion
