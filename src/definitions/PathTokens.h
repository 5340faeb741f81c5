// The bracketed tokens that make definition paths machine-independent
// ("[windir]system32" is the Windows folder's system32 on any machine), and
// the drive root that readers put in for "[drive]".
//
// Readers expand the tokens on every definition line. The folders do not
// move while one load or one scan runs, so each operation resolves them once
// with PathTokens::Resolve and hands the table along; a line then costs no
// shell look-up at all.
#pragma once

#include <cstdint>
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
// through its item identifier list; the Windows folder's drive when the
// menu lies on a network share (a Start menu redirected to \\server\share).
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

    // A registry location as the registry and safety readers expand it:
    // "[drive]" (lower case only) by the drive root, then every token.
    std::string ExpandWithDriveRoot(std::string_view text) const;

    // The text expanded as a path: the tokens replaced and doubled
    // backslashes reduced ("[windir]\system32"), except the two that open a
    // network folder a token stands for (a Documents folder redirected to
    // \\server\share), which would otherwise name a folder on the current
    // drive. "[drive]" is left for the reader.
    void ExpandPathInto(std::string_view text, std::string& out) const;

    // Every place a definition's path names on this machine: "[drive]" as the
    // drive root, the tokens, doubled backslashes reduced as above; then, on
    // 64-bit Windows, the same place in the 32-bit twin when the path lies in
    // the program folder, its common files or the system folder, however it
    // is spelt ("[system]", "[windir]system32", "[drive]Windows\System32").
    std::vector<std::string> PathPlaces(std::string_view text) const;

    // The tokens that put the 32-bit program folders ("Program Files (x86)"
    // and its common files) in place of "[progfil]" and "[comprogfil]", when
    // the text names one and this machine has such a twin; nullptr otherwise
    // (always on 32-bit Windows). The system folder's twin is told by the
    // place itself: SystemFolderTwin.
    const PathTokens* ThirtyTwoBitPlace(std::string_view text) const;

    // The system folder and its 32-bit twin ("c:\windows\system32\",
    // "c:\windows\syswow64\"), lower-cased, each with a trailing "\"; both
    // empty where the system has no twin.
    struct FolderTwin {
        std::string native;
        std::string thirtyTwoBit;
    };
    const FolderTwin& SystemFolderTwin() const { return systemTwin_; }

    // A number that changes when any folder a token stands for changes:
    // what tables loaded with these tokens hold depends on nothing else of
    // them.
    std::uint64_t Fingerprint() const;

private:
    // Folder tokens with their replacement, in the order they are applied.
    std::vector<std::pair<std::string_view, std::string>> folders_;
    std::string user_;
    std::string allUsers_;
    std::string driveRoot_;
    // No folder text holds a "[": every token can then be found in the text
    // as given, in one pass.
    bool onePass_ = true;
    // The same tokens with the 32-bit program folders; none on 32-bit
    // Windows.
    std::shared_ptr<const PathTokens> thirtyTwoBit_;
    // Folders with a 32-bit twin, as the shell names them (no trailing
    // "\"), the longest first so that the common files come before the
    // program folder that holds them.
    std::vector<std::pair<std::string, std::string>> twins_;
    FolderTwin systemTwin_;

    bool ExpandInOnePass(std::string_view text, std::string& out) const;
    bool OpensWithNetworkFolder(std::string_view text) const;
};

// The text with every "[drive]", in any case, replaced by root (a drive root
// with its backslash, "C:\"), and the backslash written after it dropped:
// "[drive]SpyDir" and "[drive]\SpyDir" both name root followed by SpyDir.
std::string ReplaceDriveToken(std::string_view text, std::string_view root);

// Replaces the tokens in path, stores the result back and returns it.
std::string& ExpandPathTokens(std::string& path, const PathTokens& tokens);

}  // namespace bastion
