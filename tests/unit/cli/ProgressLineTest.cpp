#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <atomic>

#include "StringConsole.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleEventPump.h"

namespace bastion::cli {
namespace {

TEST(ProgressLineTest, ShowsPhasePercentagesAndTheEndOfTheItemWithinTheWidth) {
    ui::FrmMain form;
    form.pb1.SetValue(40);
    form.pb2.SetValue(12);
    form.lblStatus.SetCaption("software\\microsoft\\windows\\run\\evil\r\nScanning registry: ");
    EXPECT_EQ(ProgressText(form, "Scanning registry: ", 80),
              "Scanning registry  40% | 12%  software\\microsoft\\windows\\run\\evil");
    EXPECT_EQ(ProgressText(form, "Scanning registry: ", 40), "Scanning registry  40% | 12%  \\run\\evil");

    form.lblStatus.SetCaption("Scanning: C:\\Caf\xC3\xA9\\\r\nx.exe");
    EXPECT_EQ(ProgressText(form, "", 38), "  40% | 12%  Scanning: C:\\Caf\xC3\xA9\\ x.exe")
        << "no phase yet: the phase label, empty too";
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
