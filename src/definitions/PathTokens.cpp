#include "definitions/PathTokens.h"

#include <algorithm>
#include <array>
#include <map>

#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

struct FolderToken {
    std::string_view token;
    int csidl;
};

namespace csidl = platform::csidl;

// Applied in this order; a later token is also found inside the folder text
// that an earlier one put in.
constexpr std::array<FolderToken, 28> kFolderTokens{{
    {"[startsp]", csidl::kAltStartup},
    {"[appdata]", csidl::kAppData},
    {"[recycle]", csidl::kBitBucket},
    {"[comstar]", csidl::kCommonAltStartup},
    {"[comapp]", csidl::kCommonAppData},
    {"[desktop]", csidl::kCommonDesktopDirectory},
    {"[comdocs]", csidl::kCommonDocuments},
    {"[comfav]", csidl::kCommonFavorites},
    {"[comprog]", csidl::kCommonPrograms},
    {"[comstam]", csidl::kCommonStartMenu},
    {"[comtemp]", csidl::kCommonTemplates},
    {"[cookies]", csidl::kCookies},
    {"[comdesk]", csidl::kDesktopDirectory},
    {"[favorit]", csidl::kFavorites},
    {"[fonts]", csidl::kFonts},
    {"[history]", csidl::kHistory},
    {"[netcach]", csidl::kInternetCache},
    {"[progs]", csidl::kPrograms},
    {"[progfil]", csidl::kProgramFiles},
    {"[comprogfil]", csidl::kProgramFilesCommon},
    {"[personl]", csidl::kPersonal},
    {"[recent]", csidl::kRecent},
    {"[sendto]", csidl::kSendTo},
    {"[startup]", csidl::kStartup},
    {"[strtmnu]", csidl::kStartMenu},
    {"[system]", csidl::kSystem},
    {"[templat]", csidl::kTemplates},
    {"[windir]", csidl::kWindows},
}};

// Folders whose 32-bit twin a definition means as well. The program
// folders' twins are also put in by token (ThirtyTwoBitPlace).
struct TwinFolder {
    std::string_view token;
    int csidl;
    int thirtyTwoBitCsidl;
};
constexpr std::array<TwinFolder, 3> kTwinFolders{{
    {"[progfil]", csidl::kProgramFiles, csidl::kProgramFilesX86},
    {"[comprogfil]", csidl::kProgramFilesCommon, csidl::kProgramFilesCommonX86},
    {"[system]", csidl::kSystem, csidl::kSystemX86},
}};
constexpr std::string_view kSystemToken = "[system]";
constexpr std::string_view kDriveToken = "[drive]";

constexpr std::string_view kUserToken = "[user]";
constexpr std::string_view kAllUsersToken = "[alluser]";

// Where the system names no profile folder, it is taken to be the Start
// menu folder's parent.
std::string ProfileFromStartMenu(std::string_view startMenu) {
    return ReplaceAllIgnoreCase(startMenu, "\\Start Menu", "");
}

std::string AllUsersProfile(platform::Shell& shell, const std::string& commonStartMenu) {
    std::string profile = shell.AllUsersProfilePath().value_or(std::string());
    profile = profile.substr(0, profile.find('\0'));
    while (!profile.empty() && profile.back() == '\\') profile.pop_back();
    return profile.empty() ? ProfileFromStartMenu(commonStartMenu) : profile + "\\";
}

// Every token begins with "[", which no other character matches in any
// case, so only the places of "[" need a look.
bool HoldsTokenIgnoreCase(std::string_view text, std::string_view token) {
    for (std::size_t at = FindByte(text, '['); at != std::string_view::npos; at = FindByte(text, '[', at + 1)) {
        if (StartsWithIgnoreCase(text.substr(at), token)) {
            return true;
        }
    }
    return false;
}

void ReplaceIn(std::string& text, std::string_view token, const std::string& folder, bool ignoreCase) {
    if (ignoreCase) {
        if (HoldsTokenIgnoreCase(text, token)) {
            text = ReplaceAllIgnoreCase(text, token, folder);
        }
    } else if (text.find(token) != std::string::npos) {
        text = ReplaceAll(text, token, folder);
    }
}

bool MayHoldToken(const std::string& text) {
    return FindByte(text, '[') != std::string::npos;
}

std::string WithoutTrailingBackslash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

// The path lies in the folder, or is the folder ("C:\A" for "C:\A\b", not
// for "C:\AB"): the length of the folder's part, or 0.
std::size_t InFolder(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() < folder.size() || !EqualsIgnoreCase(path.substr(0, folder.size()), folder)) {
        return 0;
    }
    return path.size() == folder.size() || path[folder.size()] == '\\' ? folder.size() : 0;
}

}  // namespace

std::string GetSpecialFolder(platform::Shell& shell, int csidl) {
    std::optional<std::string> path = shell.SpecialFolderPath(csidl);
    if (!path) {
        return {};
    }
    std::string folder = path->substr(0, path->find('\0'));
    // An empty answer names no folder; "\" alone would root the definition
    // path on whatever drive is current.
    if (folder.empty()) {
        return {};
    }
    return folder + "\\";
}

std::string GetDriveRoot(platform::Shell& shell) {
    std::string path = shell.ProgramsFolderFromIdList().value_or(std::string());
    path = path.substr(0, path.find('\0'));
    if (!EndsWith(path, "\\")) {
        path += "\\";
    }
    std::string root = path.substr(0, 3);
    if (IsDrivePath(root)) return root;
    // A Start menu redirected to a network share names no drive: its first
    // characters ("\\s") would make every "[drive]" path name nothing.
    const std::string windows = shell.SpecialFolderPath(csidl::kWindows).value_or(std::string());
    return IsDrivePath(windows) ? windows.substr(0, 3) : root;
}

PathTokens::PathTokens() {
    folders_.reserve(kFolderTokens.size());
    for (const FolderToken& entry : kFolderTokens) {
        folders_.emplace_back(entry.token, std::string());
    }
}

PathTokens PathTokens::Resolve(platform::Shell& shell) {
    std::map<int, std::string> looked;
    auto folder = [&](int id) -> const std::string& {
        auto found = looked.find(id);
        if (found == looked.end()) {
            found = looked.emplace(id, GetSpecialFolder(shell, id)).first;
        }
        return found->second;
    };

    PathTokens tokens;
    for (std::size_t i = 0; i < kFolderTokens.size(); ++i) {
        tokens.folders_[i].second = folder(kFolderTokens[i].csidl);
    }
    const std::string& profile = folder(csidl::kProfile);
    tokens.user_ = profile.empty() ? ProfileFromStartMenu(folder(csidl::kStartMenu)) : profile;
    tokens.allUsers_ = AllUsersProfile(shell, folder(csidl::kCommonStartMenu));
    tokens.driveRoot_ = GetDriveRoot(shell);
    tokens.onePass_ = !MayHoldToken(tokens.user_) && !MayHoldToken(tokens.allUsers_);
    for (const auto& [token, replacement] : tokens.folders_) {
        tokens.onePass_ = tokens.onePass_ && !MayHoldToken(replacement);
    }

    PathTokens thirtyTwoBit = tokens;
    bool twinned = false;
    for (const TwinFolder& twin : kTwinFolders) {
        const std::string& own = folder(twin.csidl);
        const std::string& other = folder(twin.thirtyTwoBitCsidl);
        if (own.empty() || other.empty() || EqualsIgnoreCase(own, other)) continue;
        tokens.twins_.emplace_back(WithoutTrailingBackslash(own), WithoutTrailingBackslash(other));
        if (twin.token == kSystemToken) {
            tokens.systemTwin_ = {ToLower(own), ToLower(other)};
            continue;
        }
        for (auto& [token, replacement] : thirtyTwoBit.folders_) {
            if (token == twin.token) replacement = other;
        }
        thirtyTwoBit.onePass_ = thirtyTwoBit.onePass_ && !MayHoldToken(other);
        twinned = true;
    }
    std::stable_sort(tokens.twins_.begin(), tokens.twins_.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    if (twinned) tokens.thirtyTwoBit_ = std::make_shared<const PathTokens>(std::move(thirtyTwoBit));
    return tokens;
}

const PathTokens* PathTokens::ThirtyTwoBitPlace(std::string_view text) const {
    if (!thirtyTwoBit_) return nullptr;
    // Asked for every definition line: the letter after each "[" rules out
    // most tokens before a full comparison.
    for (std::size_t at = FindByte(text, '['); at != std::string_view::npos; at = FindByte(text, '[', at + 1)) {
        const std::string_view rest = text.substr(at);
        if (rest.size() < 2) break;
        for (const TwinFolder& twin : kTwinFolders) {
            if (twin.token != kSystemToken && (rest[1] | 0x20) == twin.token[1] &&
                StartsWithIgnoreCase(rest, twin.token)) {
                return thirtyTwoBit_.get();
            }
        }
    }
    return nullptr;
}

bool PathTokens::OpensWithNetworkFolder(std::string_view text) const {
    if (!text.starts_with('[')) return false;
    const std::size_t close = text.find(']');
    return close != std::string_view::npos && IsNetworkPath(Expand(text.substr(0, close + 1)));
}

void PathTokens::ExpandPathInto(std::string_view text, std::string& out) const {
    ExpandInto(text, out);
    if (FindBackslashPair(out) == std::string::npos) return;
    if (IsNetworkPath(out) && OpensWithNetworkFolder(text)) {
        // The first backslash of the pair stays out of the reduction.
        std::string rest = out.substr(1);
        CollapseBackslashesInPlace(rest);
        out.assign(1, '\\').append(rest);
        return;
    }
    CollapseBackslashesInPlace(out);
}

std::vector<std::string> PathTokens::PathPlaces(std::string_view text) const {
    std::vector<std::string> places(1);
    ExpandPathInto(ReplaceDriveToken(text, driveRoot_), places.front());
    const std::string& path = places.front();
    for (const auto& [own, thirtyTwoBit] : twins_) {
        if (const std::size_t length = InFolder(path, own)) {
            places.push_back(thirtyTwoBit + path.substr(length));
            break;
        }
    }
    return places;
}

// Replaces the tokens as they stand in the text, left to right. When no
// folder text holds a "[", the pass replaces exactly what replacing token by
// token in table order replaces, unless removing a token joins the text
// around it into another token ("[win[recycle]dir]"): then a "[" is left
// and the caller replaces token by token. False when a "[" is left.
bool PathTokens::ExpandInOnePass(std::string_view text, std::string& out) const {
    constexpr std::size_t kLongestToken = 12;
    out.clear();
    std::size_t from = 0;
    for (std::size_t at = FindByte(text, '['); at != std::string_view::npos; at = FindByte(text, '[', from)) {
        out.append(text.substr(from, at - from));
        const std::size_t close = FindByte(text, ']', at);
        const std::size_t length = close == std::string_view::npos ? 0 : close - at + 1;
        const std::string* replacement = nullptr;
        if (length > 0 && length <= kLongestToken) {
            const std::string_view candidate = text.substr(at, length);
            char lower[kLongestToken];
            for (std::size_t i = 0; i < length; ++i) {
                const char c = candidate[i];
                lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            }
            const std::string_view folded(lower, length);
            for (const auto& [token, folder] : folders_) {
                // The letter after "[" tells most tokens of one length apart
                // before a full comparison.
                if (token.size() == length && token[1] == folded[1] && token == folded) {
                    replacement = &folder;
                    break;
                }
            }
            if (!replacement && candidate == kUserToken) replacement = &user_;
            if (!replacement && candidate == kAllUsersToken) replacement = &allUsers_;
        }
        if (!replacement) {
            return false;
        }
        out.append(*replacement);
        from = at + length;
    }
    out.append(text.substr(from));
    return !MayHoldToken(out);
}

std::string PathTokens::Expand(std::string_view text) const {
    std::string out;
    ExpandInto(text, out);
    return out;
}

void PathTokens::ExpandInto(std::string_view text, std::string& out) const {
    if (onePass_ && ExpandInOnePass(text, out)) {
        return;
    }
    out.assign(text);
    // Every token begins with "[": most definition lines have none left
    // after their one token is replaced, and then nothing more can match.
    for (const auto& [token, folder] : folders_) {
        if (!MayHoldToken(out)) {
            return;
        }
        ReplaceIn(out, token, folder, true);
    }
    if (MayHoldToken(out)) {
        ReplaceIn(out, kUserToken, user_, false);
    }
    if (MayHoldToken(out)) {
        ReplaceIn(out, kAllUsersToken, allUsers_, false);
    }
}

std::uint64_t PathTokens::Fingerprint() const {
    // Every text followed by a byte no path holds, so that no two lists of
    // texts run together into one.
    std::string all;
    auto add = [&](std::string_view text) { all.append(text).push_back('\0'); };
    for (const auto& [token, folder] : folders_) add(token), add(folder);
    add(user_), add(allUsers_), add(driveRoot_), add(onePass_ ? "1" : "0");
    for (const auto& [own, thirtyTwoBit] : twins_) add(own), add(thirtyTwoBit);
    add(systemTwin_.native), add(systemTwin_.thirtyTwoBit);
    const std::uint64_t own = std::hash<std::string_view>{}(all);
    return thirtyTwoBit_ ? own ^ (thirtyTwoBit_->Fingerprint() * 0x9E3779B97F4A7C15ull) : own;
}

std::string PathTokens::ExpandWithDriveRoot(std::string_view text) const {
    return Expand(ReplaceAll(text, kDriveToken, driveRoot_));
}

std::string ReplaceDriveToken(std::string_view text, std::string_view root) {
    if (!HoldsTokenIgnoreCase(text, kDriveToken)) return std::string(text);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = FindIgnoreCase(text, kDriveToken); at != std::string_view::npos;
         at = FindIgnoreCase(text, kDriveToken, from)) {
        out.append(text.substr(from, at - from)).append(root);
        from = at + kDriveToken.size();
        if (EndsWith(root, "\\") && from < text.size() && text[from] == '\\') ++from;
    }
    return out.append(text.substr(from));
}

std::string& ExpandPathTokens(std::string& path, const PathTokens& tokens) {
    path = tokens.Expand(path);
    return path;
}

}  // namespace bastion
