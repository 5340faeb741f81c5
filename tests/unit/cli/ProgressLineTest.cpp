#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <atomic>

#include "StringConsole.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleEventPump.h"

namespace bastion::cli {
namespace {

TEST(ProgressLineTest, ShowsPhasePercentagesAndTheEndOfTheItemWithinTheWidth) {
    ConsoleScanProgress progress;
    EXPECT_EQ(ProgressText(progress.View(), 40), "  0% | 0%") << "nothing told yet";
    progress.Phase("Scanning registry");
    progress.Item("software\\microsoft\\windows\\run\\evil\r\nScanning registry: ", 40, 12, {}, false);
    EXPECT_EQ(ProgressText(progress.View(), 80),
              "Scanning registry  40% | 12%  software\\microsoft\\windows\\run\\evil");
    EXPECT_EQ(ProgressText(progress.View(), 40), "Scanning registry  40% | 12%  \\run\\evil");

    // A percentage left as it was, and the words no status line shows.
    progress.Item("Scanning: C:\\Caf\xC3\xA9\\\r\nsexy.exe", -1, 30, {}, false);
    EXPECT_EQ(ProgressText(progress.View(), 80), "Scanning registry  40% | 30%  Scanning: C:\\Caf\xC3\xA9\\ y.exe");
    progress.Prepared();
    EXPECT_EQ(progress.View().scanPercent, 0);
}

TEST(ProgressLineTest, RedrawsInPlaceAndClearsBeforeAMessage) {
    StringConsole console;
    ProgressLine progress(console, true);
    progress.Show("Scanning registry  10%");
    progress.Show("Scanning registry  10%");
    progress.Show("Done");
    EXPECT_EQ(console.err, "\rScanning registry  10%\rDone                  ");

    console.err.clear();
    ConsoleDialogs dialogs(console, progress);
    EXPECT_EQ(dialogs.MessageBox("Line one\r\nline two", "Testwall", services::MsgButtons::YesNo,
                                 services::MsgIcon::Question),
              services::MsgResult::No);
    EXPECT_EQ(console.err, "\r    \rLine one\nline two\n");

    StringConsole quiet;
    ProgressLine off(quiet, false);
    off.Show("anything");
    off.Clear();
    EXPECT_EQ(quiet.err, "");
}

TEST(ConsoleEventPumpTest, APressBecomesOneStopRequestOnThePumpingThread) {
    std::atomic<bool> interrupted{false};
    ConsoleEventPump pump(interrupted);
    int stops = 0;
    int redraws = 0;
    pump.onInterrupt = [&] { ++stops; };
    pump.onRedraw = [&] { ++redraws; };

    pump.Pump();
    EXPECT_EQ(stops, 0);
    interrupted = true;
    pump.Pump();
    pump.Pump();
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(interrupted);
    // Redraws are spaced out; PumpNow always redraws.
    EXPECT_EQ(redraws, 1);
    pump.PumpNow();
    EXPECT_EQ(redraws, 2);
}

}  // namespace
}  // namespace bastion::cli
