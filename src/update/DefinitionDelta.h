// The incremental update the definition server sends, and what it does to
// each definition file. The text is a list of records separated by "[BR]"
// (any case); a record is a header "KIND|ACTION" (the kind shifted like a
// stored line, the action plain "ADD" or "DEL") and, after "[DEF]", a body:
// the definition shifted, its separators "|" and "=" left plain.
//
// Everything here works on the stored bytes (the system code page, shifted)
// and touches no file: the applier reads and writes the files around it, and
// the build makes the starter definitions with the same rules, so that an
// update from nothing and the starter set give the same files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace bastion {

enum class DeltaAction { Add, Delete };

struct DeltaRecord {
    // Decoded: "FILE", "EXE", "DLL", "REG", "COOK", "DIR", "CONTENT" or a
    // safety kind.
    std::string kind;
    DeltaAction action = DeltaAction::Add;
    // As sent: shifted, with "|" and "=" plain.
    std::string body;
};

struct ParsedDelta {
    std::vector<DeltaRecord> records;
    // Records left out: no "[DEF]", no header fields, an empty body.
    std::size_t malformed = 0;
    // Every record whose action is "ADD" or "DEL", left out or not: what a
    // signed delta's count counts.
    std::size_t actions = 0;
};

ParsedDelta ParseDefinitionDelta(std::string_view text);

// The definition files in the order an update goes through them.
inline constexpr std::size_t kDeltaFileCount = 7;
std::string_view DeltaFileName(std::size_t file);
inline constexpr std::size_t kDeltaFileDefinitions = 0;
inline constexpr std::size_t kDeltaDirectoryDefinitions = 4;
inline constexpr std::size_t kDeltaContentDefinitions = 6;
inline constexpr std::size_t kDeltaSafety = 5;

// What one delta does to one file: the records applied one by one, in
// order, as a DEL removes every line of its key and an ADD appends its line
// unless it is there. A key is the decoded text of a stored line before its
// first "=", lower-cased.
struct FileChange {
    // Stored lines (without line end) to add, in record order, each once:
    // only those that no later DEL of their key removes again.
    std::vector<std::string> added;
    // The keys of every DEL, each once: the lines of the file with these
    // keys go. Side by side rather than in a set: the pass builds its
    // look-up from them, and a file is planned once.
    std::vector<std::string> deletedKeys;
    // Records of this file left out: a body without the fields the file
    // needs, an empty key, a line that would hold CR or LF.
    std::size_t skipped = 0;

    bool Empty() const { return added.empty() && deletedKeys.empty(); }
};

FileChange PlanFileChange(const ParsedDelta& delta, std::size_t file);

struct AppliedFileChange {
    // The file's new content.
    std::string content;
    // Definitions that were not there before, and definitions that are no
    // longer there: a line removed and added again is no change.
    int changes = 0;
};

// The file's lines (CR LF each), without blank lines and the deleted keys
// when the change deletes, then the added lines that are not there yet.
// everyHundredLines receives the number of lines read after every
// hundredth. Applying the result again changes nothing.
AppliedFileChange ApplyFileChange(const FileChange& change, std::string_view content,
                                  const std::function<void(std::size_t linesRead)>& everyHundredLines = {});

// The record key of a stored line.
std::string StoredLineKey(std::string_view storedLine);

// For fuzzing: parses any bytes as a delta, applies it twice to a small set
// of files and aborts when the second application changes anything or a
// written line holds CR or LF.
void ExerciseDefinitionDelta(std::string_view bytes);

}  // namespace bastion
