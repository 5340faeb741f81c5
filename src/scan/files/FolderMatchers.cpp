#include "scan/files/FolderMatchers.h"

#include <algorithm>
#include <array>

#include "common/PathParts.h"
#include "common/Rounding.h"
#include "common/Text.h"
#include "common/Utf.h"
#include "scan/files/CompanyName.h"

namespace bastion {

namespace {

// Executables with names this long are taken to be the definition's file
// wherever they lie.
constexpr std::size_t kLongNameLength = 16;

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    std::size_t pos = 0;
    char32_t cp = 0;
    while (NextCodePoint(text, pos, cp)) ++count;
    return count;
}

bool IsLongExecutableName(std::string_view name) {
    return CharacterCount(name) > kLongNameLength && ContainsIgnoreCase(name, ".exe");
}

std::string_view WithoutDrive(std::string_view path) {
    const std::size_t colon = path.find(':');
    if (colon == std::string_view::npos) return path;
    return path.substr(std::min(colon + 2, path.size()));
}

// The walked item's folder, lower-cased, and what the table rows are
// compared by.
struct WalkedItem {
    std::string folder;
    std::string drive;
    int depth = 0;
};

// A name (or a path's last name) as Win32 resolves it: blanks around it
// and dots after it do not count ("evil.exe " and "evil.exe." are opened as
// "evil.exe"), so a definition for that name finds them.
std::string AsWindowsResolvesIt(std::string_view name) {
    std::string resolved = Trim(name);
    while (!resolved.empty() && (resolved.back() == '.' || resolved.back() == ' ')) resolved.pop_back();
    return resolved;
}

// The root the path lies under ("c:\", or a share's "\\server\share\"),
// lower-cased: what "[drive]" stands for in the definitions matched against
// it, as it does for the known locations.
std::string DriveOf(std::string_view path) {
    return ToLower(RootOfPath(path));
}

WalkedItem Describe(std::string folder, std::string drive) {
    WalkedItem item;
    item.depth = static_cast<int>(std::count(folder.begin(), folder.end(), '\\'));
    item.folder = std::move(folder);
    item.drive = std::move(drive);
    return item;
}

// Whether the walked item's folder agrees with the folder a definition
// names, for a definition whose key equals the item's.
bool FolderAgrees(platform::SystemInfo& system, const WalkedItem& item, std::string_view definedFolder) {
    // "[drive]" is the item's own drive here, so that a definition for the
    // system folder on any drive passes the system-folder test below.
    std::string onDrive;
    if (HoldsDriveToken(definedFolder)) onDrive = ReplaceDriveToken(definedFolder, item.drive);
    const std::string_view rowFolder = onDrive.empty() ? definedFolder : std::string_view(onDrive);
    if (item.depth <= 1) {
        // An item in a drive root matches a definition for a drive root.
        return std::count(rowFolder.begin(), rowFolder.end(), '\\') == 1;
    }
    const int common = CommonTrailingFolders(item.folder, rowFolder);
    if (common <= 1) return false;
    // Deeper than three folders, two agreeing names are enough: the share of
    // agreeing names would otherwise keep a file at the very place its
    // definition names from matching.
    const long long ratio =
        item.depth <= 3 ? BankersRound(static_cast<double>(common) / static_cast<double>(item.depth)) : 1;
    if (ratio < 1) return false;
    const std::string systemFolder = system.SystemFolder() + "\\";
    return !ContainsIgnoreCase(item.folder, systemFolder) || ContainsIgnoreCase(rowFolder, systemFolder);
}

// An item in a system32, system or Windows folder is reported only by a
// definition that names that kind of folder. Only folder names count: a
// program called windowsupdater.exe is no Windows folder.
bool InFolderKindTheRowLacks(std::string_view itemFolder, std::string_view rowFolder) {
    for (std::string_view kind : {"system32", "system", "windows"}) {
        if (ContainsIgnoreCase(itemFolder, kind) && !ContainsIgnoreCase(rowFolder, kind)) return true;
    }
    return false;
}

// A folder (lower-case, ending with "\") in the system folder's 32-bit twin,
// on any drive, as it would lie in the system folder itself; "" for any
// other folder. A definition for the system folder means SysWOW64 as well,
// however it spells the folder ("[system]", "[windir]system32").
std::string InSystemFolder(const PathTokens::FolderTwin& twin, std::string_view folder) {
    if (twin.thirtyTwoBit.empty()) return {};
    const std::string_view below = WithoutDrive(folder);
    const std::string_view twinBelow = WithoutDrive(twin.thirtyTwoBit);
    if (!below.starts_with(twinBelow)) return {};
    std::string native(folder.substr(0, folder.size() - below.size()));
    return native.append(WithoutDrive(twin.native)).append(below.substr(twinBelow.size()));
}

}  // namespace

int CommonTrailingFolders(std::string_view a, std::string_view b) {
    const std::vector<std::string> partsA = Split(WithoutDrive(a), "\\");
    const std::vector<std::string> partsB = Split(WithoutDrive(b), "\\");
    const std::size_t lastA = partsA.size() - 1;
    const std::size_t lastB = partsB.size() - 1;
    int common = 0;
    for (std::size_t k = 0; k <= std::min(lastA, lastB); ++k) {
        const std::string& part = partsA[lastA - k];
        if (!part.empty() && part == partsB[lastB - k]) ++common;
    }
    return common;
}

bool MatchFoundFile(ScanContext& context, std::string_view path) {
    if (path.empty() || path == " ") return false;
    const std::size_t separator = path.rfind('\\');
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::string name = ToLower(AsWindowsResolvesIt(path.substr(nameStart)));
    const DefinitionTable& table = context.tables.Files();

    // Most walked files match no name: find that out before anything else.
    std::string drive = DriveOf(path);
    if (!table.HasMatch(name, drive)) return false;

    const WalkedItem item = Describe(ToLower(path.substr(0, nameStart)), std::move(drive));
    // Rare enough (only after a name matched) to be worked out per file.
    const std::string inSystem = InSystemFolder(context.tokens.SystemFolderTwin(), item.folder);
    const WalkedItem asInSystem = inSystem.empty() ? WalkedItem{} : Describe(inSystem, item.drive);
    auto agrees = [&](const DefinitionRow& definition) {
        return FolderAgrees(context.system, item, definition.folder) ||
               (!inSystem.empty() && FolderAgrees(context.system, asInSystem, definition.folder));
    };
    const bool longName = IsLongExecutableName(name);
    // Matched lower-cased, reported and removed as it is named on the disk.
    const std::string found(path);
    bool examined = false;
    bool added = false;
    table.ForEachMatch(name, item.drive, [&](std::size_t, const DefinitionRow& definition) {
        if (!longName && !agrees(definition)) return true;
        if (!examined) {
            // The same file for every row: examined once.
            if (context.safety.IsProtectedPath(found)) return false;
            if (context.exclusions.IsExcluded(found)) {
                context.state.AddExcluded(found);
                added = true;
                return false;
            }
            if (IsMicrosoftCompany(GetFileCompanyName(context.files, context.codePage, found))) return false;
            examined = true;
        }
        if (InFolderKindTheRowLacks(item.folder, definition.folder)) return true;
        ScanState& state = context.state;
        state.CountTrace();
        state.ReportDetection(DetectionKind::File, std::string(definition.threat), definition.type, found,
                              FileItem{found});
        added = true;
        return false;
    });
    return added;
}

void MatchFoundDirectory(ScanContext& context, std::string_view path) {
    std::string found(path);
    if (found.size() > 1 && found.back() == '\\') found.pop_back();
    const WalkedItem item = Describe(ToLower(AsWindowsResolvesIt(found)), DriveOf(path));
    const DefinitionTable& table = context.tables.Directories();
    bool examined = false;
    bool done = false;
    // The rows keyed by the folder as compared, which is the walked one or
    // the same folder as it would lie in the system folder.
    auto matchAs = [&](const WalkedItem& compared) {
        table.ForEachMatch(compared.folder, compared.drive, [&](std::size_t, const DefinitionRow& definition) {
            if (!FolderAgrees(context.system, compared, definition.folder)) return true;
            if (!examined) {
                if (context.safety.IsProtectedPath(found)) {
                    done = true;
                    return false;
                }
                if (context.exclusions.IsExcluded(found)) {
                    context.state.AddExcluded(found + "\\");
                    done = true;
                    return false;
                }
                // A folder has no version resource: the publisher test never
                // rejects one.
                examined = true;
            }
            if (InFolderKindTheRowLacks(item.folder, definition.folder)) return true;
            ScanState& state = context.state;
            state.CountTrace();
            const std::string threat(definition.threat);
            // Logged as its threat with the file icon; listed as a
            // directory.
            state.AddActivity(ActivityKind::File, threat, found);
            state.AddDetection(DetectionKind::Folder, threat + " Directory", definition.type, found, FileItem{found});
            CountOne(state.counters.itemsFound);
            done = true;
            return false;
        });
    };
    matchAs(item);
    if (done) return;
    const std::string inSystem = InSystemFolder(context.tokens.SystemFolderTwin(), item.folder + "\\");
    if (!inSystem.empty()) matchAs(Describe(inSystem.substr(0, inSystem.size() - 1), item.drive));
}

}  // namespace bastion
