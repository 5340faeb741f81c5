// The record layouts of the definition files, parsed in one place that every
// reader uses. Each takes one decoded line (text) and returns its fields as
// written; tokens in folders and locations are left for the reader to expand,
// because "[drive]" means the machine's drive to some readers and the walked
// item's drive to others. Every line's fields are its own: a field the line
// lacks is empty, never carried over from an earlier line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace bastion {

// "FileDefinition.dat" and "DirectoryDefinition.dat": NAME=THREAT|FOLDER|TYPE.
struct FileRecord {
    std::string name;    // before the first "=", trimmed
    std::string threat;  // after the first "=", up to a further "="
    std::string folder;  // as written; empty when the line has no "|"
    std::string type;    // as written, "TYPE" already "Spyware"
    bool hasFolderField = false;
};

// A file or directory definition line. The literal type "TYPE" stands for
// "Spyware" in both.
FileRecord ParseFileDefinition(std::string_view line);
FileRecord ParseDirectoryDefinition(std::string_view line);

// The same fields as views into the line (or into static text), for the
// loader, which reads a hundred thousand lines in a row and copies only
// what it keeps.
struct FileFields {
    std::string_view name;
    std::string_view threat;
    std::string_view folder;
    std::string_view type;
    bool hasFolderField = false;
};
FileFields FileDefinitionFields(std::string_view line);
FileFields DirectoryDefinitionFields(std::string_view line);

// "RegistryDefinition.dat": HIVE^KEY^VALUE=THREAT, THREAT maybe THREAT|TYPE.
struct RegistryRecord {
    std::string location;    // before the last "=", tokens unexpanded
    std::string threat;      // the threat name (before the first "|")
    std::string threatType;  // after the first "|" of the threat text
};
RegistryRecord ParseRegistryDefinition(std::string_view line);

// An expanded registry location split at "^".
struct RegistryLocation {
    std::string hive;  // the hive number as written
    std::string key;
    std::string value;
};
RegistryLocation SplitRegistryLocation(std::string_view expandedLocation);

// The hive a definition's HIVE number (0 to 5, blanks allowed) stands for:
// 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE,
// 3 HKEY_USERS, 4 HKEY_CURRENT_CONFIG, 5 HKEY_DYN_DATA; nullopt otherwise.
std::optional<platform::Hive> DefinitionHive(std::string_view number);

// "ExeDefinition.dat": NAME=TEXT|FOLDER.
struct ExeRecord {
    bool valid = false;  // false for a line without "="
    std::string fileName;
    std::string folder;  // tokens unexpanded
};
ExeRecord ParseExeDefinition(std::string_view line);

// "Safety.dat": KIND|NAME=TEXT|PATH|EXTRA.
struct SafetyRecord {
    std::string kind;
    std::string name;  // before the first "=" of the second field, trimmed
    std::string path;  // tokens unexpanded; empty when the line has no "|"
};
SafetyRecord ParseSafetyDefinition(std::string_view line);

}  // namespace bastion
