#include "scan/files/CompanyName.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/Text.h"

namespace bastion {

namespace {

// A key as the version resource stores it: the type word 1 and the name in
// UTF-16 little-endian ("\x01", then NUL and letter for each letter).
constexpr std::size_t WideLength(std::string_view name) {
    return 1 + 2 * name.size();
}

std::string WideKey(std::string_view name) {
    std::string key(1, '\x01');
    for (char c : name) {
        key += '\0';
        key += c;
    }
    return key;
}

constexpr std::string_view kStringFileInfo = "StringFileInfo";
constexpr std::string_view kCompanyName = "CompanyName";
constexpr std::string_view kFileDescription = "FileDescription";

// Where the value starts after a hit: the wide key with its type word and
// terminating NUL, or the plain key and its NUL.
constexpr std::uint64_t kWideValueOffset = 26;
constexpr std::uint64_t kPlainValueOffset = 12;

// A value that ran into the next entry ends at its first control character
// within this many characters.
constexpr std::size_t kDescriptionWindow = 255;

// Consecutive windows share this many bytes, so that every key lies whole
// in at least one window.
constexpr std::size_t kOverlap = std::max(WideLength(kStringFileInfo), WideLength(kCompanyName)) - 1;

// The bytes from a value's start up to the next run of three NULs, or to
// the end of the file, held to kCompanyValueCap.
class ValueCollector {
public:
    explicit ValueCollector(std::uint64_t start) : next_(start) {}

    // data holds the file's bytes from position base on; bytes already
    // taken (the windows overlap) are skipped.
    void Feed(std::uint64_t base, std::string_view data) {
        if (complete_ || base + data.size() <= next_) return;
        for (std::size_t i = static_cast<std::size_t>(next_ - base); i < data.size(); ++i) {
            const char c = data[i];
            bytes_ += c;
            ++next_;
            zeros_ = c == '\0' ? zeros_ + 1 : 0;
            if (zeros_ == 3) {
                bytes_.resize(bytes_.size() - 3);
                complete_ = true;
                return;
            }
            // With cap + 2 bytes taken and no run of three NULs, the value is
            // at least cap long.
            if (bytes_.size() == kCompanyValueCap + 2) {
                bytes_.resize(kCompanyValueCap);
                complete_ = true;
                return;
            }
        }
    }

    bool Complete() const { return complete_; }
    const std::string& Bytes() const { return bytes_; }

private:
    std::uint64_t next_;
    std::string bytes_;
    int zeros_ = 0;
    bool complete_ = false;
};

std::string FinishValue(std::string value, std::string_view marker) {
    if (value.find(marker) != std::string::npos) {
        std::size_t end = std::min(value.size(), kDescriptionWindow);
        for (std::size_t i = 0; i < end; ++i) {
            if (static_cast<unsigned char>(value[i]) < 32) {
                end = i;
                break;
            }
        }
        value.resize(end);
    }
    std::erase(value, '\0');
    return value;
}

std::optional<std::uint64_t> FindFrom(std::string_view window, std::uint64_t base, std::string_view key,
                                      std::uint64_t from) {
    const std::size_t start = from > base ? static_cast<std::size_t>(from - base) : 0;
    if (start >= window.size()) return std::nullopt;
    const std::size_t at = window.find(key, start);
    if (at == std::string_view::npos) return std::nullopt;
    return base + at;
}

// The searches of the whole-file algorithm, run over consecutive windows.
// Which hit gives the answer is known only when a wide "StringFileInfo" has
// been met or the file has ended, so until then every hit that may still
// become the answer collects its value.
class CompanySearch {
public:
    // Looks at one window of the file; true once the answer is known.
    bool Scan(std::uint64_t base, std::string_view window) {
        if (!wideInfoAt_) {
            wideInfoAt_ = FindFrom(window, base, wideInfo_, 0);
            if (wideInfoAt_) {
                // Only a wide "CompanyName" after it can be the answer now.
                plainCompany_.Drop();
                plainCompanyAfterInfo_.Drop();
                wideCompany_.Drop();
            }
        }
        if (wideInfoAt_) {
            Locate(wideCompanyAfterInfo_, window, base, wideCompanyKey_, *wideInfoAt_, kWideValueOffset);
            wideCompanyAfterInfo_.Feed(base, window);
            return wideCompanyAfterInfo_.Complete();
        }

        if (!plainInfoAt_) plainInfoAt_ = FindFrom(window, base, kStringFileInfo, 0);
        Locate(plainCompany_, window, base, kCompanyName, 0, kPlainValueOffset);
        if (plainInfoAt_) {
            Locate(plainCompanyAfterInfo_, window, base, kCompanyName, *plainInfoAt_, kPlainValueOffset);
        }
        Locate(wideCompany_, window, base, wideCompanyKey_, 0, kWideValueOffset);
        plainCompany_.Feed(base, window);
        plainCompanyAfterInfo_.Feed(base, window);
        wideCompany_.Feed(base, window);
        return false;
    }

    // The answer once the file has ended or the search has stopped.
    std::string Result() const {
        if (wideInfoAt_) {
            return wideCompanyAfterInfo_.Value(wideDescription_);
        }
        const Hit& plain = plainInfoAt_ ? plainCompanyAfterInfo_ : plainCompany_;
        if (plain.Found()) {
            return plain.Value(kFileDescription);
        }
        return wideCompany_.Value(wideDescription_);
    }

private:
    // The first hit of a key at or after a position, with its value.
    class Hit {
    public:
        bool Found() const { return found_; }
        void Set(std::uint64_t at, std::uint64_t valueOffset) {
            found_ = true;
            value_.emplace(at + valueOffset);
        }
        // The hit can no longer be the answer: its value is not needed.
        void Drop() { value_.reset(); }
        void Feed(std::uint64_t base, std::string_view window) {
            if (value_) value_->Feed(base, window);
        }
        bool Complete() const { return value_ && value_->Complete(); }
        std::string Value(std::string_view marker) const {
            return value_ ? FinishValue(value_->Bytes(), marker) : std::string();
        }

    private:
        bool found_ = false;
        std::optional<ValueCollector> value_;
    };

    static void Locate(Hit& hit, std::string_view window, std::uint64_t base, std::string_view key,
                       std::uint64_t from, std::uint64_t valueOffset) {
        if (hit.Found()) return;
        if (std::optional<std::uint64_t> at = FindFrom(window, base, key, from)) {
            hit.Set(*at, valueOffset);
        }
    }

    const std::string wideInfo_ = WideKey(kStringFileInfo);
    const std::string wideCompanyKey_ = WideKey(kCompanyName);
    const std::string wideDescription_ = WideKey(kFileDescription);

    std::optional<std::uint64_t> wideInfoAt_;
    std::optional<std::uint64_t> plainInfoAt_;
    Hit wideCompanyAfterInfo_;
    Hit plainCompany_;
    Hit plainCompanyAfterInfo_;
    Hit wideCompany_;
};

}  // namespace

std::string FindCompanyNameBytes(platform::FileReader& reader, std::size_t chunkSize) {
    chunkSize = std::max<std::size_t>(chunkSize, 1);
    CompanySearch search;
    std::vector<char> buffer(kOverlap + chunkSize);
    std::size_t kept = 0;
    std::uint64_t base = 0;
    while (true) {
        const std::size_t read = reader.Read(buffer.data() + kept, chunkSize);
        if (read == 0) break;
        const std::size_t size = kept + read;
        if (search.Scan(base, std::string_view(buffer.data(), size))) break;
        kept = std::min(size, kOverlap);
        std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(size - kept),
                  buffer.begin() + static_cast<std::ptrdiff_t>(size), buffer.begin());
        base += size - kept;
    }
    return search.Result();
}

std::string GetFileCompanyName(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                               std::size_t chunkSize) {
    std::unique_ptr<platform::FileReader> reader = files.OpenForRead(path);
    if (!reader) return {};
    return codePage.ToUtf8(FindCompanyNameBytes(*reader, chunkSize));
}

bool IsMicrosoftCompany(std::string_view company) {
    return ToUpper(Trim(company)) == "MICROSOFT CORPORATION";
}

bool IsTrustedProcessCompany(std::string_view company, bool sunToo) {
    return IsMicrosoftCompany(company) || (sunToo && ToUpper(Trim(company)) == "SUN MICROSYSTEMS, INC.");
}

}  // namespace bastion
