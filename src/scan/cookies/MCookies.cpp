#include "scan/cookies/MCookies.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "scan/cookies/CookieRecords.h"
#include "scan/state/ScanPercent.h"

namespace bastion {

namespace {

constexpr std::string_view kUnknownDomain = "False";

// "a.b.c" becomes "a.b": the last label of a domain is not compared.
std::string DropLastLabel(std::string_view text) {
    const std::size_t dot = text.rfind('.');
    return std::string(dot == std::string_view::npos ? text : text.substr(0, dot));
}

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ChildPath(const std::string& folder, const std::string& name) {
    return EndsWith(folder, "\\") ? folder + name : folder + "\\" + name;
}

// The domain from the first field (fields end at a comma or a line end)
// that holds the name's domain and a "/" after it.
std::string DomainFromFields(std::string_view text, std::string_view nameDomain) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(",\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view field = text.substr(start, end - start);
        if (const std::size_t at = field.find(nameDomain); at != std::string_view::npos) {
            field.remove_prefix(at);
            if (const std::size_t slash = field.find('/'); slash != std::string_view::npos) {
                return std::string(field.substr(0, slash));
            }
        }
        start = end + 1;
    }
    return std::string(kUnknownDomain);
}

// The files of the folder in listing order; none when it cannot be listed.
std::vector<std::string> CookieFiles(platform::FileSystem& files, const std::string& folder) {
    std::vector<std::string> names;
    if (std::optional<platform::DirListing> listing = files.ListDirectory(folder)) {
        for (const platform::DirEntry& entry : listing->entries) {
            if ((entry.attributes & platform::kAttrDirectory) == 0) names.push_back(entry.name);
        }
    }
    return names;
}

// The domain as the blocked entries are compared with it: its last label
// and a leading "www." dropped.
std::string ComparedDomain(std::string domain) {
    domain = DropLastLabel(domain);
    if (StartsWithIgnoreCase(domain, "www.")) domain.erase(0, 4);
    return domain;
}

}  // namespace

void ScanCookies(ScanContext& context, std::int32_t& filesExamined) {
    const std::string folder = GetShellFolderPath(context.shell, platform::csidl::kCookies);
    if (Trim(folder).empty()) return;
    ScanCookieFolder(context, folder, filesExamined);
}

std::string GetShellFolderPath(platform::Shell& shell, int folderId) {
    return shell.SpecialFolderPath(folderId).value_or("");
}

std::vector<std::string> ReadBlockedCookies(ScanContext& context) {
    std::string text;
    const bool read = ReadDefinitionLines(context.files, context.codePage,
                                          DataFilePath(context.dataFolder, datafile::kBlockedCookies),
                                          [&](const std::string& line) {
                                              text.append(line).append("|");
                                              return true;
                                          });
    if (!read) return {};
    return Split(text, "|");
}

void ScanCookieFolder(ScanContext& context, const std::string& folder, std::int32_t& filesExamined) {
    ScanState& state = context.state;
    const std::vector<std::string> blocked = ReadBlockedCookies(context);
    const std::vector<std::string> names = CookieFiles(context.files, folder);
    // The phase's own bar moves by the files of the folder. The processes
    // counter is the process scan's alone: the cookies leave it alone.
    std::int32_t examinedHere = 0;

    for (const std::string& name : names) {
        if (state.StopRequested()) return;
        CountOne(filesExamined);
        state.ShowProgress(state.PhaseCaption() + "\r\n" + name,
                           Percent(examinedHere, static_cast<long long>(names.size())), -1);
        CountOne(examinedHere);

        const std::string path = ChildPath(folder, name);
        const std::string domain = ComparedDomain(GetCookieDomain(context.files, context.codePage, path));

        if (IsBlockedCookieDomain(blocked, domain)) {
            if (context.exclusions.IsExcluded(path)) {
                state.AddExcluded(path);
            } else {
                state.AddActivity(ActivityKind::Cookie, "Cookie", name);
                // Outside a scan there is no removal to find it for.
                if (!state.ScanInProgress()) return;
                state.AddDetection(DetectionKind::Cookie, name, "Tracking Cookie", path, CookieItem{path});
                CountOne(state.counters.filesInspected);
            }
        }
        context.pump.Pump();
    }
}

std::string CookieNameToDomain(std::string_view fileName) {
    const std::size_t at = fileName.find('@');
    if (at == std::string_view::npos) return {};
    std::string_view rest = fileName.substr(at + 1);
    if (const std::size_t paren = rest.find('('); paren != std::string_view::npos) {
        return std::string(rest.substr(0, paren));
    }
    if (const std::size_t bracket = rest.find('['); bracket != std::string_view::npos) {
        return std::string(rest.substr(0, bracket));
    }
    const std::size_t dot = rest.rfind('.');
    return std::string(dot == std::string_view::npos ? rest : rest.substr(0, dot));
}

std::string GetCookieDomain(platform::FileSystem& files, const CodePage& codePage, const std::string& cookiePath) {
    // The name alone: a folder above the cookie may hold "@" too.
    const std::string name = FileNameOf(cookiePath);
    const bool named = Contains(name, "@");
    const std::string nameDomain = CookieNameToDomain(name);
    if (named && nameDomain.empty()) return std::string(kUnknownDomain);

    std::optional<std::string> bytes = files.ReadFile(cookiePath);
    if (!bytes) return std::string(kUnknownDomain);
    const std::string text = codePage.ToUtf8(*bytes);
    if (named) return DomainFromFields(text, nameDomain);
    return CookieRecordDomain(text).value_or(std::string(kUnknownDomain));
}

bool IsBlockedCookieDomain(const std::vector<std::string>& blockedList, std::string_view domain) {
    // The empty piece that ends every list would match an empty domain.
    if (domain.empty()) return false;
    for (const std::string& entry : blockedList) {
        if (!Contains(entry, domain)) continue;
        std::string compared = DropLastLabel(entry);
        if (const std::size_t star = compared.find('*'); star != std::string::npos) compared.erase(star, 1);
        if (EqualsIgnoreCase(compared, domain)) return true;
    }
    return false;
}

}  // namespace bastion
