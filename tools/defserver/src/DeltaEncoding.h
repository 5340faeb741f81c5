// The change log in the form the client reads: each change a record
// "KIND|ADD[DEF]body" (the kind and the body shifted as stored lines are,
// the body's "|" and "=" left plain), the records joined by "[BR]".
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ChangeLog.h"

namespace defserver {

// Why the change cannot be sent, or empty: an unknown kind, no text, a
// registry ADD without "=", or a character that the shift turns into a line
// end or into a plain "|" or "=" ("<" and "ü"), or a control character.
std::string CheckChange(const Change& change);

std::string EncodeRecord(const Change& change);

// The index of the first set dated after since (the sets are oldest
// first): a client holding since lacks that set and every one after it.
std::size_t FirstSetAfter(const ChangeLog& log, const bastion::DateTime& since);
// The records of every set from the first on, joined by "[BR]", appended
// to out; their length in bytes; their number.
void AppendRecords(const ChangeLog& log, std::size_t first, std::string& out);
std::size_t RecordsLength(const ChangeLog& log, std::size_t first);
std::size_t RecordCount(const ChangeLog& log, std::size_t first);

// Every change of the sets dated after since, oldest first.
std::string DeltaSince(const ChangeLog& log, const bastion::DateTime& since);

// The definition files (name and content) and "date.dat" that a client
// holds after applying the whole log to an empty data folder.
std::vector<std::pair<std::string, std::string>> StarterFiles(const ChangeLog& log);

}  // namespace defserver
