// The string table and file version of a program file's version resource:
// what the program's identity (product, company, website) is read from.
#pragma once

#include <optional>
#include <string>

namespace bastion::win32 {

struct VersionStrings {
    std::string productName;
    std::string companyName;
    std::string comments;
    std::string fileDescription;
    int fileVersionMajor = 0;
    int fileVersionMinor = 0;
};

// Reads the version resource of the file at path (UTF-8); nullopt when the
// file has none. The strings come from the first language block listed in
// the resource's translation table.
std::optional<VersionStrings> ReadVersionStrings(const std::string& path);

// The same for the running program's own file.
std::optional<VersionStrings> ReadOwnVersionStrings();

}  // namespace bastion::win32
