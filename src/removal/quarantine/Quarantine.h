// The quarantine folder ("quarantine" in the data folder), its log
// "QuarantineLog.txt" and its index. Every stored item gets a name of its
// own, "<id>_<name>", so that two items of one name (in one removal or in
// two, or in two programs removing at once) never meet, nothing stored is
// ever overwritten, and no item can take the name of the log or the index.
// The module of the log is modFileRelated.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "removal/quarantine/QuarantineIndex.h"

namespace bastion {

inline constexpr std::string_view kQuarantineLogFile = "QuarantineLog.txt";

// The data folder's "\quarantine" (the data folder without a trailing
// backslash).
std::string QuarantineFolderPath(std::string_view dataFolder);

// The text as a file name: characters a file name cannot hold become "_",
// at most 80 characters (a short extension kept), no trailing dot or blank,
// never empty.
std::string SafeFileName(std::string_view text);

// "3/16/2006 1:05:09 PM", with the time also at midnight: the log's date and
// time.
std::string LogDateTime(const DateTime& value);

// A place in the quarantine folder reserved for one new item.
struct QuarantineSlot {
    std::uint64_t id = 0;
    std::string storedName;
    std::string path;  // the folder's path and the stored name
};

// A slot just taken, held open for its content: what is written goes into
// that very file or folder, made new through a handle of the quarantine
// folder (which is no link), whatever another program does to the
// folder's names meanwhile.
struct OpenQuarantineSlot {
    QuarantineSlot slot;
    std::unique_ptr<platform::FileWriter> file;      // a file slot
    std::unique_ptr<platform::FolderHandle> folder;  // a folder slot
};

class Quarantine {
public:
    Quarantine(platform::FileSystem& files, const CodePage& codePage, platform::Clock& clock,
               std::string_view dataFolder);

    const std::string& Folder() const { return folder_; }
    std::string LogPath() const;
    std::string IndexPath() const;
    // Creates the folder when missing; false when it does not exist after.
    bool EnsureFolder();

    // A stored name for an item called name that nothing in the folder or
    // the index has, taken by creating an empty file or folder of that name
    // (only where nothing of the name is yet) and held open; nullopt when
    // none could be created, or the quarantine folder is missing or a link.
    // Release takes back one that was not filled.
    enum class SlotKind { File, Folder };
    std::optional<OpenQuarantineSlot> Reserve(std::string_view name, SlotKind kind = SlotKind::File);
    void Release(const QuarantineSlot& slot);
    // Copies the file whole, with its attributes, into an open file slot,
    // kept transformed (StoredCopy): the file at from is the source of the
    // bytes, the slot where they go.
    bool CopyFileInto(const std::string& from, platform::FileWriter& slotFile);

    // The log's two entry forms, each followed by two empty lines.
    bool LogFile(std::string_view fileName, std::string_view location);
    bool LogRegistry(std::string_view keyText, std::string_view valueText);

    // Adds the stored item to the index.
    bool Record(const QuarantineSlot& slot, QuarantineKind kind, std::string_view originalLocation);
    bool MarkRestored(std::uint64_t id);
    // Takes back a record whose removal did not take place.
    bool Withdraw(std::uint64_t id);
    // Whether the log can be opened for appending (a read-only log cannot),
    // asked before an item is deleted: a removal is logged once it is done.
    bool CanLog();
    // What the quarantine holds now, oldest first.
    std::vector<QuarantineItem> Items();

    std::string Now() const;
    platform::FileSystem& Files() const { return files_; }

private:
    bool AppendLog(const std::string& first, const std::string& second);
    std::uint64_t FirstFreeId();
    bool IdTakenByAnother(const QuarantineSlot& slot);

    platform::FileSystem& files_;
    const CodePage& codePage_;
    platform::Clock& clock_;
    std::string folder_;
    std::uint64_t nextId_ = 0;
};

}  // namespace bastion
