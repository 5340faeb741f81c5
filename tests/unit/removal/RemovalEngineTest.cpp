// The removal from ticked results to quarantine, log, index and back, over
// the fakes: what is taken can be put back, what cannot be taken is said.
#include "removal/RemovalEngine.h"

#include <gtest/gtest.h>

#include "app/App.h"
#include "common/Text.h"
#include "removal/quarantine/QuarantineRestore.h"
#include "removal/files/NeverRemoved.h"
#include "app/pages/RestoreWindow.h"
#include "removal/quarantine/StoredCopy.h"
#include "removal/registry/RegFile.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

// A file as the quarantine keeps it: behind its header, transformed.
std::string Stored(std::string bytes) {
    TransformStoredBytes(bytes.data(), bytes.size());
    return std::string(kStoredCopyHeader) + bytes;
}

using platform::Hive;
using platform::RegView;

struct RemovalEngineTest : ::testing::Test {
    RemovalEngineTest() { machine.CreateSpecialFolders(); }

    // What a scan finds; a find after a removal belongs to a new scan.
    ScanState& Scan() {
        if (!app.state.ScanInProgress()) app.state.Begin(app.presenter);
        return app.state;
    }
    void File(const std::string& path, const std::string& threat) {
        Scan().ReportDetection(DetectionKind::File, threat, "", path, FileItem{path});
    }
    void Registry(Hive hive, const std::string& key, const std::string& value, RegView view) {
        Scan().ReportDetection(DetectionKind::Registry, "Adco", "", key + value, RegistryItem{hive, key, value, view});
    }
    void Cookie(const std::string& path) {
        Scan().AddDetection(DetectionKind::Cookie, "x", "Tracking Cookie", path, CookieItem{path});
    }
    // The scan over, every result ticked.
    void TickAll() {
        if (app.state.ScanInProgress()) app.presenter.Show(app.state.End());
        app.presenter.SelectAll();
    }
    RemovalReport RemoveAll() {
        TickAll();
        dialogs.AnswerMessageBox(services::MsgResult::Yes);
        return app.removal.Command4_Click();
    }
    const ui::ListView& Results() const { return app.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }
    std::vector<QuarantineItem> Items() { return quarantine.Items(); }

    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    App app{machine.Bundle(), dialogs, pump, testing::TestIdentity()};
    Quarantine quarantine{machine.files, machine.Bundle().codePage, machine.clock, app.dataFolder};
};

TEST_F(RemovalEngineTest, EverythingRemovedIsKeptUnderItsOwnNameLoggedAndComesBackWhole) {
    auto& files = machine.files;
    auto& registry = machine.registry;
    files.AddFile("C:\\A\\spy.exe", "first", platform::kAttrReadOnly);
    files.AddFile("C:\\B\\spy.exe", "second", platform::kAttrHidden);
    files.AddFile("C:\\SpyCo\\data\\inner.txt", "inner");
    files.AddFile("C:\\Cookies\\user@ads[1].txt", "ads.example/");
    registry.Set(Hive::CurrentUser, "Software\\Adco", "Run", platform::RegValue::String("a \"b\"\r\nc"));
    registry.Set(Hive::LocalMachine, "Software\\SpyKey", "", platform::RegValue::Dword(7));
    registry.Set(Hive::LocalMachine, "Software\\SpyKey\\Sub", "bin",
                 platform::RegValue::Raw(platform::RegType::Binary, {1, 2, 3}));
    File("C:\\A\\spy.exe", "Spy");
    File("C:\\B\\spy.exe", "Spy");
    File("C:\\SpyCo\\", "FILE");  // a folder path with its trailing backslash
    Registry(Hive::CurrentUser, "Software\\Adco\\", "Run", RegView::Bits64);
    Registry(Hive::LocalMachine, "Software\\SpyKey", "", RegView::Bits64);
    Cookie("C:\\Cookies\\user@ads[1].txt");
    app.settings.WriteSetting("Settings", "lblDefRemoved", "4");

    const RemovalReport report = RemoveAll();
    EXPECT_EQ(report.removed, 6);
    EXPECT_EQ(report.failed, 0);
    for (const char* path : {"C:\\A\\spy.exe", "C:\\B\\spy.exe", "C:\\Cookies\\user@ads[1].txt"}) {
        EXPECT_FALSE(files.HasFile(path)) << path;
    }
    EXPECT_FALSE(files.HasFolder("C:\\SpyCo"));
    EXPECT_FALSE(registry.HasValue(Hive::CurrentUser, "Software\\Adco", "Run"));
    EXPECT_FALSE(registry.HasKey(Hive::LocalMachine, "Software\\SpyKey"));
    EXPECT_TRUE(Results().Empty());
    EXPECT_EQ(app.form.lblDefRemoved.Caption(), "10");
    // One result per detection, in the order of work: files and folders,
    // registry entries, cookies.
    ASSERT_EQ(report.items.size(), 6u);
    EXPECT_EQ(report.items[2].location, "C:\\SpyCo") << "a folder as the removal takes it";
    EXPECT_EQ(report.items[3].location, "HKEY_CURRENT_USER\\Software\\Adco\\Run");
    EXPECT_EQ(report.items[5].location, "C:\\Cookies\\user@ads[1].txt");
    for (const RemovedItem& item : report.items) {
        EXPECT_NE(app.presenter.Results().Find(item.detection), nullptr) << item.location;
    }

    const std::vector<QuarantineItem> items = Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_NE(items[0].storedName, items[1].storedName);
    EXPECT_EQ(files.Content(quarantine.Folder() + "\\" + items[0].storedName), Stored("first"));
    EXPECT_EQ(files.Content(quarantine.Folder() + "\\" + items[1].storedName), Stored("second"));
    EXPECT_EQ(items[2].kind, QuarantineKind::Folder);
    EXPECT_EQ(items[2].originalLocation, "C:\\SpyCo");
    const std::string log = *files.Content(quarantine.LogPath());
    const std::string firstEntries =
        "3/16/2006 12:00:00 PM - File: spy.exe\r\n - Location: C:\\A\\spy.exe\r\n\r\n\r\n"
        "3/16/2006 12:00:00 PM - File: spy.exe\r\n - Location: C:\\B\\spy.exe\r\n\r\n\r\n";
    EXPECT_EQ(log.substr(0, firstEntries.size()), firstEntries);
    EXPECT_NE(log.find(" - File: SpyCo\r\n - Location: C:\\SpyCo\r\n"), std::string::npos);
    EXPECT_NE(log.find(" - Key: HKEY_CURRENT_USER\\Software\\Adco\r\nValue: Run\r\n\r\n\r\n"), std::string::npos);
    EXPECT_NE(log.find(" - Key: -2147483646\\Software\\SpyKey\r\nValue: All Values\r\n"), std::string::npos);

    const MachineWidePlaces places(files, machine.shell, quarantine.Folder());
    const RestoreQuestions machineWideToo{{}, [](const std::string&) { return true; }};
    for (const QuarantineItem& item : items) {
        const RestoreOutcome outcome = RestoreFromQuarantine(quarantine, registry, places, item, machineWideToo);
        EXPECT_EQ(outcome.result, RestoreResult::Restored) << item.originalLocation << " " << outcome.reason;
    }
    EXPECT_EQ(files.Content("C:\\A\\spy.exe"), "first");
    EXPECT_EQ(files.Attributes("C:\\A\\spy.exe").value_or(0) & platform::kAttrReadOnly, platform::kAttrReadOnly);
    EXPECT_EQ(files.Content("C:\\SpyCo\\data\\inner.txt"), "inner");
    EXPECT_EQ(registry.GetString(Hive::CurrentUser, "Software\\Adco", "Run"), "a \"b\"\r\nc");
    EXPECT_EQ(registry.GetValue(Hive::LocalMachine, "Software\\SpyKey", "")->number, 7u);
    EXPECT_EQ(registry.GetValue(Hive::LocalMachine, "Software\\SpyKey\\Sub", "bin")->bytes,
              (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(Items().empty());

    // A second removal of a name stored before keeps both copies.
    File("C:\\A\\spy.exe", "Spy");
    RemoveAll();
    ASSERT_EQ(Items().size(), 1u);
    EXPECT_EQ(files.Content(quarantine.Folder() + "\\" + Items()[0].storedName), Stored("first"));
}

TEST_F(RemovalEngineTest, WhatCannotBeCopiedOrDeletedStaysListedAndOnlyTheRightProgramIsStopped) {
    auto& files = machine.files;
    files.AddFile("C:\\Locked\\spy.exe", "locked");
    files.LockFile("C:\\Locked\\spy.exe");
    files.AddFile("C:\\Unreadable\\spy.dll", "dll");
    files.FailReads("C:\\Unreadable\\spy.dll");
    files.AddFile("C:\\Run\\agent.exe", "agent");
    machine.processes.Add(10, "C:\\Run\\agent.exe");
    machine.processes.Add(11, "C:\\Elsewhere\\agent.exe");
    File("C:\\Locked\\spy.exe", "Spy");
    File("C:\\Unreadable\\spy.dll", "Spy");
    File("C:\\WINDOWS\\", "Bad definition");
    File("C:\\Run\\agent.exe", "Agent");
    TickAll();

    const RemovalReport report = app.removal.RemoveUnattended();
    EXPECT_TRUE(dialogs.Asked().empty()) << "unattended: no question, no message";
    EXPECT_EQ(report.removed, 1);
    EXPECT_EQ(report.failed, 3);
    EXPECT_EQ(files.Content("C:\\Locked\\spy.exe"), "locked");
    EXPECT_EQ(files.Content("C:\\Unreadable\\spy.dll"), "dll");
    EXPECT_TRUE(files.HasFolder("C:\\WINDOWS"));
    EXPECT_FALSE(files.HasFile("C:\\Run\\agent.exe"));
    EXPECT_FALSE(machine.processes.IsRunning(10));
    EXPECT_TRUE(machine.processes.IsRunning(11)) << "a program of the same name elsewhere";

    // The survivors keep their rows, unticked; no copy of them lingers.
    const ui::ListView& results = Results();
    ASSERT_EQ(results.Count(), 3u);
    for (const ui::ListItem& row : results.Rows()) EXPECT_FALSE(row.checked) << row.text;
    ASSERT_EQ(Items().size(), 1u);
    EXPECT_EQ(machine.files.Tree(quarantine.Folder()).size(), 3u) << "the log, the index and one copy";
    EXPECT_FALSE(app.removal.deleteFailed.Visible());
    EXPECT_EQ(app.removal.deleteFailed.lstProblem.Count(), 3u);
    EXPECT_EQ(app.form.lblDeletingCaption.Caption(), "Items that could not be removed (they stay in the list): 3");

    // Copy List: every row, each with its line end.
    app.removal.deleteFailed.Command2.Click();
    EXPECT_EQ(machine.shell.clipboard, "C:\\Locked\\spy.exe\r\nC:\\Unreadable\\spy.dll\r\nC:\\WINDOWS\r\n");
    // Delete at next restart takes the files among them, kept in the
    // quarantine first.
    dialogs.SetDefaultMessageBoxAnswer(services::MsgResult::Ok);
    app.removal.deleteFailed.cmdDeleteAtRestart.Click();
    EXPECT_EQ(files.deletedAtRestart, std::vector<std::string>{"C:\\Locked\\spy.exe"});
    EXPECT_EQ(Items().size(), 2u);
    EXPECT_NE(files.Content(quarantine.LogPath())->find("C:\\Locked\\spy.exe (deleted at the next start of Windows)"),
              std::string::npos);
}

TEST_F(RemovalEngineTest, NoDefinitionTakesARootOrAFolderThatHoldsOneHoweverThePathIsWritten) {
    machine.shell.Use64BitWindows();
    machine.files.AddFolder("C:\\Program Files (x86)\\Common Files");
    machine.files.AddShortName("C:\\Program Files (x86)", "PROGRA~2");
    const std::string profile = "C:\\Documents and Settings\\User";
    machine.files.AddJunction(profile + "\\Desktop\\win", "C:\\WINDOWS");
    const NeverRemoved never(machine.files, machine.shell, machine.system, app.dataFolder,
                             app.dataFolder + "\\quarantine");
    for (const std::string& path :
         {std::string("C:\\"), std::string("D:"), std::string("\\\\server\\share\\"), std::string("c:\\windows\\"),
          std::string("C:\\WINDOWS\\system32"), std::string("C:\\Program Files"), profile,
          std::string("C:\\Documents and Settings"), profile + "\\Application Data", app.dataFolder,
          app.dataFolder + "\\quarantine\\3_spy.exe", std::string("C:\\Program Files\\Bastion"),
          // Spelt otherwise, they lead to a protected folder all the same.
          std::string("C:\\Program Files\\..\\Program Files (x86)"), std::string("C:\\PROGRA~2"),
          std::string("C:\\Program Files\\SpyCo\\..\\..\\WINDOWS\\."), profile + "\\Desktop\\win\\system32",
          app.dataFolder + "\\.\\quarantine\\..\\quarantine\\4_spy.exe"}) {
        EXPECT_TRUE(never.Contains(path)) << path;
    }
    for (const std::string& path : {std::string("C:\\Program Files\\SpyCo"), std::string("C:\\WINDOWS\\spy.exe"),
                                    profile + "\\Desktop\\spy", app.dataFolder + "\\FileDefinition.bak",
                                    std::string("C:\\PROGRA~2\\SpyCo\\..\\SpyTwo"),
                                    // The link itself, which goes alone.
                                    profile + "\\Desktop\\win"}) {
        EXPECT_FALSE(never.Contains(path)) << path;
    }
}

// Items are removed in the order found, whatever order the list shows, and
// the results page tells each one's place among the listed items of its
// kind.
TEST_F(RemovalEngineTest, TheProgressCountsEachItemAmongTheListedItemsOfItsKind) {
    for (const char* path : {"C:\\A\\one.exe", "C:\\A\\two.exe", "C:\\A\\three.exe"}) {
        machine.files.AddFile(path, "x");
        File(path, path);
    }
    machine.registry.SetString(Hive::CurrentUser, "Software\\Adco", "Run", "x");
    Registry(Hive::CurrentUser, "Software\\Adco\\", "Run", RegView::Bits64);
    TickAll();
    app.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Sort(0, false);
    app.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.SetChecked(1, false);  // three.exe
    std::vector<std::string> shown;
    pump.Always([&] {
        const std::string& caption = app.form.lblDeletingPercentageCompleted.Caption();
        if (StartsWith(caption, "Removing") && (shown.empty() || shown.back() != caption)) shown.push_back(caption);
    });
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    const RemovalReport report = app.removal.Command4_Click();
    ASSERT_EQ(report.items.size(), 3u);
    EXPECT_EQ(report.items[0].location, "C:\\A\\one.exe");
    EXPECT_EQ(report.items[1].location, "C:\\A\\two.exe");
    EXPECT_EQ(shown, (std::vector<std::string>{"Removing : 33% Completed.", "Removing : 67% Completed.",
                                                "Removing : 100% Completed."}));
}

TEST_F(RemovalEngineTest, RestorePointWrapsTheRemovalAndItsAbsenceIsSaid) {
    machine.system.osVersion = {2, 10, 0, 19045};
    machine.files.AddFile("C:\\A\\spy.exe");
    File("C:\\A\\spy.exe", "Spy");
    RemoveAll();
    ASSERT_EQ(machine.restore.begun.size(), 1u);
    EXPECT_EQ(machine.restore.begun[0].type, kModifySettingsRestorePoint);
    EXPECT_EQ(machine.restore.begun[0].description, "Testwall Restore Point 3/16/2006 12:00:00 PM");
    EXPECT_EQ(machine.restore.ended, std::vector<std::int64_t>{1});
    EXPECT_NE(dialogs.Asked()[0].text.find("System Restore Point"), std::string::npos);

    machine.restore.failBegin = true;
    machine.files.AddFile("C:\\A\\spy.exe");
    File("C:\\A\\spy.exe", "Spy");
    const RemovalReport report = RemoveAll();
    EXPECT_EQ(report.removed, 1) << "the removal goes on without one";
    EXPECT_EQ(app.form.lblDeletingCaption.Caption(),
              "No restore point could be made; everything removed is kept in the quarantine.");

    // Nothing ticked: only the message, no operation.
    const std::size_t asked = dialogs.Asked().size();
    machine.files.AddFile("C:\\A\\spy.exe");
    File("C:\\A\\spy.exe", "Spy");
    app.presenter.Show(app.state.End());
    EXPECT_FALSE(app.removal.Command4_Click().ran);
    ASSERT_EQ(dialogs.Asked().size(), asked + 1);
    EXPECT_EQ(dialogs.Asked().back().text,
              "No entries are selected.  You must check the box next to at least one item in the list.");
}

TEST_F(RemovalEngineTest, AnExitDuringTheRemovalLetsTheItemInHandFinishAndLeavesTheRestAsItWas) {
    machine.files.AddFile("C:\\A\\spy.exe", "a");
    machine.files.AddFile("C:\\B\\spy.exe", "b");
    File("C:\\A\\spy.exe", "Spy A");
    File("C:\\B\\spy.exe", "Spy B");
    bool ended = false;
    pump.Always([&] {
        if (!app.operations.Ending() && !machine.files.HasFile("C:\\A\\spy.exe")) {
            app.operations.EndWhenIdle([&] { ended = true; });
        }
    });
    const RemovalReport report = RemoveAll();
    EXPECT_TRUE(ended) << "the exit ran once the removal returned";
    ASSERT_EQ(report.items.size(), 2u);
    EXPECT_EQ(report.items[1].result, RemovalResult::NotTried);
    EXPECT_TRUE(machine.files.HasFile("C:\\B\\spy.exe"));
    ASSERT_EQ(Results().Count(), 1u);
    EXPECT_TRUE(Results().Item(0).checked) << "not reached: still ticked";
}

TEST_F(RemovalEngineTest, TheRestoreWindowPutsBackTheTickedItemsAndAsksBeforeReplacing) {
    // In the user's own profile, where a restore asks nothing more.
    const std::string a = testing::FakeShell::kUserProfile + "\\A";
    machine.files.AddFile(a + "\\spy.exe", "old");
    machine.files.AddFile(a + "\\Deep\\other.exe", "other");
    File(a + "\\spy.exe", "Spy");
    File(a + "\\Deep\\other.exe", "Other");
    RemoveAll();
    machine.files.DeleteFolderTree(a);
    machine.files.AddFile(a + "\\spy.exe", "new");

    ui::FrmRestore window;
    std::vector<QuarantineItem> listed = frmRestore_Load(window, quarantine);
    ASSERT_EQ(window.lvwQuarantine.Count(), 2u);
    EXPECT_EQ(window.lvwQuarantine.SubItem(0, 1), "File");
    EXPECT_EQ(window.lvwQuarantine.SubItem(1, 2), a + "\\Deep\\other.exe");
    window.lvwQuarantine.SetChecked(0, true);
    window.lvwQuarantine.SetChecked(1, true);
    // Added to the index by another program after the list was shown: a
    // second record under a listed id, and one of its own. Neither was
    // shown, so neither is put back.
    const QuarantineItem& shown = listed[1];
    for (const QuarantineItem& planted :
         {QuarantineItem{shown.id, shown.date, QuarantineKind::File, shown.storedName, a + "\\Elsewhere\\other.exe"},
          QuarantineItem{99, shown.date, QuarantineKind::File, "99_late.exe", a + "\\late.exe"}}) {
        machine.files.AppendFile(quarantine.IndexPath(), FormatIndexRecord(planted) + "\r\n");
    }
    machine.files.AddFile(quarantine.Folder() + "\\99_late.exe", "late");
    dialogs.AnswerMessageBox(services::MsgResult::No);  // keep the new spy.exe
    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    cmdRestore_Click(window, listed, {app.services, quarantine});
    EXPECT_EQ(machine.files.Content(a + "\\spy.exe"), "new");
    EXPECT_EQ(machine.files.Content(a + "\\Deep\\other.exe"), "other") << "its missing folder made again";
    EXPECT_EQ(dialogs.Asked()[dialogs.Asked().size() - 2].text,
              a + "\\spy.exe\r\n\r\nThis already exists. Replace it with the copy kept in the quarantine?");
    EXPECT_EQ(dialogs.Asked().back().text, "Items put back: 1");
    EXPECT_FALSE(machine.files.Lookup(a + "\\Elsewhere\\other.exe"));
    EXPECT_FALSE(machine.files.Lookup(a + "\\late.exe"));
    ASSERT_EQ(window.lvwQuarantine.Count(), 2u) << "what was kept, and what was added later, stays listed";
}

TEST_F(RemovalEngineTest, NothingIsDeletedBeforeItIsRecordedAndAServerKeepsItsClassesUntilItsCopyIsSafe) {
    auto& files = machine.files;
    auto& registry = machine.registry;
    files.AddFile("C:\\A\\spy.exe", "spy");
    files.AddFile("C:\\SpyCo\\inner.txt", "inner");
    registry.SetString(Hive::CurrentUser, "Software\\Adco", "Run", "x");
    File("C:\\A\\spy.exe", "Spy");
    File("C:\\SpyCo\\", "FILE");
    Registry(Hive::CurrentUser, "Software\\Adco", "Run", RegView::Bits64);
    quarantine.EnsureFolder();
    // A read-only index, then a read-only log: each time nothing goes.
    for (const std::string& readOnly : {quarantine.IndexPath(), quarantine.LogPath()}) {
        files.AddFile(readOnly, "", platform::kAttrReadOnly);
        const RemovalReport report = RemoveAll();
        EXPECT_EQ(report.failed, 3) << readOnly;
        EXPECT_EQ(files.Content("C:\\A\\spy.exe"), "spy");
        EXPECT_EQ(files.Content("C:\\SpyCo\\inner.txt"), "inner");
        EXPECT_TRUE(registry.HasValue(Hive::CurrentUser, "Software\\Adco", "Run"));
        EXPECT_EQ(Results().Count(), 3u);
        EXPECT_TRUE(Items().empty());
        EXPECT_EQ(files.Tree(quarantine.Folder()).size(), readOnly == quarantine.LogPath() ? 2u : 1u)
            << "no copy is left behind";
        files.SetAttributes(readOnly, platform::kAttrNormal);
    }

    // A server whose copy cannot be made keeps its classes and its file.
    app.state.Begin(app.presenter);
    files.AddFile("C:\\Com\\spy.dll", "dll");
    files.FailReads("C:\\Com\\spy.dll");
    const std::string classes = "Software\\Classes\\CLSID\\";
    registry.SetString(Hive::CurrentUser, classes + "{1}\\InprocServer32", "", "C:\\Com\\spy.dll");
    registry.SetString(Hive::LocalMachine, classes + "{2}\\InprocServer32", "", "C:\\Com\\spy.dll");
    File("C:\\Com\\spy.dll", "Com Spy");
    EXPECT_EQ(RemoveAll().failed, 1);
    EXPECT_TRUE(registry.HasKey(Hive::CurrentUser, classes + "{1}"));
    // Once it can be kept, the file and its classes go; a class that cannot
    // go counts as a failure of its own.
    files.ClearFailures();
    registry.DenyAccess(Hive::LocalMachine, classes + "{2}", platform::RegAccess::All);
    const RemovalReport report = RemoveAll();
    EXPECT_FALSE(files.HasFile("C:\\Com\\spy.dll"));
    EXPECT_FALSE(registry.HasKey(Hive::CurrentUser, classes + "{1}"));
    ASSERT_EQ(report.items.size(), 2u);
    EXPECT_EQ(report.items[1].location, "HKEY_LOCAL_MACHINE\\" + classes + "{2}");
    EXPECT_EQ(report.failed, 1);
}

TEST_F(RemovalEngineTest, AnItemGoneSinceTheScanIsNotFoundAndAFolderLinkGoesAsALink) {
    auto& files = machine.files;
    files.AddFolder("C:\\Gone");
    files.AddFolder("C:\\Denied");
    files.FailListing("C:\\Denied");
    files.AddFile("C:\\Target\\keep.txt", "keep");
    files.AddJunction("C:\\Profile\\SpyLink", "C:\\Target");
    File("C:\\Gone\\spy.exe", "Spy");
    File("C:\\Denied\\spy.exe", "Spy");  // a look-up that failed proves nothing
    File("C:\\Profile\\spylink\\", "FILE");

    const RemovalReport report = RemoveAll();
    ASSERT_EQ(report.items.size(), 3u);
    EXPECT_EQ(report.items[0].result, RemovalResult::NotFound);
    EXPECT_EQ(report.items[1].result, RemovalResult::Failed);
    EXPECT_EQ(report.items[2].result, RemovalResult::Removed);
    EXPECT_EQ(Results().Count(), 2u) << "what was not removed keeps its row";
    EXPECT_EQ(app.form.lblDeletingCaption.Caption(),
              "Items that could not be removed (they stay in the list): 1  "
              "Items no longer where the scan found them (they stay in the list): 1");
    // The link went alone, what it pointed to stays, and the quarantine
    // keeps the link, under its real name, not a copy of the profile.
    EXPECT_FALSE(files.Lookup("C:\\Profile\\SpyLink"));
    EXPECT_EQ(files.Content("C:\\Target\\keep.txt"), "keep");
    const std::vector<QuarantineItem> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].kind, QuarantineKind::FolderLink);
    EXPECT_EQ(items[0].originalLocation, "C:\\Profile\\SpyLink");
    EXPECT_EQ(files.Tree(quarantine.Folder()).size(), 3u) << "the log, the index and the link's record";

    const MachineWidePlaces places(files, machine.shell, quarantine.Folder());
    const RestoreQuestions machineWideToo{{}, [](const std::string&) { return true; }};
    EXPECT_EQ(RestoreFromQuarantine(quarantine, machine.registry, places, items[0], machineWideToo).result,
              RestoreResult::Restored);
    EXPECT_EQ(files.ReadFolderLink("C:\\Profile\\SpyLink"),
              (platform::FolderLink{platform::FolderLinkKind::Junction, "C:\\Target"}));
}

TEST_F(RemovalEngineTest, TwoProgramsStoringAtOnceNeverShareAnId) {
    Quarantine other{machine.files, machine.Bundle().codePage, machine.clock, app.dataFolder};
    quarantine.EnsureFolder();
    EXPECT_EQ(quarantine.Reserve("a.exe")->slot.id, 1u);
    // The other program takes the next id under another name meanwhile.
    EXPECT_EQ(other.Reserve("b.exe")->slot.id, 2u);
    EXPECT_EQ(quarantine.Reserve("c.exe")->slot.storedName, "3_c.exe");
    EXPECT_EQ(other.Reserve("d", Quarantine::SlotKind::Folder)->slot.storedName, "4_d");
    EXPECT_EQ(machine.files.Tree(quarantine.Folder()),
              (std::vector<std::string>{quarantine.Folder() + "\\1_a.exe", quarantine.Folder() + "\\2_b.exe",
                                        quarantine.Folder() + "\\3_c.exe", quarantine.Folder() + "\\4_d\\"}));
}

TEST_F(RemovalEngineTest, ARestoreTakesBackADeletionAtRestartAndAsksBeforeAPlaceOfEveryUser) {
    auto& files = machine.files;
    // In the user's own profile: only the user's own place.
    const std::string held = testing::FakeShell::kUserProfile + "\\A\\held.exe";
    files.AddFile("C:\\Program Files\\SpyCo\\spy.exe", "spy");
    files.AddFile(held, "held");
    files.LockFile(held);
    File("C:\\Program Files\\SpyCo\\spy.exe", "Spy");
    File(held, "Held");
    RemoveAll();
    dialogs.SetDefaultMessageBoxAnswer(services::MsgResult::Ok);
    app.removal.deleteFailed.cmdDeleteAtRestart.Click();
    ASSERT_EQ(files.deletedAtRestart, std::vector<std::string>{held});
    files.UnlockFile(held);
    files.WriteFile(held, "changed");

    ui::FrmRestore window;
    const auto restoreAll = [&](services::MsgResult machineWide) {
        std::vector<QuarantineItem> listed = frmRestore_Load(window, quarantine);
        for (std::size_t row = 0; row < window.lvwQuarantine.Count(); ++row) window.lvwQuarantine.SetChecked(row, true);
        dialogs.AnswerMessageBox(machineWide);
        dialogs.AnswerMessageBox(services::MsgResult::Yes);  // replace held.exe
        cmdRestore_Click(window, listed, {app.services, quarantine});
        return dialogs.Asked().back().text;
    };
    files.failCancelDeleteAtRestart = true;
    EXPECT_EQ(restoreAll(services::MsgResult::No),
              "Items put back: 0\r\nItems that could not be put back: 2\r\n"
              "C:\\Program Files\\SpyCo\\spy.exe: it goes back where it affects every user, which was not agreed "
              "to\r\n" + held + ": Windows is set to delete this file when it next starts, and that could not be "
              "taken back (that needs administrator rights)");
    EXPECT_FALSE(files.HasFile("C:\\Program Files\\SpyCo\\spy.exe"));
    EXPECT_EQ(files.Content(held), "changed");

    files.failCancelDeleteAtRestart = false;
    EXPECT_EQ(restoreAll(services::MsgResult::Yes), "Items put back: 2");
    EXPECT_EQ(files.Content("C:\\Program Files\\SpyCo\\spy.exe"), "spy");
    EXPECT_EQ(files.Content(held), "held");
    EXPECT_TRUE(files.deletedAtRestart.empty()) << "the restored file is not deleted at the next start";
}

}  // namespace
}  // namespace bastion
