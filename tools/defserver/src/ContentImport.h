// Content definitions from a public hash list: lines "sha256:size:name"
// (the name may hold further ":"), "#" comments and blank lines ignored.
// Each becomes "ADD CONTENT <size>:<sha256>=<name>|<type>".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace defserver {

struct ContentImport {
    // The change set: a comment, the DATE line and the ADD lines, each key
    // once, in list order.
    std::string set;
    std::size_t added = 0;
    // One message per line left out: "line N: reason".
    std::vector<std::string> problems;
};

ContentImport ImportContentList(const std::string& list, const std::string& type, const std::string& date);

}  // namespace defserver
