#include "cli/ProgressLine.h"


#include "common/Lines.h"
#include "common/Text.h"

namespace bastion::cli {

namespace {

std::string Percent(const ui::ProgressBar& bar) {
    const double range = bar.Max() - bar.Min();
    const double share = range > 0 ? (bar.Value() - bar.Min()) / range * 100 : 0;
    return ToDecimal(static_cast<long long>(share + 0.5)) + "%";
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

std::string ProgressText(const ui::FrmMain& form, std::string_view phaseCaption, int width) {
    std::string phase = Trim(phaseCaption);
    if (!phase.empty() && phase.back() == ':') phase.pop_back();
    if (phase.empty()) phase = form.lblPercentageCompleted.Caption();
    std::string line = phase + "  " + Percent(form.pb1) + " | " + Percent(form.pb2);
    const std::size_t room = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
    const std::string item = CurrentItem(form.lblStatus.Caption(), phaseCaption);
    if (!item.empty() && Columns(line) + 2 < room) {
        line += "  " + Tail(item, room - Columns(line) - 2);
    }
    return Head(line, room);
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
