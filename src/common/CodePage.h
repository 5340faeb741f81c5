// The system's 8-bit code page, in which definition files, exclusions, logs
// and reports are stored. Text inside the program is UTF-8; files are
// converted at their boundary.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace bastion {

class CodePage {
public:
    virtual ~CodePage() = default;
    virtual unsigned Id() const = 0;
    // Code-page bytes to UTF-8. Every byte maps to a character.
    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    // UTF-8 to code-page bytes; characters the code page lacks become '?'.
    virtual std::string FromUtf8(std::string_view text) const = 0;
};

// Windows-1252 (Western European), the default natively.
const CodePage& Windows1252();

// A portable implementation of a code page, or nullptr when this build has
// no table for it (natively only 1252, 28591 and 65001 are known).
std::unique_ptr<CodePage> MakePortableCodePage(unsigned id);

}  // namespace bastion
