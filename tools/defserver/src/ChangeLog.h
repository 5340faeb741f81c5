// The change log a vendor keeps: a folder of dated change sets, plain text
// files ending in ".changes" written by hand. A set is a line "DATE" and its
// date (the United States general date, "3/17/2006 2:30:00 PM"), then one
// record a line: "ADD" or "DEL", the definition kind and the definition as
// it is stored, for example
//
//   DATE 3/17/2006
//   ADD FILE evil.exe=Evil Threat|[windir]|Adware
//   ADD REG 1^Software\Evil^Run=Evil Threat|Adware
//   ADD COOK tracker.example
//   DEL DIR Old Folder
//
// Blank lines and lines starting with "#" are ignored. A DEL names the
// definition by its text before "=" (for "REG", the location). Text is
// UTF-8; it is sent in Windows-1252. The year has four digits.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/DateTime.h"

namespace defserver {

struct Change {
    bool add = true;
    std::string kind;
    // Windows-1252 bytes.
    std::string text;

    friend bool operator==(const Change&, const Change&) = default;
};

struct ChangeSet {
    bastion::DateTime date;
    std::string source;  // the file's name, for messages
    std::vector<Change> changes;

    friend bool operator==(const ChangeSet&, const ChangeSet&) = default;
};

struct ChangeLog {
    // Oldest first; sets of one date in the order of their file names.
    std::vector<ChangeSet> sets;
    // One message per line or file left out: "file:line: reason".
    std::vector<std::string> problems;
};

// The definition date when the log is empty: what a client without
// "date.dat" holds.
bastion::DateTime EmptyLogDate();

// Reads every change set of the folder; a line that cannot be sent is left
// out with a problem, a file without a valid DATE line as a whole. A folder
// that cannot be listed is a problem too.
ChangeLog ReadChangeLog(const std::filesystem::path& folder);
// One change set's text, as a file holds it.
ChangeSet ParseChangeSet(const std::string& text, const std::string& source, std::vector<std::string>& problems,
                         bool& valid);

// The date of the newest set with something to send.
bastion::DateTime LatestDate(const ChangeLog& log);

}  // namespace defserver
