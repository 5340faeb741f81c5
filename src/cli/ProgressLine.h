// The one line on standard error that shows how a scan is getting on,
// redrawn in place.
#pragma once

#include <string>
#include <string_view>

#include "cli/ConsoleOutput.h"
#include "ui/forms/FrmMain.h"

namespace bastion::cli {

// "Scanning registry  40% | 12%  software\evil" fitted to width - 1
// columns: the phase, the two progress bars, and the item examined (its
// end kept when it is too long). The status text's own lines are joined;
// the phase caption that the scans repeat in it is left out.
std::string ProgressText(const ui::FrmMain& form, std::string_view phaseCaption, int width);

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
