#include "removal/quarantine/Quarantine.h"

#include <algorithm>

#include "common/Lines.h"
#include "common/Text.h"
#include "platform/FolderHandles.h"
#include "platform/LineFile.h"
#include "removal/quarantine/StoredCopy.h"

namespace bastion {

using platform::DeleteEntryTree;

namespace {

constexpr std::size_t kMaxNamePart = 80;
constexpr std::size_t kMaxExtension = 8;
// Enough for any number of programs storing at once.
constexpr int kReserveAttempts = 1000;

// The id a stored name begins with ("12_spy.exe" gives 12), 0 for none.
std::uint64_t IdOfStoredName(std::string_view name) {
    const std::size_t separator = name.find('_');
    long long number = 0;
    if (separator == std::string_view::npos || !ParseWholeNumber(name.substr(0, separator), number) || number < 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(number);
}

}  // namespace

std::string QuarantineFolderPath(std::string_view dataFolder) {
    return std::string(dataFolder) + "\\quarantine";
}

std::string SafeFileName(std::string_view text) {
    std::string name;
    for (char c : text) {
        const bool forbidden = static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) !=
                                                                          std::string_view::npos;
        name += forbidden ? '_' : c;
    }
    if (name.size() > kMaxNamePart) {
        // A short extension survives the cut: it says what the item is.
        const std::size_t dot = name.rfind('.');
        const std::string extension = dot != std::string::npos && name.size() - dot <= kMaxExtension
                                          ? name.substr(dot)
                                          : std::string();
        name.resize(kMaxNamePart - extension.size());
        name += extension;
    }
    // Windows drops trailing dots and blanks from a name.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name.empty() ? "entry" : name;
}

std::string LogDateTime(const DateTime& value) {
    std::string text = FormatGeneralDate(value);
    if (value.hour == 0 && value.minute == 0 && value.second == 0) text += " 12:00:00 AM";
    return text;
}

Quarantine::Quarantine(platform::FileSystem& files, const CodePage& codePage, platform::Clock& clock,
                       std::string_view dataFolder)
    : files_(files), codePage_(codePage), clock_(clock), folder_(QuarantineFolderPath(dataFolder)) {}

std::string Quarantine::LogPath() const { return folder_ + "\\" + std::string(kQuarantineLogFile); }

std::string Quarantine::IndexPath() const { return folder_ + "\\" + std::string(kQuarantineIndexFile); }

bool Quarantine::EnsureFolder() {
    if (!files_.FolderExists(folder_)) files_.CreateFolder(folder_);
    return files_.FolderExists(folder_);
}

std::uint64_t Quarantine::FirstFreeId() {
    std::uint64_t highest = 0;
    if (std::optional<std::string> index = files_.ReadFile(IndexPath())) highest = HighestIndexId(*index);
    if (std::optional<platform::DirListing> listing = files_.ListDirectory(folder_)) {
        for (const platform::DirEntry& entry : listing->entries) highest = std::max(highest, IdOfStoredName(entry.name));
    }
    return highest + 1;
}

std::optional<OpenQuarantineSlot> Quarantine::Reserve(std::string_view name, SlotKind kind) {
    // The folder itself, never a link put in its place: an elevated
    // removal would write where the link leads.
    std::unique_ptr<platform::FolderHandle> folder = files_.OpenFolder(folder_, platform::LinkAtEnd::Refuse);
    if (!folder) return std::nullopt;
    if (nextId_ == 0) nextId_ = FirstFreeId();
    const std::string namePart = SafeFileName(name);
    for (int attempt = 0; attempt < kReserveAttempts; ++attempt, ++nextId_) {
        OpenQuarantineSlot open;
        QuarantineSlot& slot = open.slot;
        slot.id = nextId_;
        slot.storedName = ToDecimal(static_cast<long long>(slot.id)) + "_" + namePart;
        slot.path = folder_ + "\\" + slot.storedName;
        // Made in one step that fails when the name is taken: another
        // removal running at the same time never gets the same slot.
        if (kind == SlotKind::Folder) {
            open.folder = folder->NewFolder(slot.storedName);
        } else {
            open.file = folder->NewFile(slot.storedName);
        }
        if (open.folder || open.file) {
            if (!IdTakenByAnother(slot)) {
                ++nextId_;
                return open;
            }
            const std::string taken = slot.storedName;
            open = {};
            DeleteEntryTree(*folder, taken);
        } else if (!files_.Lookup(slot.path)) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

bool Quarantine::CopyFileInto(const std::string& from, platform::FileWriter& slotFile) {
    std::optional<platform::DirEntry> source = files_.Lookup(from);
    std::unique_ptr<platform::FileReader> reader = source ? files_.OpenForRead(from) : nullptr;
    // A copy cut short (a read that failed midway) is told by its size. The
    // copy takes the file's attributes, which a restore gives back.
    return reader && StoreTransformed(*reader, slotFile) == source->size && slotFile.SetAttributes(source->attributes);
}

bool Quarantine::IdTakenByAnother(const QuarantineSlot& slot) {
    // Another program made a slot of the same id under another name at the
    // same time: the one whose name sorts first keeps the id, so that both
    // never yield it, nor both keep it.
    std::optional<platform::DirListing> listing = files_.ListDirectory(folder_);
    if (!listing) return false;
    for (const platform::DirEntry& entry : listing->entries) {
        if (IdOfStoredName(entry.name) == slot.id && entry.name < slot.storedName) return true;
    }
    return false;
}

void Quarantine::Release(const QuarantineSlot& slot) {
    if (std::unique_ptr<platform::FolderHandle> folder = files_.OpenFolder(folder_, platform::LinkAtEnd::Refuse)) {
        DeleteEntryTree(*folder, slot.storedName);
    }
}

std::string Quarantine::Now() const { return LogDateTime(clock_.Now()); }

bool Quarantine::AppendLog(const std::string& first, const std::string& second) {
    // One write per entry: a failure loses the entry whole, never half.
    std::string entry = first;
    entry += kCrLf;
    entry += second;
    entry += kCrLf;
    entry += kCrLf;
    return platform::AppendLine(files_, LogPath(), codePage_.FromUtf8(entry));
}

bool Quarantine::LogFile(std::string_view fileName, std::string_view location) {
    return AppendLog(Now() + " - File: " + std::string(fileName), " - Location: " + std::string(location));
}

bool Quarantine::LogRegistry(std::string_view keyText, std::string_view valueText) {
    return AppendLog(Now() + " - Key: " + std::string(keyText), "Value: " + std::string(valueText));
}

bool Quarantine::Record(const QuarantineSlot& slot, QuarantineKind kind, std::string_view originalLocation) {
    const QuarantineItem item{slot.id, Now(), kind, slot.storedName, std::string(originalLocation)};
    return platform::AppendLine(files_, IndexPath(), FormatIndexRecord(item));
}

bool Quarantine::MarkRestored(std::uint64_t id) {
    return platform::AppendLine(files_, IndexPath(), FormatRestoredRecord(id));
}

bool Quarantine::Withdraw(std::uint64_t id) {
    return platform::AppendLine(files_, IndexPath(), FormatWithdrawnRecord(id));
}

bool Quarantine::CanLog() { return files_.AppendFile(LogPath(), ""); }

std::vector<QuarantineItem> Quarantine::Items() {
    std::optional<std::string> index = files_.ReadFile(IndexPath());
    return index ? ParseIndex(*index) : std::vector<QuarantineItem>{};
}

}  // namespace bastion
