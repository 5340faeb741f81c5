#include "support/RowByRowMatchers.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/Rounding.h"
#include "common/Text.h"
#include "common/Utf.h"
#include "scan/files/CompanyName.h"

namespace bastion::testing {

namespace {

long long Count(std::string_view text, char c) {
    return std::count(text.begin(), text.end(), c);
}

int Common(std::string a, std::string b) {
    for (std::string* s : {&a, &b}) {
        const std::size_t colon = s->find(':');
        if (colon != std::string::npos) *s = colon + 2 <= s->size() ? s->substr(colon + 2) : "";
    }
    const std::vector<std::string> pa = Split(a, "\\");
    const std::vector<std::string> pb = Split(b, "\\");
    const long long n = std::min<long long>(static_cast<long long>(pa.size()) - 1, static_cast<long long>(pb.size()) - 1);
    int common = 0;
    for (long long k = 0; k <= n; ++k) {
        const std::string& x = pa[pa.size() - 1 - static_cast<std::size_t>(k)];
        const std::string& y = pb[pb.size() - 1 - static_cast<std::size_t>(k)];
        if (x == y && !x.empty()) ++common;
    }
    return common;
}

// "[drive]" stands for the drive with its backslash; one written after the
// token is not doubled.
std::string OnDrive(std::string_view text, const std::string& drive) {
    return ReplaceAllIgnoreCase(ReplaceAllIgnoreCase(text, "[drive]\\", drive + "\\"), "[drive]", drive + "\\");
}

bool FolderTest(ScanContext& context, const std::string& folder, long long depth, std::string_view definedFolder) {
    const std::string drive = folder.substr(0, std::min(folder.find('\\'), folder.size()));
    const std::string rowFolder = OnDrive(definedFolder, drive);
    if (depth == 0 || depth == 1) return Count(rowFolder, '\\') == 1;
    const int common = Common(folder, rowFolder);
    if (common <= 1) return false;
    double ratio = 0;
    if (depth == 2 || depth == 3) {
        ratio = static_cast<double>(BankersRound(static_cast<double>(common) / static_cast<double>(depth)));
    } else if (depth > 3 && common >= 2) {
        ratio = 1;
    }
    if (ratio < 0.5) return false;
    const std::string system = context.system.SystemFolder() + "\\";
    if (ContainsIgnoreCase(folder, system) && !ContainsIgnoreCase(rowFolder, system)) return false;
    return true;
}

bool SkipForFolderKind(const std::string& found, std::string_view rowFolder) {
    for (const char* kind : {"system32", "system", "windows"}) {
        if (ContainsIgnoreCase(found, kind) && !ContainsIgnoreCase(rowFolder, kind)) return true;
    }
    return false;
}

// Blanks around a name and dots after it do not count, as Win32 opens it.
std::string AsOpened(std::string_view name) {
    std::string opened = Trim(name);
    while (!opened.empty() && (opened.back() == '.' || opened.back() == ' ')) opened.pop_back();
    return opened;
}

std::size_t Characters(std::string_view text) {
    std::size_t n = 0;
    std::size_t pos = 0;
    char32_t cp = 0;
    while (NextCodePoint(text, pos, cp)) ++n;
    return n;
}

// Every place of every row in row order (a row, then its 32-bit twin when
// it stands there too), until onPlace returns false.
template <typename OnPlace>
void ForEveryPlace(const DefinitionTable& table, OnPlace&& onPlace) {
    bool going = true;
    for (std::size_t i = 0; going && i < table.Size(); ++i) {
        table.ForEachPlace(i, [&](const DefinitionRow& place) {
            if (going) going = onPlace(place);
        });
    }
}

}  // namespace

void RowByRowMatchFoundFile(ScanContext& context, std::string_view path) {
    if (path.empty() || path == " ") return;
    const std::size_t last = path.rfind('\\');
    const std::string folder = last == std::string_view::npos ? "" : ToLower(path.substr(0, last + 1));
    const std::string name = ToLower(AsOpened(last == std::string_view::npos ? path : path.substr(last + 1)));
    const std::string drive = ToLower(path.substr(0, std::min(path.find('\\'), path.size())));
    const long long depth = Count(folder, '\\');
    const DefinitionTable& table = context.tables.Files();
    ForEveryPlace(table, [&](const DefinitionRow& row) {
        const std::string rowName = Trim(ToLower(OnDrive(row.name, drive)));
        if (rowName.empty() || rowName == " ") return true;
        if (rowName != name) return true;
        bool matches = Characters(name) > 16 && ContainsIgnoreCase(name, ".exe");
        if (!matches) matches = FolderTest(context, folder, depth, row.folder);
        if (!matches) return true;
        // Reported as walked, in its own case.
        const std::string found(path);
        if (context.safety.IsProtectedPath(found)) return false;
        if (context.exclusions.IsExcluded(found)) {
            context.state.AddExcluded(found);
            return false;
        }
        if (IsMicrosoftCompany(GetFileCompanyName(context.files, context.codePage, found))) return false;
        if (SkipForFolderKind(folder, row.folder)) return true;
        context.state.CountTrace();
        context.state.ReportDetection(DetectionKind::File, std::string(row.threat), row.type, found, FileItem{found});
        return false;
    });
}

void RowByRowMatchFoundDirectory(ScanContext& context, std::string_view path) {
    std::string found(path);
    if (found.size() > 1 && found.back() == '\\') found.pop_back();
    const std::string folder = ToLower(AsOpened(found));
    const std::string drive = ToLower(path.substr(0, std::min(path.find('\\'), path.size())));
    const long long depth = Count(folder, '\\');
    const DefinitionTable& table = context.tables.Directories();
    ForEveryPlace(table, [&](const DefinitionRow& row) {
        std::string rowFolder = Trim(ToLower(OnDrive(row.folder, drive)));
        if (rowFolder.empty() || rowFolder == " ") return true;
        if (rowFolder.size() > 1 && rowFolder.back() == '\\') rowFolder.pop_back();
        if (rowFolder != folder) return true;
        if (!FolderTest(context, folder, depth, row.folder)) return true;
        if (context.safety.IsProtectedPath(found)) return false;
        if (context.exclusions.IsExcluded(found)) {
            context.state.AddExcluded(found + "\\");
            return false;
        }
        if (IsMicrosoftCompany(GetFileCompanyName(context.files, context.codePage, found))) return false;
        if (SkipForFolderKind(folder, row.folder)) return true;
        const std::string threat(row.threat);
        context.state.CountTrace();
        context.state.AddActivity(ActivityKind::File, threat, found);
        context.state.AddDetection(DetectionKind::Folder, threat + " Directory", row.type, found, FileItem{found});
        CountOne(context.state.counters.itemsFound);
        return false;
    });
}

}  // namespace bastion::testing
