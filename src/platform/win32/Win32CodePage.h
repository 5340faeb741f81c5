// An 8-bit (or double-byte) Windows code page through the system's own
// conversion tables; by default the ANSI code page of the machine.
#pragma once

#include "common/CodePage.h"

namespace bastion::win32 {

class Win32CodePage final : public CodePage {
public:
    // The machine's ANSI code page (GetACP).
    Win32CodePage();
    explicit Win32CodePage(unsigned id);

    unsigned Id() const override;
    std::string ToUtf8(std::string_view bytes) const override;
    std::string FromUtf8(std::string_view text) const override;

private:
    unsigned id_;
};

}  // namespace bastion::win32
