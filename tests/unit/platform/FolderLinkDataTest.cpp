// The reparse data of folder links, byte for byte as the file system keeps
// it (a mount point with its substitute and print names, a symbolic link
// with its flags).
#include "platform/FolderLinkData.h"

#include <gtest/gtest.h>

namespace bastion::platform {
namespace {

std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Word(unsigned value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }

// Tag, length, reserved; the name offsets and lengths; for a symbolic link
// its flags; then the names.
std::string Data(std::uint32_t tag, std::u16string_view substitute, std::u16string_view print, int flags = -1) {
    const std::string names = Utf16(substitute) + Word(0) + Utf16(print) + Word(0);
    std::string fields = Word(0) + Word(static_cast<unsigned>(substitute.size() * 2)) +
                         Word(static_cast<unsigned>(substitute.size() * 2 + 2)) +
                         Word(static_cast<unsigned>(print.size() * 2));
    if (flags >= 0) fields += Word(static_cast<unsigned>(flags)) + Word(0);
    const std::string data = fields + names;
    return Word(tag & 0xFFFF) + Word(tag >> 16) + Word(static_cast<unsigned>(data.size())) + Word(0) + data;
}

TEST(FolderLinkData, JunctionsAndSymbolicLinksReadAsTheirTargetsAndJunctionsWriteSo) {
    const struct {
        std::string data;
        std::optional<FolderLink> link;
    } cases[] = {
        {Data(kReparseTagMountPoint, u"\\??\\C:\\Users\\me", u"C:\\Users\\me"),
         FolderLink{FolderLinkKind::Junction, "C:\\Users\\me"}},
        {Data(kReparseTagMountPoint, u"\\??\\Volume{0123}\\", u""),
         FolderLink{FolderLinkKind::Junction, "\\\\?\\Volume{0123}\\"}},
        {Data(kReparseTagSymbolicLink, u"\\??\\D:\\Target", u"D:\\Target", 0),
         FolderLink{FolderLinkKind::SymbolicLink, "D:\\Target"}},
        {Data(kReparseTagSymbolicLink, u"..\\Other", u"..\\Other", 1),
         FolderLink{FolderLinkKind::SymbolicLink, "..\\Other"}},
        {Data(kReparseTagSymbolicLink, u"\\??\\UNC\\server\\share", u"", 0),
         FolderLink{FolderLinkKind::SymbolicLink, "\\\\server\\share"}},
        // Another kind of reparse point, a name past the end, no name.
        {Data(0x8000001Bu, u"\\??\\C:\\x", u""), std::nullopt},
        {Data(kReparseTagMountPoint, u"\\??\\C:\\x", u"").substr(0, 20), std::nullopt},
        {Data(kReparseTagMountPoint, u"", u""), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeFolderLinkData(c.data), c.link) << c.data.size();

    EXPECT_EQ(EncodeJunctionData({FolderLinkKind::Junction, "C:\\Users\\me"}),
              cases[0].data);
    EXPECT_EQ(DecodeFolderLinkData(*EncodeJunctionData({FolderLinkKind::Junction, "\\\\?\\Volume{0123}\\"})),
              cases[1].link);
    EXPECT_FALSE(EncodeJunctionData({FolderLinkKind::Junction, "..\\Other"}));
    EXPECT_FALSE(EncodeJunctionData({FolderLinkKind::SymbolicLink, "C:\\x"}));
}

}  // namespace
}  // namespace bastion::platform
