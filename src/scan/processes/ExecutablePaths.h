// The executable definitions as the process scan compares them with running
// programs: one text of full paths, upper-cased, each entry followed by "|"
// and the whole preceded by "|" (|C:\WINDOWS\EVIL.EXE|\BAD.EXE|). A
// definition without a folder gives an entry that begins with the backslash
// and matches that file name in any folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/DefinitionRecords.h"
#include "definitions/PathTokens.h"

namespace bastion {

class ExecutablePathList {
public:
    // Adds the definition's folder (tokens expanded), "\" and file name,
    // with doubled backslashes reduced. A line without "=" adds nothing.
    void Add(const ExeRecord& record, const PathTokens& tokens);
    void Clear() {
        text_.clear();
        pieces_.clear();
        names_.clear();
    }
    // Upper-cases the whole list once it is complete, and notes its pieces
    // for Matches.
    void Finish();

    // True when the path (upper-cased) is an entry, or when an entry ends in
    // "\" + fileName, whatever its folder: a definition names a program by
    // its file name first, its folder only tells where it is usually found.
    bool Matches(std::string_view upperPath, std::string_view upperFileName) const;

    // "|" before the first entry, "|" after each; "" while empty.
    const std::string& Text() const { return text_; }

private:
    std::string_view PieceAt(std::uint32_t at) const;

    std::string text_;
    // Where each piece of the text between two "|" begins, and where the
    // part of each piece after its last "\" begins, each sorted by what
    // begins there: the memory shield looks every two seconds, and searching
    // a hundred thousand entries for each running program would cost more
    // than reading them.
    std::vector<std::uint32_t> pieces_;
    std::vector<std::uint32_t> names_;
};

// A module path in the forms the system also reports
// ("\SystemRoot\System32\x.exe", "\??\C:\WINDOWS\system32\x.exe") turned into an ordinary one:
// everything up to and including the last "SYSTEM32\" (any case) becomes
// the system folder and a backslash. Other paths come back unchanged.
std::string NormalizeSystem32Path(std::string_view path, std::string_view systemFolder);

// A running program's path as the process scan compares it: trimmed,
// upper-cased, its system32 forms made ordinary.
std::string NormalizedProcessPath(std::string_view modulePath, std::string_view systemFolder);

}  // namespace bastion
