// The one line on standard error that shows how a scan is getting on,
// redrawn in place, and what it is drawn from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/ConsoleOutput.h"
#include "scan/results/ScanProgress.h"

namespace bastion::cli {

// What a scan has told of its progress so far.
struct ScanProgressView {
    // The phase message followed by ": ", as the scans repeat it in their
    // status texts; "" before the first phase.
    std::string phaseCaption;
    // The item examined, on lines of its own.
    std::string status;
    std::int16_t scanPercent = 0;
    std::int16_t overallPercent = 0;
};

// "Scanning registry  40% | 12%  software\evil" fitted to width - 1
// columns: the phase, the two percentages, and the item examined (its end
// kept when it is too long). The status text's own lines are joined; the
// phase caption that the scans repeat in it is left out.
std::string ProgressText(const ScanProgressView& view, int width);

// Keeps what the scan tells, every report of it: the line is drawn from it
// by time, not by report.
class ConsoleScanProgress final : public ScanProgress {
public:
    void Prepared() override;
    void Phase(std::string_view message) override;
    void Item(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent,
              const ScanCounters& counters, bool now) override;
    void Status(std::string_view text) override;
    void Percentages(std::int16_t scanPercent, std::int16_t overallPercent) override;

    const ScanProgressView& View() const { return view_; }

private:
    ScanProgressView view_;
};

class ProgressLine {
public:
    ProgressLine(ConsoleOutput& output, bool enabled) : output_(output), enabled_(enabled) {}

    bool Enabled() const { return enabled_; }
    // Redraws the line (a text equal to the one shown is not written again).
    void Show(const std::string& text);
    // Blanks the line, so that other output starts at its beginning.
    void Clear();

private:
    ConsoleOutput& output_;
    bool enabled_;
    std::string shown_;
};

}  // namespace bastion::cli
