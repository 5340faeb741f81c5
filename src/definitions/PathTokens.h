// The bracketed tokens that make definition paths machine-independent
// ("[windir]system32" is the Windows folder's system32 on any machine), and
// the drive root that readers put in for "[drive]".
//
// Readers expand the tokens on every definition line. The folders do not
// move while one load or one scan runs, so each operation resolves them once
// with PathTokens::Resolve and hands the table along; a line then costs no
// shell look-up at all.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Shell.h"

namespace bastion {

// The folder's path followed by "\", or "" when the shell names no
// file-system path for it (the Recycle Bin, an unknown identifier).
std::string GetSpecialFolder(platform::Shell& shell, int csidl);

// The first three characters of the Programs menu folder ("C:\"), found
// through its item identifier list.
std::string GetDriveRoot(platform::Shell& shell);

class PathTokens {
public:
    // Every token expands to "" (a machine that names no folder).
    PathTokens();

    // Asks the shell once for each folder the tokens stand for and for the
    // drive root.
    static PathTokens Resolve(platform::Shell& shell);

    // The text with every token replaced. Folder tokens match ignoring case
    // ("[WinDir]"), "[user]" and "[alluser]" only in lower case; "[drive]"
    // is left for the reader.
    std::string Expand(std::string_view text) const;
    // The same into out (text must not lie in out), so that a reader
    // expanding line after line reuses one buffer.
    void ExpandInto(std::string_view text, std::string& out) const;

    // What "[drive]" stands for in the known-location, registry and safety
    // readers.
    const std::string& DriveRoot() const { return driveRoot_; }

    // The text as those readers expand it: "[drive]" (lower case only) by
    // the drive root, then every token.
    std::string ExpandWithDriveRoot(std::string_view text) const;

    // 64-bit Windows keeps 32-bit programs in twins of the program and
    // system folders ("Program Files (x86)", "SysWOW64"). When the text
    // names "[progfil]", "[comprogfil]" or "[system]" and this machine has
    // such a twin, the tokens that put the twins in their place; nullptr
    // otherwise (always on 32-bit Windows).
    const PathTokens* ThirtyTwoBitPlace(std::string_view text) const;
    // Every place the text may name here: its expansion, then the one with
    // the 32-bit folders when there is one.
    std::vector<std::string> ExpandPlaces(std::string_view text) const;
    // The same after "[drive]" became the drive root.
    std::vector<std::string> ExpandPlacesWithDriveRoot(std::string_view text) const;

private:
    // Folder tokens with their replacement, in the order they are applied.
    std::vector<std::pair<std::string_view, std::string>> folders_;
    std::string user_;
    std::string allUsers_;
    std::string driveRoot_;
    // No folder text holds a "[": every token can then be found in the text
    // as given, in one pass.
    bool onePass_ = true;
    // The same tokens with the 32-bit folders; none on 32-bit Windows.
    std::shared_ptr<const PathTokens> thirtyTwoBit_;

    bool ExpandInOnePass(std::string_view text, std::string& out) const;
};

// Replaces the tokens in path, stores the result back and returns it.
std::string& ExpandPathTokens(std::string& path, const PathTokens& tokens);

}  // namespace bastion
