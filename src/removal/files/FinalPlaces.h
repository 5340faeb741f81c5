// Folders compared by where they really are, not by how a path spells them:
// "C:\Program Files\..\Program Files (x86)", "C:\PROGRA~2" and a path
// through a junction all name the folder they lead to (FileSystem's
// FinalPath). Guards that compare spellings can be walked around.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bastion {

class FinalPlaces {
public:
    explicit FinalPlaces(platform::FileSystem& files) : files_(files) {}

    // An empty folder (a special folder the system does not have) is left
    // out.
    void Add(const std::string& folder);

    // The path as the guards compare it: its final path, lower-cased, "/"
    // read as "\", without a trailing backslash.
    std::string Comparable(const std::string& path) const;
    // Whether the comparable path is one of the folders or lies inside one.
    bool Holds(const std::string& comparable) const;
    // Whether it is one of the folders or a folder above one.
    bool Tops(const std::string& comparable) const;

private:
    platform::FileSystem& files_;
    std::vector<std::string> folders_;
};

}  // namespace bastion
