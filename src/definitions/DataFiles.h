// The data folder and the names of the files the program keeps in it. Every
// reader and writer takes the names from here.
#pragma once

#include <string>
#include <string_view>

#include "definitions/PathTokens.h"
#include "platform/FileSystem.h"

namespace bastion {

namespace datafile {
inline constexpr std::string_view kFileDefinitions = "FileDefinition.dat";
inline constexpr std::string_view kDirectoryDefinitions = "DirectoryDefinition.dat";
inline constexpr std::string_view kRegistryDefinitions = "RegistryDefinition.dat";
inline constexpr std::string_view kExeDefinitions = "ExeDefinition.dat";
inline constexpr std::string_view kBlockedCookies = "BlockedCookies.dat";
inline constexpr std::string_view kSafety = "Safety.dat";
// Threats known by their content; a missing file means none.
inline constexpr std::string_view kContentDefinitions = "ContentDefinition.dat";
// The user's exclusion list (plain text, not shifted like the definitions).
inline constexpr std::string_view kExclusions = "ENoSignature.dat";
inline constexpr std::string_view kDefinitionDate = "date.dat";
// The file and directory tables as loaded, saved so that the next run maps
// them instead of loading the definitions again.
inline constexpr std::string_view kTablesImage = "DefinitionTables.bin";
// Work file of a definition update's deletion pass.
inline constexpr std::string_view kUpdateWork = "temp.dat";
inline constexpr std::string_view kScanLog = "Scan_Log.txt";
// A folder, holding the quarantined items and their log.
inline constexpr std::string_view kQuarantine = "quarantine";
inline constexpr std::string_view kQuarantineLog = "QuarantineLog.txt";
}  // namespace datafile

// The user's application-data folder followed by "DovuVedivazIVE", without
// a trailing backslash.
std::string DataFolder(const PathTokens& tokens);

// folder + "\" + name.
std::string DataFilePath(std::string_view folder, std::string_view name);

// True when a file (not a folder) of this name is in the folder.
bool DataFileExists(platform::FileSystem& files, std::string_view folder, std::string_view name);

// The quarantine folder below the data folder, and its log.
std::string QuarantineFolder(std::string_view dataFolder);
std::string QuarantineLogPath(std::string_view dataFolder);

}  // namespace bastion
