#include "removal/files/FinalPlaces.h"

#include <algorithm>

#include "common/Text.h"

namespace bastion {

namespace {

bool IsAtOrInside(const std::string& inner, const std::string& outer) {
    return inner == outer || StartsWith(inner, outer + "\\");
}

}  // namespace

void FinalPlaces::Add(const std::string& folder) {
    if (Trim(folder).empty()) return;
    std::string comparable = Comparable(folder);
    if (!comparable.empty()) folders_.push_back(std::move(comparable));
}

std::string FinalPlaces::Comparable(const std::string& path) const {
    std::string final = ToLower(files_.FinalPath(Trim(path)));
    std::replace(final.begin(), final.end(), '/', '\\');
    while (!final.empty() && final.back() == '\\') final.pop_back();
    return final;
}

bool FinalPlaces::Holds(const std::string& comparable) const {
    return std::any_of(folders_.begin(), folders_.end(),
                       [&](const std::string& folder) { return IsAtOrInside(comparable, folder); });
}

bool FinalPlaces::Tops(const std::string& comparable) const {
    return std::any_of(folders_.begin(), folders_.end(),
                       [&](const std::string& folder) { return IsAtOrInside(folder, comparable); });
}

}  // namespace bastion
