#include <gtest/gtest.h>

#include "LifecycleFixture.h"
#include "app/MainWindowHandlers.h"
#include "app/StartupSequence.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using testing::Stored;

struct MainWindowLoadTest : ::testing::Test {
    std::string Setting(const services::SettingKey& key) {
        return Stored(run.app.settings, "Testwall", key.section, key.name);
    }
    std::string Pellworth(std::string_view key) { return Stored(run.app.settings, "Pellworth", "Testwall Labs", key); }
    std::string DataFile(std::string_view name) { return DataFilePath(run.app.dataFolder, name); }
    // Definition lines as stored: shifted, one per line.
    static std::string Lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += EncodeDefinitionText("line" + std::to_string(i)) + "\r\n";
        return text;
    }

    // Another run of this very program holds the name.
    void AnotherRun() {
        machine.instances.held["Testwall"] = kOtherRun;
        machine.processes.Add(kOtherRun, machine.system.programPath);
    }

    static constexpr std::uint32_t kOtherRun = 900;
    testing::FakePlatform machine;
    testing::ProgramRun run{machine};
    ui::FrmMain& form = run.app.form;
};

TEST_F(MainWindowLoadTest, AFirstStartRegistersTheProductChoosesEnglishAndPublishesTheRunningState) {
    ASSERT_EQ(run.lifecycle.Load(), LoadResult::Running);

    EXPECT_EQ(Pellworth("Name"), "Testwall");
    EXPECT_EQ(Pellworth("File"), "C:\\Program Files\\Bastion\\Bastion.exe");
    EXPECT_EQ(Setting(keys::kLanguage), "English");
    EXPECT_EQ(Setting(keys::kStatus), "RUNNING");
    EXPECT_EQ(Setting(keys::kRestart), "False");
    EXPECT_EQ(run.lifecycle.Language(), "English");
    // The chooser comes once, after the translation and before anything
    // of the running program.
    const std::vector<std::string> expected{"translate English", "chooser", "auxiliary", "task list off"};
    EXPECT_EQ(run.window.calls, expected);

    EXPECT_EQ(form.Caption(), run.app.messages.getMessages(services::msg::kCaption));
    EXPECT_EQ(form.Label22.Caption(), run.app.messages.getMessages(services::msg::kCaption2));
    EXPECT_EQ(form.cmdWebsite.Caption(), "www.testwall.example");
    EXPECT_EQ(form.frmStatus.Caption(), "Testwall Status");
    EXPECT_EQ(form.lblVersion.Caption(), "4.2");
    EXPECT_EQ(form.lblLastScan.Caption(), "Never");
    for (ui::Frame* page : form.Pages()) EXPECT_EQ(page->Visible(), page == &form.frmStatus) << page->Name();
    EXPECT_FALSE(form.pgbDeleteSpywaresFound.Visible());
    EXPECT_FALSE(form.cmdHijack.Visible());
    EXPECT_EQ(machine.instances.asked, (std::vector<std::string>{"Testwall", "Testwall"}));
}

TEST_F(MainWindowLoadTest, AChosenLanguageIsKeptAndNoChooserShows) {
    run.app.settings.Write(keys::kLanguage, "Deutsch");
    ASSERT_EQ(run.lifecycle.Load(), LoadResult::Running);
    EXPECT_EQ(Setting(keys::kLanguage), "Deutsch");
    EXPECT_EQ(run.lifecycle.Language(), "Deutsch");
    EXPECT_EQ(run.window.Count("translate Deutsch"), 1);
    EXPECT_EQ(run.window.Count("chooser"), 0);
}

TEST_F(MainWindowLoadTest, WaitingDefinitionFilesTakeTheirPlaceBeforeTheyAreCounted) {
    machine.files.AddFile(DataFile("DLFileDefinition.dat"), Lines(3));
    machine.files.AddFile(DataFile("ExeDefinition.dat"), Lines(10));
    machine.files.AddFile(DataFile("DLExeDefinition.dat"), Lines(1200));
    machine.files.AddFile(DataFile("DLSafety.dat"), Lines(1));

    ASSERT_EQ(run.lifecycle.Load(), LoadResult::Running);
    // The live file was missing: the waiting copy simply takes its name.
    EXPECT_EQ(machine.files.Content(DataFile("FileDefinition.dat")), Lines(3));
    EXPECT_EQ(machine.files.Content(DataFile("ExeDefinition.dat")), Lines(1200));
    EXPECT_FALSE(machine.files.HasFile(DataFile("DLFileDefinition.dat")));
    EXPECT_FALSE(machine.files.HasFile(DataFile("DLExeDefinition.dat")));
    EXPECT_TRUE(machine.files.HasFile(DataFile("DLSafety.dat")));
    EXPECT_EQ(form.lblDefCount.Caption(), "1,203");
}

TEST_F(MainWindowLoadTest, ASecondRunEndsRightAfterRegisteringItself) {
    AnotherRun();
    machine.files.AddFile(DataFile("DLFileDefinition.dat"), Lines(3));
    const std::string caption = form.Caption();

    EXPECT_EQ(run.lifecycle.Load(), LoadResult::SecondInstance);
    EXPECT_EQ(Pellworth("Name"), "Testwall");
    EXPECT_EQ(Pellworth("File"), "C:\\Program Files\\Bastion\\Bastion.exe");
    EXPECT_EQ(Setting(keys::kStatus), "<missing>");
    EXPECT_EQ(Setting(keys::kRestart), "<missing>");
    // Nothing of the running program's work is touched.
    EXPECT_TRUE(machine.files.HasFile(DataFile("DLFileDefinition.dat")));
    EXPECT_EQ(form.Caption(), caption);
    EXPECT_EQ(run.window.Count("auxiliary"), 0);
    EXPECT_TRUE(run.dialogs.Asked().empty());
}

TEST_F(MainWindowLoadTest, ARunThatAppearsWhileTheWindowLoadsEndsThisOneBeforeItPublishesItsState) {
    machine.files.AddFile(DataFile("ENoSignature.dat"), "C:\\Harmless.exe\r\n");
    run.pump.At(1, [this] { AnotherRun(); });

    EXPECT_EQ(run.lifecycle.Load(), LoadResult::SecondInstance);
    EXPECT_EQ(run.app.exclusions.Text(), "C:\\Harmless.exe|");
    EXPECT_EQ(Setting(keys::kStatus), "<missing>");
}

// Any program of the session may take the name first; only a holder that
// runs this program's own file ends this run.
TEST_F(MainWindowLoadTest, OnlyARunOfThisProgramFileHoldingTheNameEndsThisOne) {
    const struct {
        const char* holder;
        std::optional<std::string> runs;  // what the holding process runs; none: no such process
        LoadResult result;
    } cases[] = {
        {"this program, named by its short path", "C:\\PROGRA~1\\Bastion\\Bastion.exe", LoadResult::SecondInstance},
        {"another program", "C:\\Users\\v\\squatter.exe", LoadResult::Running},
        {"a program that copied this one's name", "C:\\Users\\v\\Bastion.exe", LoadResult::Running},
        {"a run that has ended", std::nullopt, LoadResult::Running},
    };
    for (const auto& c : cases) {
        testing::FakePlatform other;
        other.files.AddFile(other.system.programPath);
        other.files.AddShortName("C:\\Program Files", "PROGRA~1");
        other.instances.held["Testwall"] = 77;
        if (c.runs) other.processes.Add(77, *c.runs);
        testing::ProgramRun started{other};
        EXPECT_EQ(started.lifecycle.Load(), c.result) << c.holder;
        EXPECT_EQ(other.instances.tookOver.empty(), c.result == LoadResult::SecondInstance) << c.holder;
    }
}

TEST_F(MainWindowLoadTest, ASiblingProductGetsItsLauncherButton) {
    run.app.settings.WriteSetting("Kestrune", "Testwall Labs", "Name", "Veru-Dedezi 2");
    ASSERT_EQ(run.lifecycle.Load(), LoadResult::Running);
    EXPECT_TRUE(form.cmdHijack.Visible());
    EXPECT_EQ(form.cmdHijack.Caption(), "Veru-Dedezi 2");
}

TEST_F(MainWindowLoadTest, TheWindowComesBackAsTheLastExitLeftIt) {
    run.app.settings.WriteSetting("Settings", "FoundCol21", "2000");
    run.app.settings.WriteSetting("Settings", "FoundCol23", "1234.5");
    run.app.settings.WriteSetting("Settings", "FoundCol24", "wide");
    run.app.settings.WriteSetting("Settings", "Max", "1");
    const auto& columns = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Columns();
    const double designLocation = columns[1].widthTwips;
    const double designRisk = columns[3].widthTwips;

    ASSERT_EQ(run.lifecycle.Load(), LoadResult::Running);
    LoadOptionPage(run.app);
    EXPECT_EQ(columns[0].widthTwips, 2000);
    EXPECT_EQ(columns[1].widthTwips, designLocation);
    EXPECT_EQ(columns[2].widthTwips, 1234);
    EXPECT_EQ(columns[3].widthTwips, designRisk);
    EXPECT_EQ(run.window.Count("maximize"), 1);
}

TEST_F(MainWindowLoadTest, AWindowLeftInNormalStateIsNotMaximized) {
    run.app.settings.WriteSetting("Settings", "Max", "0");
    ASSERT_EQ(run.lifecycle.Load(), LoadResult::Running);
    EXPECT_EQ(run.window.Count("maximize"), 0);
}

}  // namespace
}  // namespace bastion
