// The file shield in a running program on a fake machine: which folders it
// watches and how the Options page shows and changes them, what it does
// with a threat that arrives (quarantine without asking, or the alert's
// answers), the complete-file rule and each path once, content hashed on a
// worker, a look's time limit, waiting while an operation runs, and a
// folder walked again when Windows lost its changes.
// The real watching, a slow writer and a burst: FileShieldWineTest.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "app/FileShieldOptions.h"
#include "common/Text.h"
#include "definitions/content/ContentDefinitions.h"
#include "platform/Sha256.h"
#include "services/settings/SettingKeys.h"
#include "shields/file/ArrivalHashes.h"
#include "shields/file/ArrivalQueue.h"
#include "shields/file/FileShield.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using Rows = std::vector<std::string>;
using testing::FakeShell;

const std::string kDownloads = FakeShell::kUserProfile + "\\Downloads";
const std::string kDesktop = FakeShell::kUserProfile + "\\Desktop";
const std::string kTemp = "C:\\Temp";
constexpr std::string_view kThreatName = "downloadedspyware.exe";

struct FileShieldTest : testing::ShieldFixture {
    FileShieldTest() {
        WriteDefinitions({});
        // A long program name matches in any folder.
        machine.files.WriteFile(DataFilePath(run.app.dataFolder, datafile::kFileDefinitions),
                                EncodeDefinitionText(std::string(kThreatName) + "=Spy.Dropper|[windir]") + "\r\n");
        machine.system.environment.push_back({"TEMP", kTemp + "\\"});
        machine.CreateSpecialFolders();
        machine.files.AddFolder(kDownloads);
        machine.files.AddFolder(kTemp);
        BindFileShieldOptions({form, run.app.services, run.app.fileShield});
    }

    // A file lands in a watched folder and Windows says so.
    void Arrive(const std::string& folder, const std::string& path, const std::string& content = "MZ") {
        machine.files.AddFile(path, content);
        EXPECT_TRUE(machine.watcher.Tell(folder, {path})) << folder;
    }
    // The timer's looks until nothing waits (or it gives up).
    void LookUntilDone() {
        for (int i = 0; i < 20 && form.tmrFileShield.Enabled(); ++i) form.tmrFileShield.Tick();
        EXPECT_FALSE(form.tmrFileShield.Enabled()) << "an idle shield's timer is off";
    }
    bool Exists(const std::string& path) { return machine.files.Lookup(path).has_value(); }
    std::string Exclusions() {
        return machine.files.Content(DataFilePath(run.app.dataFolder, datafile::kExclusions)).value_or("");
    }
    Rows FolderRows() {
        Rows rows;
        for (const ui::ListItem& row : form.lvwFileShieldFolders.Rows()) {
            rows.push_back(row.text + " | " + (row.subItems.empty() ? "" : row.subItems[0]));
        }
        return rows;
    }
    void Restore() { RestoreFileShieldOptions({form, run.app.services, run.app.fileShield}); }
};

TEST_F(FileShieldTest, WatchesTheUsualFoldersSaysWhichItCannotAndTheOptionsChangeThem) {
    machine.watcher.refused[kDesktop] = platform::WatchFailure::NotSupported;
    Restore();

    const std::string startup = "\\Start Menu\\Programs\\Startup";
    EXPECT_EQ(FolderRows(), (Rows{kDownloads + " | Watched", kDesktop + " | Not watched: Windows cannot watch this folder",
                                  FakeShell::kUserProfile + "\\My Documents | Watched",
                                  FakeShell::kUserProfile + startup + " | Watched",
                                  FakeShell::kAllUsersProfile + startup + " | Watched",
                                  kTemp + " | Watched (this folder only)"}));
    ASSERT_NE(machine.watcher.WatchOf(kTemp), nullptr);
    EXPECT_FALSE(machine.watcher.WatchOf(kTemp)->subfolders);
    EXPECT_TRUE(machine.watcher.WatchOf(kDownloads)->subfolders);
    EXPECT_TRUE(form.optFileShieldOn.Value());
    EXPECT_FALSE(form.chkFileShieldQuarantine.Checked());

    // Ticked rows go, a chosen folder joins (once), and the list is kept.
    form.lvwFileShieldFolders.SetChecked(1, true);
    form.lvwFileShieldFolders.SetChecked(2, true);
    form.cmdRemoveShieldFolder.Click();
    run.dialogs.AnswerBrowseFolder("D:\\Incoming\\");
    form.cmdAddShieldFolder.Click();
    run.dialogs.AnswerBrowseFolder("d:\\incoming");
    form.cmdAddShieldFolder.Click();
    EXPECT_EQ(run.app.settings.Read(keys::kFileShieldFolders),
              kDownloads + "|" + FakeShell::kUserProfile + startup + "|" + FakeShell::kAllUsersProfile + startup + "|" +
                  kTemp + "\\*|D:\\Incoming");
    EXPECT_EQ(FolderRows().back(), "D:\\Incoming | Not watched: the folder does not exist");
    EXPECT_EQ(machine.watcher.WatchOf(kDesktop), nullptr);

    // Off: nothing watched, and that is what the list says.
    form.optFileShieldOff.Click();
    EXPECT_EQ(run.app.settings.Read(keys::kOptFileShieldOn), "False");
    EXPECT_TRUE(machine.watcher.WatchedFolders().empty());
    EXPECT_EQ(FolderRows().front(), kDownloads + " | Not watched: the file shield is off");
    // An emptied list stays empty, on again.
    form.optFileShieldOn.Click();
    for (std::size_t i = 0; i < form.lvwFileShieldFolders.Count(); ++i) form.lvwFileShieldFolders.SetChecked(i, true);
    form.cmdRemoveShieldFolder.Click();
    Restore();
    EXPECT_TRUE(FolderRows().empty());
    EXPECT_TRUE(machine.watcher.WatchedFolders().empty());
}

TEST_F(FileShieldTest, AThreatThatArrivesIsQuarantinedWithoutAskingWhenSetAndCounted) {
    run.app.settings.Write(keys::kOptFileShieldQuarantine, "True");
    Restore();
    EXPECT_TRUE(form.chkFileShieldQuarantine.Checked());
    const std::string threat = kDownloads + "\\unpacked\\" + std::string(kThreatName);
    const std::string harmless = kDownloads + "\\unpacked\\readme.txt";
    machine.files.AddFolder(kDownloads + "\\unpacked");
    Arrive(kDownloads, harmless);
    Arrive(kDownloads, threat);
    EXPECT_TRUE(form.tmrFileShield.Enabled());

    LookUntilDone();

    EXPECT_FALSE(Exists(threat));
    EXPECT_TRUE(Exists(harmless));
    EXPECT_TRUE(opened.empty()) << "nothing asked";
    EXPECT_EQ(run.app.settings.ReadNumber(keys::kLblDefRemoved), 1);
    EXPECT_TRUE(run.app.alerts.fileShieldNotice.Visible());
    EXPECT_NE(run.app.alerts.fileShieldNotice.lblUpdateInfo.Caption().find(threat), std::string::npos);
    const std::string log = machine.files.Content(run.app.dataFolder + "\\quarantine\\QuarantineLog.txt").value_or("");
    EXPECT_NE(log.find(" - Location: " + threat), std::string::npos) << log;
    // Outside a scan the scan's results stay as they were.
    EXPECT_TRUE(form.lvwSpywareFound.Empty());
}

TEST_F(FileShieldTest, TheAlertQuarantinesOrAllowsAndAnAllowedFileIsLeftAlone) {
    Restore();
    const std::string first = kDownloads + "\\" + std::string(kThreatName);
    const std::string second = kDesktop + "\\" + std::string(kThreatName);
    AtNextAlert(testing::PressYes);
    Arrive(kDownloads, first);
    LookUntilDone();
    AtNextAlert(testing::PressNo);
    Arrive(kDesktop, second);
    LookUntilDone();

    EXPECT_EQ(opened, (Rows{first, second}));
    EXPECT_FALSE(Exists(first));
    EXPECT_TRUE(Exists(second));
    EXPECT_EQ(run.app.settings.ReadNumber(keys::kLblDefRemoved), 1);
    EXPECT_NE(Exclusions().find(second), std::string::npos) << Exclusions();

    // Written again: the exclusion holds; so does one the user made.
    machine.files.WriteFile(second, "MZ changed");
    machine.watcher.Tell(kDesktop, {second});
    LookUntilDone();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(Exists(second));
}

TEST_F(FileShieldTest, EachPathOnceAndOnlyWhenItsWriterHasFinishedOrItsSizeHeld) {
    ArrivalQueue queue(machine.files, machine.watcher, machine.clock);
    const std::string done = kDownloads + "\\done.exe";
    const std::string writing = kDownloads + "\\writing.zip";
    const std::string held = kDownloads + "\\held.log";
    machine.files.AddFile(done, "MZ");
    machine.files.AddFile(writing, "PK");
    machine.files.AddFile(held, "log");
    machine.watcher.beingWritten = {writing, held};
    for (const std::string& path : {done, writing, done, ToUpper(done), held, kDownloads + "\\gone.tmp"}) {
        queue.Add(path);
    }
    EXPECT_EQ(queue.Size(), 4u) << "each path once, whatever its case";

    auto take = [&queue] {
        Rows taken;
        for (const Arrival& arrival : queue.TakeComplete(10)) taken.push_back(arrival.path);
        return taken;
    };
    EXPECT_EQ(take(), (Rows{done})) << "the gone file is dropped";
    // The writers go on: the sizes change between looks.
    for (int look = 0; look < 8; ++look) {
        machine.files.AppendFile(writing, "more");
        machine.files.AppendFile(held, "more");
        machine.clock.milliseconds += ArrivalQueue::kHeldMs / 2;
        EXPECT_EQ(take(), Rows{}) << look;
    }
    machine.watcher.beingWritten.erase(writing);
    EXPECT_EQ(take(), (Rows{writing}));
    // The log stays open but no longer grows: complete once its size has
    // held for a second, however many looks came meanwhile.
    for (int look = 0; look < 8; ++look) EXPECT_EQ(take(), Rows{});
    machine.clock.milliseconds += ArrivalQueue::kHeldMs - 1;
    EXPECT_EQ(take(), Rows{});
    machine.clock.milliseconds += 1;
    EXPECT_EQ(take(), (Rows{held}));
    EXPECT_TRUE(queue.Empty());

    // Named again after its check: taken only when it changed; a look
    // takes at most what it is asked to.
    queue.Checked({done, *machine.files.Lookup(done)});
    queue.Add(done);
    EXPECT_EQ(take(), Rows{});
    machine.files.WriteFile(done, "MZ, and more");
    queue.Add(done);
    queue.Add(writing);
    EXPECT_EQ(queue.TakeComplete(1).size(), 1u);
    EXPECT_EQ(queue.Size(), 1u);
}

TEST_F(FileShieldTest, WaitsWhileAnOperationRunsThenCatchesUpAndWalksWhatWindowsLost) {
    run.app.settings.Write(keys::kOptFileShieldQuarantine, "True");
    Restore();
    const std::string duringScan = kDownloads + "\\" + std::string(kThreatName);
    {
        auto scan = run.app.operations.TryBegin("scan");
        Arrive(kDownloads, duringScan);
        form.tmrFileShield.Tick();
        EXPECT_TRUE(Exists(duringScan)) << "the scan runs alone";
    }
    LookUntilDone();
    EXPECT_FALSE(Exists(duringScan));

    // A folder moved in whole brings its files, unnamed.
    const std::string movedIn = kDownloads + "\\moved\\" + std::string(kThreatName);
    machine.files.AddFile(movedIn, "MZ");
    EXPECT_TRUE(machine.watcher.Tell(kDownloads, {kDownloads + "\\moved"}));
    LookUntilDone();
    EXPECT_FALSE(Exists(movedIn));

    // Lost changes: what is in the folder now is looked at; the temporary
    // folder's subfolders are not the shield's business.
    const std::string unnamed = kDownloads + "\\old\\deeper\\" + std::string(kThreatName);
    const std::string inTempSub = kTemp + "\\sub\\" + std::string(kThreatName);
    machine.files.AddFile(unnamed, "MZ");
    machine.files.AddFile(inTempSub, "MZ");
    EXPECT_TRUE(machine.watcher.Tell(kDownloads, {}, true));
    EXPECT_TRUE(machine.watcher.Tell(kTemp, {}, true));
    LookUntilDone();
    EXPECT_FALSE(Exists(unnamed));
    EXPECT_FALSE(Exists(movedIn));
    EXPECT_TRUE(Exists(inTempSub));
    EXPECT_EQ(run.app.settings.ReadNumber(keys::kLblDefRemoved), 3);
}

TEST_F(FileShieldTest, AFileOfADefinedSizeIsHashedOnAWorkerAndActedOnWhenItsHashEndsOrAgainWhenItChanged) {
    run.app.settings.Write(keys::kOptFileShieldQuarantine, "True");
    const std::string threat(3 * platform::kContentHashPiece, 'T');
    const std::string harmless(threat.size(), 'h');
    machine.files.WriteFile(DataFilePath(run.app.dataFolder, datafile::kContentDefinitions),
                            EncodeDefinitionText(std::to_string(threat.size()) + ":" +
                                                 Sha256Hex(platform::Sha256Of(threat)) + "=Big.Dropper|Trojan") +
                                "\r\n");
    Restore();
    const std::string big = kDownloads + "\\setup.exe";
    const std::string same = kDownloads + "\\video.bin";
    const std::string byName = kDownloads + "\\" + std::string(kThreatName);
    const std::string rewritten = kDesktop + "\\notes.bin";
    machine.files.pendingHashesHeld = true;
    Arrive(kDownloads, big, threat);
    Arrive(kDownloads, same, harmless);
    Arrive(kDesktop, rewritten, harmless);
    Arrive(kDownloads, byName);
    for (int look = 0; look < 5; ++look) form.tmrFileShield.Tick();

    // The name gives one away at once; the others wait for their hashes,
    // a few at a time, without holding the looks.
    EXPECT_FALSE(Exists(byName));
    EXPECT_TRUE(Exists(big));
    EXPECT_TRUE(form.tmrFileShield.Enabled()) << "the hashes are waited for";
    EXPECT_EQ(machine.files.WorkerHashes(), ArrivalHashes::kAtOnce);
    EXPECT_EQ(machine.files.ContentHashes(), 0u) << "nothing hashed on the window's thread";

    // Written again while it waits (its whole size laid out first, and
    // still being written): it arrives anew and is hashed once it is
    // complete, not before.
    machine.watcher.beingWritten.insert(rewritten);
    machine.files.WriteFile(rewritten, std::string(threat.size(), '\0'));
    machine.watcher.Tell(kDesktop, {rewritten});
    machine.files.pendingHashesHeld = false;
    for (int look = 0; look < 5; ++look) form.tmrFileShield.Tick();
    EXPECT_FALSE(Exists(big));
    EXPECT_TRUE(Exists(same));
    EXPECT_TRUE(Exists(rewritten));
    machine.files.WriteFile(rewritten, threat);
    machine.watcher.beingWritten.erase(rewritten);
    LookUntilDone();
    EXPECT_FALSE(Exists(rewritten));
    EXPECT_EQ(run.app.settings.ReadNumber(keys::kLblDefRemoved), 3);
    // Named again unchanged: not hashed again.
    machine.watcher.Tell(kDownloads, {same});
    LookUntilDone();
    EXPECT_EQ(machine.files.WorkerHashes(), 3u) << "each file hashed once, as it was when complete";
}

TEST_F(FileShieldTest, ALookStopsWhenItsTimeIsUpAndTheNextComesSoonUntilTheBacklogIsDrained) {
    run.app.settings.Write(keys::kOptFileShieldQuarantine, "True");
    Restore();
    const std::string threat = kDownloads + "\\" + std::string(kThreatName);
    std::vector<std::string> burst;
    for (int i = 0; i < 40; ++i) burst.push_back(kDownloads + "\\file" + std::to_string(i) + ".txt");
    burst.push_back(threat);
    for (const std::string& path : burst) machine.files.AddFile(path, "data");
    machine.watcher.Tell(kDownloads, burst);
    // Every reading of the clock finds some milliseconds gone.
    machine.clock.millisecondsEachRead = 5;

    int looks = 0;
    for (; looks < 100 && Exists(threat); ++looks) {
        form.tmrFileShield.Tick();
        if (Exists(threat)) EXPECT_EQ(form.tmrFileShield.Interval(), FileShield::kBehindIntervalMs) << looks;
    }
    EXPECT_FALSE(Exists(threat));
    EXPECT_GT(looks, 3) << "the backlog took several looks";
    EXPECT_LT(looks, 40) << "each look checked several files";
    LookUntilDone();
    EXPECT_EQ(form.tmrFileShield.Interval(), FileShield::kLookIntervalMs);
}

}  // namespace
}  // namespace bastion
