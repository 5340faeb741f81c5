#include "ChangeLog.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "common/CodePage.h"
#include "common/Lines.h"
#include "common/Text.h"
#include "DeltaEncoding.h"

namespace defserver {

using bastion::DateTime;

namespace {

// The year of a date text "M/D/YYYY ...": the digits after the second "/".
bool HasFourDigitYear(const std::string& text) {
    const std::size_t first = text.find('/');
    const std::size_t second = first == std::string::npos ? first : text.find('/', first + 1);
    if (second == std::string::npos) return false;
    std::size_t digits = 0;
    while (second + 1 + digits < text.size() && std::isdigit(static_cast<unsigned char>(text[second + 1 + digits]))) {
        ++digits;
    }
    return digits == 4;
}

}  // namespace

DateTime EmptyLogDate() { return *bastion::ParseGeneralDate("3/16/2006 12:00:00 AM"); }

ChangeSet ParseChangeSet(const std::string& text, const std::string& source, std::vector<std::string>& problems,
                         bool& valid) {
    ChangeSet set;
    set.source = source;
    valid = false;
    const std::vector<std::string> lines = bastion::SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = source + ":" + std::to_string(i + 1) + ": ";
        const std::string line = bastion::Trim(lines[i]);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : bastion::Trim(line.substr(space + 1));
        if (word == "DATE") {
            const auto date = bastion::ParseGeneralDate(rest);
            if (!date) {
                problems.push_back(where + "not a date: " + rest);
                return set;
            }
            // "3/17/06" could be 1906 or 2006 to whoever reads it next.
            if (!HasFourDigitYear(rest)) {
                problems.push_back(where + "refused: the year in \"" + rest + "\" must have four digits");
                return set;
            }
            set.date = *date;
            valid = true;
            continue;
        }
        if (word != "ADD" && word != "DEL") {
            problems.push_back(where + "a record starts with ADD or DEL");
            continue;
        }
        const std::size_t kindEnd = rest.find(' ');
        Change change{word == "ADD", rest.substr(0, kindEnd),
                      kindEnd == std::string::npos ? "" : bastion::Windows1252().FromUtf8(bastion::Trim(rest.substr(kindEnd + 1)))};
        if (std::string problem = CheckChange(change); !problem.empty()) {
            problems.push_back(where + problem);
            continue;
        }
        set.changes.push_back(std::move(change));
    }
    if (!valid) problems.push_back(source + ": no DATE line");
    return set;
}

ChangeLog ReadChangeLog(const std::filesystem::path& folder) {
    ChangeLog log;
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".changes") files.push_back(entry.path());
    }
    if (error) log.problems.push_back(folder.string() + ": " + error.message());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        bool valid = false;
        ChangeSet set = ParseChangeSet(text.str(), file.filename().string(), log.problems, valid);
        if (valid) log.sets.push_back(std::move(set));
    }
    std::stable_sort(log.sets.begin(), log.sets.end(),
                     [](const ChangeSet& a, const ChangeSet& b) { return a.date < b.date; });
    return log;
}

DateTime LatestDate(const ChangeLog& log) {
    // A set with nothing to send brings no definitions: a client that took
    // its date would skip nothing, but would ask for nothing either.
    for (auto set = log.sets.rbegin(); set != log.sets.rend(); ++set) {
        if (!set->changes.empty()) return set->date;
    }
    return EmptyLogDate();
}

}  // namespace defserver
