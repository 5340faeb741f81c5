// Definition updates through Wine's WinINet against the reference server on
// 127.0.0.1: the number of requests, what lands in the files and in
// "date.dat", every way the server can fail, the automatic update, and the
// console scanner's update and first start.
#include <gtest/gtest.h>

#include <algorithm>

#include "ChildProcess.h"
#include "DefinitionServerProcess.h"
#include "ScanWineContext.h"
#include "app/pages/UpdateFlow.h"
#include "common/PathParts.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "definitions/DefinitionFile.h"
#include "definitions/PathTokens.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32FolderWatcher.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "scan/files/KnownLocations.h"
#include "services/messages/DefaultMessages.h"
#include "services/settings/SettingKeys.h"
#include "support/FakeBackgroundWork.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "update/TrustedDefinitions.h"

namespace bastion::win32::test {
namespace {

namespace keys = services::settings;

services::Identity UpdateIdentity() {
    services::Identity identity = testing::TestIdentity();
    identity.productName = "Bastion Update Test";
    return identity;
}

class UpdateWineTest : public ::testing::Test {
protected:
    UpdateWineTest() { services::FillDefaultMessages(messages); }
    void SetUp() override {
        ASSERT_TRUE(server.Running());
        UseServer(server.Base());
    }
    ~UpdateWineTest() override {
        registry.DeleteTree(platform::Hive::CurrentUser,
                            "Software\\VB and VBA Program Settings\\" + identity.productName);
    }

    void UseServer(const std::string& base) { settings.Write(keys::kDefinitionServer, base); }
    std::string Read(std::string_view name) {
        return files.ReadFile(DataFilePath(dataFolder.Path(), name)).value_or("<missing>");
    }
    std::vector<std::string> Definitions(std::string_view name) {
        std::vector<std::string> lines;
        ReadDefinitionLines(files, codePage, DataFilePath(dataFolder.Path(), name), [&](const std::string& line) {
            lines.push_back(line);
            return true;
        });
        return lines;
    }
    UpdateOutcome Run() {
        const std::optional<UpdateResult> result = flow.RunLiveUpdate();
        return result ? result->outcome : UpdateOutcome::Stopped;
    }

    DefinitionServerProcess server;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32Registry registry;
    // Short waits, so that the slow answer runs into the receive time-out.
    Win32Internet internet{InternetLimits{5000, 700}};
    ScratchFolder dataFolder;
    services::Identity identity = UpdateIdentity();
    services::MessageCatalogue messages{identity};
    services::SettingsStore settings{registry, identity.productName};
    testing::ScriptedEventPump pump;
    services::OperationGate gate;
    ui::FrmMain form;
    ScanState state;
    DefinitionTables tables;
    Win32Crypto crypto;
    Win32FolderWatcher watcher;
    DefinitionTrust trust;
    Win32Clock clock;
    // The facilities an update does not use.
    Win32Shell shell;
    Win32Processes processes;
    Win32SystemInfo system;
    Win32SystemRestore restore;
    Win32InstanceLock instances;
    testing::ScriptedDialogs dialogs;
    std::string dataFolderPath = dataFolder.Path();
    testing::FakeBackgroundWork background;
    UpdateFlow flow{UpdateEnvironment{{{registry, files, shell, processes, system, internet, restore, clock, codePage,
                                        instances, crypto, watcher},
                                       dialogs, pump, gate, messages, identity, settings, dataFolderPath, background},
                                      state, form, tables, trust}};
};

TEST_F(UpdateWineTest, UpToDateTakesOneRequestAndANewerServerThree) {
    server.Publish("a", {"DATE 3/17/2006", "ADD FILE evil.exe=Evil|[windir]|Adware"});
    files.WriteFile(DataFilePath(dataFolder.Path(), datafile::kDefinitionDate), "3/17/2006\r\n");
    EXPECT_EQ(Run(), UpdateOutcome::UpToDate);
    EXPECT_EQ(server.TakeRequests(),
              std::vector<std::string>{"/asp/currentDateNEW.asp?prog=Bastion%20Update%20Test&comp=Testwall%20Labs"});
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), "You are using the most recent Bastion Update Test definitions.");
    EXPECT_EQ(settings.Read(keys::kShow), "");

    files.DeleteFile(DataFilePath(dataFolder.Path(), datafile::kDefinitionDate));
    EXPECT_EQ(Run(), UpdateOutcome::Updated);
    const std::vector<std::string> requests = server.TakeRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1],
              "/asp/getDefsNEW.asp?prog=Bastion%20Update%20Test&comp=Testwall%20Labs&date=3%2F16%2F2006");
    EXPECT_EQ(requests[2], "/asp/date.asp");
    EXPECT_EQ(Read(datafile::kDefinitionDate), "3/17/2006\r\n");
    EXPECT_EQ(form.lblDefVersion.Caption(), "3/17/2006 PST");
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), "Your Bastion Update Test definitions have been updated!");
    EXPECT_EQ(settings.Read(keys::kShow), "True");
    EXPECT_EQ(settings.Read(keys::kRestart), "True");
    EXPECT_EQ(Definitions(datafile::kFileDefinitions), std::vector<std::string>{"evil.exe=Evil|[windir]|Adware"});
    // Every file of the set exists afterwards.
    EXPECT_EQ(Read(datafile::kDirectoryDefinitions), "");
    EXPECT_TRUE(form.cmdLiveUpdate.Enabled());
}

TEST_F(UpdateWineTest, EveryRecordKindMixedCaseDeletionsAndTheSameDeltaTwice) {
    server.Publish("a", {"DATE 3/17/2006", "ADD FILE evil.exe=Evil|[windir]|Adware", "ADD EXE bad.exe=Bad|[windir]",
                         "ADD REG 1^Software\\Evil^Run=Evil Run|Adware", "ADD COOK tracker.example",
                         "ADD DIR Evil Dir=Evil|[progfil]Evil|Adware", "ADD SFILE safe.exe=Safe|[windir]"});
    ASSERT_EQ(Run(), UpdateOutcome::Updated);
    EXPECT_EQ(Definitions(datafile::kFileDefinitions),
              (std::vector<std::string>{"evil.exe=Evil|[windir]|Adware", "bad.exe=Bad|[windir]"}));
    EXPECT_EQ(Definitions(datafile::kExeDefinitions), std::vector<std::string>{"bad.exe=Bad|[windir]"});
    EXPECT_EQ(Definitions(datafile::kRegistryDefinitions),
              std::vector<std::string>{"1^Software\\Evil^Run^=Evil Run|Adware"});
    EXPECT_EQ(Definitions(datafile::kBlockedCookies), std::vector<std::string>{"tracker.example"});
    EXPECT_EQ(Definitions(datafile::kDirectoryDefinitions),
              std::vector<std::string>{"Evil Dir=Evil|[progfil]Evil|Adware"});
    EXPECT_EQ(Definitions(datafile::kSafety), std::vector<std::string>{"SFILE|safe.exe=Safe|[windir]"});

    server.Publish("b", {"DATE 3/18/2006", "DEL FILE EVIL.EXE", "DEL REG 1^SOFTWARE\\evil^run",
                         "DEL COOK Tracker.Example", "DEL SFILE SAFE.exe", "ADD COOK other.example"});
    ASSERT_EQ(Run(), UpdateOutcome::Updated);
    const std::vector<std::string> afterDeletions[] = {Definitions(datafile::kFileDefinitions),
                                                       Definitions(datafile::kRegistryDefinitions),
                                                       Definitions(datafile::kBlockedCookies),
                                                       Definitions(datafile::kSafety)};
    EXPECT_EQ(afterDeletions[0], std::vector<std::string>{"bad.exe=Bad|[windir]"});
    EXPECT_TRUE(afterDeletions[1].empty());
    EXPECT_EQ(afterDeletions[2], std::vector<std::string>{"other.example"});
    EXPECT_TRUE(afterDeletions[3].empty());

    // The same delta once more (the date went back): nothing doubles, and
    // nothing changed is nothing new.
    files.WriteFile(DataFilePath(dataFolder.Path(), datafile::kDefinitionDate), "3/16/2006\r\n");
    ASSERT_EQ(Run(), UpdateOutcome::UpToDate);
    EXPECT_EQ(Definitions(datafile::kFileDefinitions), afterDeletions[0]);
    EXPECT_EQ(Definitions(datafile::kBlockedCookies), afterDeletions[2]);
    EXPECT_EQ(Definitions(datafile::kExeDefinitions), std::vector<std::string>{"bad.exe=Bad|[windir]"});
    EXPECT_EQ(Read(datafile::kDefinitionDate), "3/18/2006\r\n");
}

TEST_F(UpdateWineTest, EveryMisbehaviourAndAnUnreachableServerAreFailuresThatChangeNothing) {
    server.Publish("a", {"DATE 3/17/2006", "ADD FILE evil.exe=Evil|[windir]|Adware"});
    // A port that was free a moment ago.
    std::string unreachable;
    {
        DefinitionServerProcess gone;
        unreachable = gone.Base();
    }
    for (const std::string& base :
         {server.Base("status"), server.Base("html"), server.Base("short"), server.Base("slow"),
          server.Base("status-getDefsNEW"), server.Base("html-getDefsNEW"), server.Base("short-getDefsNEW"),
          server.Base("slow-getDefsNEW"), unreachable}) {
        UseServer(base);
        EXPECT_EQ(Run(), UpdateOutcome::Failed) << base;
        EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(),
                  "Definitions could not be downloaded. Please check your internet connection.")
            << base;
        EXPECT_EQ(Read(datafile::kFileDefinitions), "<missing>") << base;
        EXPECT_EQ(Read(datafile::kDefinitionDate), "<missing>") << base;
        EXPECT_TRUE(form.cmdLiveUpdate.Enabled());
    }
}

TEST_F(UpdateWineTest, TheAutomaticUpdateRunsOnTheThreeHundredAndFirstSecondWithoutAnOperation) {
    server.Publish("a", {"DATE 3/17/2006", "ADD FILE evil.exe=Evil|[windir]|Adware"});
    settings.Write(keys::kChkAutomaticUpdate, "1");
    flow.StartAutomaticUpdate();
    ASSERT_TRUE(form.timUpdate.Enabled());
    {
        // Seconds during a scan do not count.
        auto scan = gate.TryBegin("scan");
        for (int i = 0; i < 50; ++i) form.timUpdate.Tick();
    }
    for (int i = 0; i < 300; ++i) form.timUpdate.Tick();
    EXPECT_TRUE(server.TakeRequests().empty());
    form.timUpdate.Tick();
    EXPECT_EQ(server.TakeRequests().size(), 3u);
    EXPECT_FALSE(form.timUpdate.Enabled());
    EXPECT_EQ(Read(datafile::kDefinitionDate), "3/17/2006\r\n");
}

TEST_F(UpdateWineTest, AKeyedProgramAppliesOnlyAFreshSignedDateAndADeltaSignedToIt) {
    DefinitionKey key;
    DefinitionKey other;
    ASSERT_EQ(key.PublicKey().size(), 65u);
    ASSERT_EQ(other.PublicKey().size(), 65u);
    DefinitionServerProcess signing(&key);
    ASSERT_TRUE(signing.Running());
    const std::vector<std::string> first = {"DATE 3/17/2006", "ADD FILE evil.exe=Evil|[windir]|Adware",
                                            "ADD FILE old.exe=Old|[windir]|Adware"};
    signing.Publish("a", first);
    server.Publish("a", first);
    // A translation file whose bytes are those of a delta, signed by the
    // server as a translation.
    signing.PublishLanguageFile(identity.brandingNumber, "DELTA|3/16/2006|3/17/2006|1[BR]" +
                                                             EncodeDefinitionText("FILE") + "|ADD[DEF]" +
                                                             EncodeDefinitionText("fake.exe") + "=" +
                                                             EncodeDefinitionText("Fake") + "|" +
                                                             EncodeDefinitionText("[windir]"));
    trust = {&crypto, key.PublicKey()};

    // Unsigned, changed on the way, a record taken out, signed by another
    // key, a date answer a stale mirror signed eight days ago, a
    // translation file for a delta: nothing changes, and the program says
    // why.
    const std::pair<std::string, std::string> refused[] = {
        {server.Base(), key.PublicKey()},
        {signing.Base("tamper-getDefsNEW"), key.PublicKey()},
        {signing.Base("drop-getDefsNEW"), key.PublicKey()},
        {signing.Base(), other.PublicKey()},
        {signing.Base("stale"), key.PublicKey()},
        {signing.Base("language-getDefsNEW"), key.PublicKey()},
    };
    for (const auto& [base, publicKey] : refused) {
        UseServer(base);
        trust.publicKey = publicKey;
        EXPECT_EQ(Run(), UpdateOutcome::Unverified) << base;
        EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), "Definitions could not be verified.") << base;
        EXPECT_EQ(Read(datafile::kFileDefinitions), "<missing>") << base;
        EXPECT_EQ(Read(datafile::kDefinitionDate), "<missing>") << base;
    }

    trust.publicKey = key.PublicKey();
    UseServer(signing.Base());
    signing.TakeRequests();
    ASSERT_EQ(Run(), UpdateOutcome::Updated);
    EXPECT_EQ(Read(datafile::kDefinitionDate), "3/17/2006\r\n");
    EXPECT_EQ(signing.TakeRequests().size(), 2u) << "the signed date needs no date.asp";
    EXPECT_NE(settings.Read(keys::kDefinitionsConfirmed), "");

    // A replace, and the delta the server signed first played back to a
    // program the date answer tells of newer definitions.
    signing.Publish("b", {"DATE 3/18/2006 9:30:00 AM", "DEL FILE old.exe", "ADD FILE OLD.exe=Renewed|[windir]|Adware"});
    UseServer(signing.Base("replay-getDefsNEW"));
    EXPECT_EQ(Run(), UpdateOutcome::Unverified);
    UseServer(signing.Base());
    ASSERT_EQ(Run(), UpdateOutcome::Updated);
    EXPECT_EQ(Definitions(datafile::kFileDefinitions),
              (std::vector<std::string>{"evil.exe=Evil|[windir]|Adware", "OLD.exe=Renewed|[windir]|Adware"}));
    EXPECT_EQ(Read(datafile::kDefinitionDate), "3/18/2006 9:30:00 AM\r\n");
}

TEST_F(UpdateWineTest, ARunWithAdministratorRightsScansWithTheSignedDefinitionsNotTheEditedFiles) {
    DefinitionKey key;
    ASSERT_EQ(key.PublicKey().size(), 65u);
    DefinitionServerProcess signing(&key);
    ASSERT_TRUE(signing.Running());
    ScanWineContext scan;
    std::string windows = scan.tokens.Expand("[windir]");
    windows.pop_back();
    const std::string spy = UniqueName("bastion_signed_") + ".exe";
    const std::string innocent = UniqueName("bastion_innocent_") + ".exe";
    ASSERT_TRUE(files.WriteFile(windows + "\\" + spy, "MZ spy"));
    ASSERT_TRUE(files.WriteFile(windows + "\\" + innocent, "MZ the user's own program"));
    signing.Publish("a", {"DATE 3/17/2006", "ADD FILE " + spy + "=Signed Spy|[windir]|Adware"});
    signing.Publish("b", {"DATE 3/18/2006", "ADD FILE other.exe=Other|[windir]|Adware"});
    trust = {&crypto, key.PublicKey()};
    UseServer(signing.Base());
    ASSERT_EQ(Run(), UpdateOutcome::Updated);

    // Any program of the user rewrites the definitions: the spy gone, the
    // user's own program a threat to delete.
    ASSERT_TRUE(files.WriteFile(DataFilePath(dataFolder.Path(), datafile::kFileDefinitions),
                                EncodeDefinitionLine(codePage, innocent + "=Edited In|[windir]|Adware") + "\r\n"));
    auto found = [&](platform::FileSystem& through) {
        ScanState scanState;
        ScanContext context{through, codePage, scan.system, dataFolder.Path(), scan.tokens, scan.safety,
                            scan.exclusions, scanState, pump, scan.tables, registry, scan.shell, scan.processes};
        ScanKnownFileLocations(context);
        std::vector<std::string> names;
        for (const Detection& detection : scanState.Results().detections) names.push_back(detection.threat);
        return names;
    };
    EXPECT_EQ(found(files), std::vector<std::string>{"Edited In"}) << "the edit is what a plain run reads";
    // No starter set in this program folder: the kept deltas alone.
    ScratchFolder program;
    TrustedDefinitionFiles trusted(files, program.Path(), dataFolder.Path(), trust);
    EXPECT_EQ(found(trusted), std::vector<std::string>{"Signed Spy"});
    EXPECT_TRUE(trusted.Skipped().empty());
    files.DeleteFile(windows + "\\" + spy);
    files.DeleteFile(windows + "\\" + innocent);
}

TEST_F(UpdateWineTest, CancelEndsAnUpdateFromATricklingServerAndTheWindowRunsMeanwhile) {
    server.Publish("a", {"DATE 3/17/2006", "ADD FILE evil.exe=Evil|[windir]|Adware"});
    // The server sends one byte at a time for ever: only Cancel ends this.
    UseServer(server.Base("trickle-getDefsNEW"));
    const ULONGLONG started = ::GetTickCount64();
    ULONGLONG cancelled = 0;
    int roundsBeforeCancel = 0;
    pump.Always([&] {
        if (cancelled) return;
        ++roundsBeforeCancel;
        if (::GetTickCount64() - started > 1500) {
            cancelled = ::GetTickCount64();
            flow.download.Command1.Click();
        }
    });
    EXPECT_EQ(Run(), UpdateOutcome::Stopped);
    ASSERT_NE(cancelled, 0u);
    EXPECT_LT(::GetTickCount64() - cancelled, 20000u) << "Cancel ended the wait";
    EXPECT_GE(roundsBeforeCancel, 5) << "the window's events ran all along";
    EXPECT_EQ(Read(datafile::kFileDefinitions), "<missing>");
    EXPECT_TRUE(form.cmdLiveUpdate.Enabled());
}

// The console scanner with the user's own data folder, as a new user meets
// it: emptied of definitions first, restored to empty afterwards.
class ConsoleUpdateWineTest : public ::testing::Test {
protected:
    ConsoleUpdateWineTest() : dataFolder(DataFolder(PathTokens::Resolve(shell))) {
        files.CreateFolder(dataFolder);
        Clear();
        testFile = PathTokens::Resolve(shell).Expand("[personl]") + "bastion-test-file.txt";
    }
    ~ConsoleUpdateWineTest() override {
        Clear();
        files.DeleteFile(testFile);
        registry.DeleteValue(platform::Hive::CurrentUser, kSettings, "DefinitionServer");
    }
    void Clear() {
        for (std::string_view name : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                      datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                                      datafile::kBlockedCookies, datafile::kSafety, datafile::kContentDefinitions,
                                      datafile::kDefinitionDate, datafile::kScanLog}) {
            files.DeleteFile(DataFilePath(dataFolder, name));
        }
    }
    ChildResult Scan(const std::string& arguments) {
        return RunChild("\"" + std::string(BASTION_SCAN_EXE_PATH) + "\" " + arguments, 120000);
    }

    static constexpr const char* kSettings = "Software\\VB and VBA Program Settings\\Bastion\\OptionAndSettings";
    Win32Shell shell;
    Win32FileSystem files;
    Win32Registry registry;
    std::string dataFolder;
    std::string testFile;
};

TEST_F(ConsoleUpdateWineTest, AFirstStartFindsTheStarterTestFileAndAnUpdateFromAFreshServerGivesTheSameFiles) {
    ASSERT_TRUE(files.WriteFile(testFile, "a harmless test file"));
    ChildResult scan = Scan("smart --no-processes --no-cookies --no-registry --no-report");
    EXPECT_EQ(scan.exitCode, 1u) << scan.output;
    EXPECT_NE(scan.output.find("Bastion.TestFile\t" + testFile + "\tTestfile\tNo risk"), std::string::npos)
        << scan.output;
    const std::string starter = FolderOfPath(HostPathOnZ(BASTION_SCAN_EXE_PATH)) + "\\StarterDefinitions";
    EXPECT_EQ(files.ReadFile(DataFilePath(dataFolder, datafile::kDefinitionDate)),
              files.ReadFile(DataFilePath(starter, datafile::kDefinitionDate)));

    // The server's change log is the starter set: an update from nothing
    // gives the same files.
    DefinitionServerProcess server;
    ASSERT_TRUE(server.Running());
    const std::string changes = std::string(BASTION_DEFSERVER) + "/../changes/";
    for (const char* set : {"0001-starter-test-definitions", "0002-easyprivacy-cookies"}) {
        const auto text = files.ReadFile(HostPathOnZ(changes + set + ".changes"));
        ASSERT_TRUE(text) << set;
        server.Publish(set, SplitLines(*text));
    }
    registry.CreateKey(platform::Hive::CurrentUser, kSettings);
    registry.SetValue(platform::Hive::CurrentUser, kSettings, "DefinitionServer",
                      platform::RegValue::String(server.Base()));
    // Any file keeps the folder from counting as empty: the starter set is
    // not installed again.
    Clear();
    files.WriteFile(DataFilePath(dataFolder, datafile::kSafety), "");
    ChildResult update = Scan("update");
    EXPECT_EQ(update.exitCode, 0u) << update.output;
    EXPECT_NE(update.output.find("Definitions updated to 3/17/2006"), std::string::npos) << update.output;
    for (std::string_view name : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                  datafile::kRegistryDefinitions, datafile::kExeDefinitions, datafile::kBlockedCookies,
                                  datafile::kSafety, datafile::kContentDefinitions, datafile::kDefinitionDate}) {
        EXPECT_EQ(files.ReadFile(DataFilePath(dataFolder, name)), files.ReadFile(DataFilePath(starter, name))) << name;
    }
    update = Scan("update");
    EXPECT_EQ(update.exitCode, 0u) << update.output;
    EXPECT_NE(update.output.find("Definitions are up to date (3/17/2006)."), std::string::npos) << update.output;

    registry.SetValue(platform::Hive::CurrentUser, kSettings, "DefinitionServer",
                      platform::RegValue::String(server.Base("status")));
    files.DeleteFile(DataFilePath(dataFolder, datafile::kDefinitionDate));
    update = Scan("update");
    EXPECT_EQ(update.exitCode, 2u) << update.output;
    EXPECT_NE(update.output.find("Definitions could not be downloaded."), std::string::npos) << update.output;
}

}  // namespace
}  // namespace bastion::win32::test
