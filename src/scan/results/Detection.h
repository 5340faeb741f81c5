// What a scan found: one record per item, with what the user is shown of
// it and what removal needs to reach it. Front ends list detections as they
// see fit; the engine knows no list, column or icon.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "definitions/ThreatTypes.h"
#include "platform/Registry.h"

namespace bastion {

// A file, or a folder, by the path it was found at (a folder's without a
// trailing backslash unless the definition that named it wrote one).
struct FileItem {
    std::string path;
    friend bool operator==(const FileItem&, const FileItem&) = default;
};

// A registry value, or a whole key when value is empty, in the registry
// view it was found in. key is written as the definition writes it.
struct RegistryItem {
    platform::Hive hive = platform::Hive::CurrentUser;
    std::string key;
    std::string value;
    platform::RegView view = platform::RegView::Default;
    friend bool operator==(const RegistryItem&, const RegistryItem&) = default;
};

// A cookie file, by its full path.
struct CookieItem {
    std::string path;
    friend bool operator==(const CookieItem&, const CookieItem&) = default;
};

// A running program the process scan found; the scan stopped it at once
// (or tried to): nothing of it is left for removal.
struct ProcessItem {
    std::string path;
    std::uint32_t processId = 0;
    bool stopped = false;
    friend bool operator==(const ProcessItem&, const ProcessItem&) = default;
};

using DetectedItem = std::variant<FileItem, RegistryItem, CookieItem, ProcessItem>;

enum class DetectionKind { Cookie, Registry, File, Folder, RunningProgram };

// Tells one detection from every other of the same run of the program, so
// that a front end's row, a tick and a removal result name it whatever the
// order they are shown in. Never 0.
using DetectionId = std::uint64_t;

struct Detection {
    DetectionId id = 0;
    DetectionKind kind = DetectionKind::File;
    // The threat's name. A cookie's is the cookie file's name; a folder
    // met by a walk is named "<threat> Directory"; a key whose definition
    // names no threat is "RegKey <key>"; a running program's is its file
    // name as the scan showed it.
    std::string threat;
    ThreatType type;
    // Where the user is told it is: a path, or a registry location with
    // " (32-bit view)" after it for an item of the 32-bit view.
    std::string location;
    DetectedItem item;
};

// What the exclusion list keeps of a detection: its location and its name
// (a cookie's file name).
std::vector<std::string> ExclusionItems(const Detection& detection);

// The name a list shows: "Cookie: " before a cookie's file name, the
// threat's name otherwise.
std::string ShownName(const Detection& detection);

// Whether removal can reach the detection; a running program was stopped
// by the scan and is never removed, nor listed among the results.
bool Removable(const Detection& detection);

}  // namespace bastion
