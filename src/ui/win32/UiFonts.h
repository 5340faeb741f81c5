// The fonts of the program's windows at one dpi: "Segoe UI" where it is
// installed, "Tahoma" elsewhere (Wine ships it), in the few sizes and
// weights the windows use.
#pragma once

#include <array>
#include <string>

#include "ui/win32/GdiObjects.h"

namespace bastion::win32 {

enum class FontRole {
    Normal,   // 9 pt: controls and labels
    Strong,   // 9 pt semibold: values, selected navigation
    Heading,  // 14 pt: the title of a page
    Title,    // 15 pt bold: the product name in the header band
    Small,    // 8 pt: secondary captions
    Link,     // 9 pt underlined: a label or button that opens something
    StrongItalic,  // 9 pt semibold italic: a close mark under the pointer
    Count
};

class UiFonts {
public:
    // (Re)creates every font for the dpi; handles from before stay valid
    // until the next call, so windows must be given the new ones.
    void Create(int dpi);
    HFONT Get(FontRole role) const { return static_cast<HFONT>(fonts_[static_cast<int>(role)].Get()); }
    int Dpi() const { return dpi_; }

private:
    std::array<UniqueGdiObject, static_cast<int>(FontRole::Count)> fonts_;
    int dpi_ = 96;
};

// The face the windows use on this machine.
const std::wstring& UiFontFamily();

}  // namespace bastion::win32
