#include "update/TrustedDefinitions.h"

#include <algorithm>
#include <cstring>

#include "common/Lines.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "update/DefinitionDate.h"
#include "update/DefinitionDelta.h"
#include "update/KeptDeltas.h"
#include "update/StarterDefinitions.h"

namespace bastion {

namespace {

class TextReader final : public platform::FileReader {
public:
    explicit TextReader(std::string text) : text_(std::move(text)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min(size, text_.size() - at_);
        std::memcpy(buffer, text_.data() + at_, count);
        at_ += count;
        return count;
    }

private:
    const std::string text_;
    std::size_t at_ = 0;
};

}  // namespace

TrustedDefinitions BuildTrustedDefinitions(platform::FileSystem& files, std::string_view programFolder,
                                           std::string_view dataFolder, const DefinitionTrust& trust) {
    TrustedDefinitions made;
    const std::string starter = DataFilePath(programFolder, kStarterDefinitionsFolder);
    std::vector<std::string> contents;
    for (std::size_t file = 0; file < kDeltaFileCount; ++file) {
        contents.push_back(files.ReadFile(DataFilePath(starter, DeltaFileName(file))).value_or(""));
    }
    const std::vector<std::string> dateLines =
        SplitLines(files.ReadFile(DataFilePath(starter, datafile::kDefinitionDate)).value_or(""));
    made.date = *ParseGeneralDate(kDefaultDefinitionDate);
    if (!dateLines.empty()) made.date = ParseGeneralDate(dateLines.front()).value_or(made.date);

    KeptDeltas kept = ReadKeptDeltas(files, dataFolder, trust);
    made.skipped = std::move(kept.refused);
    for (;;) {
        const KeptDelta* next = nullptr;
        for (const KeptDelta& delta : kept.verified) {
            if (delta.from <= made.date && delta.to > made.date && (!next || delta.to > next->to)) next = &delta;
        }
        if (!next) break;
        for (std::size_t file = 0; file < kDeltaFileCount; ++file) {
            contents[file] = ApplyFileChange(PlanFileChange(next->parsed, file), contents[file]).content;
        }
        made.date = next->to;
    }
    for (std::size_t file = 0; file < kDeltaFileCount; ++file) {
        made.files.emplace_back(std::string(DeltaFileName(file)), std::move(contents[file]));
    }
    made.files.emplace_back(std::string(datafile::kDefinitionDate), FormatGeneralDate(made.date) + "\r\n");
    return made;
}

TrustedDefinitionFiles::TrustedDefinitionFiles(platform::FileSystem& inner, std::string programFolder,
                                               std::string dataFolder, DefinitionTrust trust)
    : inner_(inner), programFolder_(std::move(programFolder)), dataFolder_(std::move(dataFolder)), trust_(trust) {}

std::vector<std::string> TrustedDefinitionFiles::Skipped() {
    if (stale_) Trusted(DataFilePath(dataFolder_, datafile::kDefinitionDate));
    return made_.skipped;
}

const std::string* TrustedDefinitionFiles::Trusted(const std::string& path) {
    if (path.size() <= dataFolder_.size() || !StartsWithIgnoreCase(path, dataFolder_) ||
        path[dataFolder_.size()] != '\\') {
        return nullptr;
    }
    const std::string_view name = std::string_view(path).substr(dataFolder_.size() + 1);
    if (stale_) {
        made_ = BuildTrustedDefinitions(inner_, programFolder_, dataFolder_, trust_);
        stale_ = false;
        ++generation_;
    }
    for (const auto& [fileName, content] : made_.files) {
        if (EqualsIgnoreCase(fileName, name)) return &content;
    }
    return nullptr;
}

bool TrustedDefinitionFiles::Written(const std::string& path, bool result) {
    // Only a delta kept (or taken away) changes what they are made of.
    if (StartsWithIgnoreCase(path, DataFilePath(dataFolder_, kKeptDeltasFolder))) stale_ = true;
    return result;
}

std::optional<platform::DirEntry> TrustedDefinitionFiles::Lookup(const std::string& path) {
    const std::string* content = Trusted(path);
    if (!content) return inner_.Lookup(path);
    return platform::DirEntry{path.substr(path.rfind('\\') + 1), platform::kAttrArchive, content->size()};
}

std::optional<std::uint64_t> TrustedDefinitionFiles::FileSize(const std::string& path) {
    const std::string* content = Trusted(path);
    return content ? std::optional<std::uint64_t>(content->size()) : inner_.FileSize(path);
}

std::optional<platform::FileStamp> TrustedDefinitionFiles::Stamp(const std::string& path) {
    const std::string* content = Trusted(path);
    return content ? std::optional<platform::FileStamp>({content->size(), generation_}) : inner_.Stamp(path);
}

std::unique_ptr<platform::FileReader> TrustedDefinitionFiles::OpenForRead(const std::string& path) {
    const std::string* content = Trusted(path);
    return content ? std::make_unique<TextReader>(*content) : inner_.OpenForRead(path);
}

std::optional<char> TrustedDefinitionFiles::LastByte(const std::string& path) {
    const std::string* content = Trusted(path);
    if (!content) return inner_.LastByte(path);
    return content->empty() ? std::nullopt : std::optional<char>(content->back());
}

std::optional<std::string> TrustedDefinitionFiles::ReadFile(const std::string& path) {
    const std::string* content = Trusted(path);
    return content ? std::optional<std::string>(*content) : inner_.ReadFile(path);
}

bool TrustedDefinitionFiles::WriteFile(const std::string& path, const std::string& bytes) {
    return Written(path, inner_.WriteFile(path, bytes));
}

bool TrustedDefinitionFiles::AppendFile(const std::string& path, const std::string& bytes) {
    return Written(path, inner_.AppendFile(path, bytes));
}

bool TrustedDefinitionFiles::WriteFileFlushed(const std::string& path, const std::string& bytes) {
    return Written(path, inner_.WriteFileFlushed(path, bytes));
}

bool TrustedDefinitionFiles::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
    return Written(to, inner_.CopyFile(from, to, overwrite));
}

bool TrustedDefinitionFiles::MoveReplace(const std::string& from, const std::string& to) {
    return Written(to, Written(from, inner_.MoveReplace(from, to)));
}

bool TrustedDefinitionFiles::DeleteFile(const std::string& path) { return Written(path, inner_.DeleteFile(path)); }

}  // namespace bastion
