#include "cli/ProgressLine.h"

#include "common/Lines.h"
#include "common/Text.h"
#include "scan/state/StatusTextFilter.h"

namespace bastion::cli {

namespace {

std::string Percent(std::int16_t percent) { return ToDecimal(percent) + "%"; }

// A percentage as a bar of 0 to 100 would take it: a value beyond its range
// (or a negative one, which means unchanged) leaves it as it was.
void Take(std::int16_t& shown, std::int16_t percent) {
    if (percent >= 0 && percent <= 100) shown = percent;
}

// Code points, which is what a terminal gives a column each (near enough
// for a progress line).
std::size_t Columns(std::string_view text) {
    std::size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++count;
    }
    return count;
}

// The last columns of text, at a character boundary.
std::string Tail(std::string_view text, std::size_t columns) {
    std::size_t total = Columns(text);
    std::size_t skip = total > columns ? total - columns : 0;
    std::size_t at = 0;
    while (skip > 0 && at < text.size()) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
        --skip;
    }
    return std::string(text.substr(at));
}

std::string Head(std::string_view text, std::size_t columns) {
    std::size_t at = 0;
    std::size_t taken = 0;
    while (at < text.size() && taken < columns) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
        ++taken;
    }
    return std::string(text.substr(0, at));
}

std::string CurrentItem(std::string_view status, std::string_view phaseCaption) {
    std::string item;
    const std::string phase = Trim(phaseCaption);
    for (const std::string& piece : SplitLines(status)) {
        std::string part = Trim(ReplaceAll(piece, "\t", " "));
        if (part.empty() || part == phase) continue;
        if (!item.empty()) item += ' ';
        item += part;
    }
    return item;
}

}  // namespace

std::string ProgressText(const ScanProgressView& view, int width) {
    std::string phase = Trim(view.phaseCaption);
    if (!phase.empty() && phase.back() == ':') phase.pop_back();
    std::string line = phase + "  " + Percent(view.scanPercent) + " | " + Percent(view.overallPercent);
    const std::size_t room = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
    // The words the window keeps out of its status line stay out of this
    // one too.
    const std::string item = CurrentItem(FilterStatusText(view.status), view.phaseCaption);
    if (!item.empty() && Columns(line) + 2 < room) {
        line += "  " + Tail(item, room - Columns(line) - 2);
    }
    return Head(line, room);
}

void ConsoleScanProgress::Prepared() {
    view_.scanPercent = 0;
    view_.overallPercent = 0;
}

void ConsoleScanProgress::Phase(std::string_view message) { view_.phaseCaption.assign(message).append(": "); }

void ConsoleScanProgress::Item(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent,
                               const ScanCounters&, bool) {
    view_.status.assign(text);
    Percentages(scanPercent, overallPercent);
}

void ConsoleScanProgress::Status(std::string_view text) { view_.status.assign(text); }

void ConsoleScanProgress::Percentages(std::int16_t scanPercent, std::int16_t overallPercent) {
    Take(view_.scanPercent, scanPercent);
    Take(view_.overallPercent, overallPercent);
}

void ProgressLine::Show(const std::string& text) {
    if (!enabled_ || text == shown_) return;
    std::string line = "\r";
    line += text;
    const std::size_t now = Columns(text);
    const std::size_t before = Columns(shown_);
    if (before > now) line += std::string(before - now, ' ');
    output_.Err(line);
    shown_ = text;
}

void ProgressLine::Clear() {
    if (!enabled_ || shown_.empty()) return;
    std::string blank = "\r";
    blank.append(Columns(shown_), ' ').append("\r");
    output_.Err(blank);
    shown_.clear();
}

}  // namespace bastion::cli
