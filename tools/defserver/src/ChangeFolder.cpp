#include "ChangeFolder.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>

namespace defserver {

using bastion::DateTime;

namespace {

constexpr long long kDaySeconds = 24 * 60 * 60;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

DateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

ChangeFolder::ChangeFolder(std::filesystem::path folder, std::function<void(const std::string&)> report,
                           std::function<DateTime()> now, std::chrono::seconds settle)
    : folder_(std::move(folder)), report_(std::move(report)), now_(std::move(now)), settle_(settle) {}

void ChangeFolder::Report(const std::string& message) {
    if (reported_.insert(message).second && report_) report_(message);
}

std::optional<std::vector<ChangeFolder::Listed>> ChangeFolder::List() {
    std::error_code error;
    std::vector<Listed> listed;
    for (std::filesystem::directory_iterator entry(folder_, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_regular_file() || entry->path().extension() != ".changes") continue;
        std::error_code statError;
        Listed each{entry->path(), std::filesystem::last_write_time(entry->path(), statError), 0};
        if (!statError) each.size = std::filesystem::file_size(entry->path(), statError);
        if (!statError) listed.push_back(std::move(each));
    }
    if (error) {
        Report(folder_.string() + ": " + error.message());
        return std::nullopt;
    }
    std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) { return a.path < b.path; });
    return listed;
}

bool ChangeFolder::Changed() {
    std::lock_guard<std::mutex> hold(lock_);
    const std::optional<std::vector<Listed>> listed = List();
    if (!listed || listed->size() != files_.size()) return true;
    for (const Listed& each : *listed) {
        const auto known = files_.find(each.path.filename().string());
        if (known == files_.end() || known->second.written != each.written || known->second.size != each.size) {
            return true;
        }
    }
    // A set refused for its date ahead is served once its day is near.
    const DateTime latestAllowed = bastion::AddSeconds(now_(), kDaySeconds);
    return std::any_of(files_.begin(), files_.end(), [&](const auto& file) {
        return file.second.valid && !file.second.published && file.second.set.date <= latestAllowed;
    });
}

std::optional<ChangeLog> ChangeFolder::Read() {
    std::lock_guard<std::mutex> hold(lock_);
    const std::optional<std::vector<Listed>> listed = List();
    if (!listed) return std::nullopt;
    std::error_code error;
    // A set taken away leaves its trace in the folder's own time.
    lastWritten_ = std::filesystem::last_write_time(folder_, error);
    const std::filesystem::file_time_type fileNow = std::filesystem::file_time_type::clock::now();

    // Entries move from files_ to seen: a large log is not copied at every
    // look, only once more into the log served.
    std::map<std::string, Parsed> seen;
    // The files read for the first time (or again, after a change).
    std::set<std::string> fresh;
    for (const Listed& each : *listed) {
        const std::filesystem::path& path = each.path;
        const std::string name = path.filename().string();
        const auto written = each.written;
        const std::uintmax_t size = each.size;
        auto cached = files_.find(name);
        const bool known = cached != files_.end();
        const bool changed = known && (cached->second.written != written || cached->second.size != size);
        // Written a moment ago: it may still be being copied. Looked at
        // again once it has stayed as it is.
        if ((!known || changed) && fileNow - written < settle_) {
            if (known) seen.insert(files_.extract(cached));
            continue;
        }
        if (known && changed && cached->second.published) {
            Parsed again;
            std::vector<std::string> ignored;
            again.set = ParseChangeSet(ReadAll(path), name, ignored, again.valid);
            if (!again.valid || again.set.date != cached->second.set.date ||
                again.set.changes != cached->second.set.changes) {
                Report(name + ": error: changed after it was published; a published set is never changed, so it " +
                       "is served as it was published");
            }
            cached->second.written = written;
            cached->second.size = size;
        } else if (!known || changed) {
            Parsed parsed;
            parsed.written = written;
            parsed.size = size;
            parsed.set = ParseChangeSet(ReadAll(path), name, parsed.problems, parsed.valid);
            cached = files_.insert_or_assign(name, std::move(parsed)).first;
            fresh.insert(name);
        }
        seen.insert(files_.extract(cached));
        lastWritten_ = std::max(lastWritten_, written);
    }
    // What is left was not in the folder this time.
    for (auto left = files_.begin(); left != files_.end();) {
        const auto current = left++;
        if (!current->second.published) continue;
        Report(current->first + ": error: removed after it was published; a published set is never taken back, " +
               "so it is served as it was published until the server starts again");
        seen.insert(files_.extract(current));
    }
    files_ = std::move(seen);

    ChangeLog log;
    const DateTime latestAllowed = bastion::AddSeconds(now_(), kDaySeconds);
    std::optional<DateTime> before = published_;
    for (auto& [name, parsed] : files_) {
        for (const std::string& problem : parsed.problems) Report(problem);
        if (!parsed.valid) continue;
        const std::string date = bastion::FormatGeneralDate(parsed.set.date);
        if (parsed.set.date > latestAllowed) {
            // Reported each time it is met anew: a date far ahead is most
            // likely a typing error, and is served once its day is near.
            Report(name + ": refused: dated " + date + ", more than a day ahead of the server's clock");
            continue;
        }
        if (fresh.count(name) != 0 && before && parsed.set.date < *before && !parsed.set.changes.empty()) {
            Report(name + ": warning: dated " + date + ", before " + bastion::FormatGeneralDate(*before) +
                   " already published; clients past " + date + " will not receive it");
        }
        if (!parsed.set.changes.empty()) before = std::max(before.value_or(parsed.set.date), parsed.set.date);
        parsed.published = true;
        log.sets.push_back(parsed.set);
    }
    std::stable_sort(log.sets.begin(), log.sets.end(),
                     [](const ChangeSet& a, const ChangeSet& b) { return a.date < b.date; });
    const DateTime latest = LatestDate(log);
    if (!published_ || *published_ < latest) published_ = latest;
    return log;
}

std::filesystem::file_time_type ChangeFolder::LastWritten() {
    std::lock_guard<std::mutex> hold(lock_);
    return lastWritten_;
}

}  // namespace defserver
