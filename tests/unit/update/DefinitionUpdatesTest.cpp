#include "update/DefinitionUpdates.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/pages/UpdateFlow.h"
#include "common/Base64.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "scan/state/DefinitionCounts.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/MessageKeys.h"
#include "support/DeltaRecords.h"
#include "support/FakeBackgroundWork.h"
#include "support/FakeClock.h"
#include "support/FakeCrypto.h"
#include "support/FakeFileSystem.h"
#include "support/FakeInternet.h"
#include "support/FakePlatform.h"
#include "support/FakeRegistry.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "update/DeltaApplier.h"
#include "update/SignedAnswer.h"
#include "update/UpdateAddresses.h"

namespace bastion {
namespace {

using testing::FakeResponse;
using platform::HttpFailure;

// Fails the n-th step that writes, moves or deletes (from 1), and only that.
class FailingNthWrite final : public platform::FileSystem {
public:
    FailingNthWrite(platform::FileSystem& inner, int n) : inner_(inner), n_(n) {}
    int steps = 0;

    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& p, platform::LinkAtEnd e) override {
        return inner_.OpenFolder(p, e);
    }
    std::optional<platform::DirListing> ListDirectory(const std::string& f) override { return inner_.ListDirectory(f); }
    std::optional<platform::DirEntry> Lookup(const std::string& p) override { return inner_.Lookup(p); }
    bool FolderExists(const std::string& p) override { return inner_.FolderExists(p); }
    std::optional<std::uint64_t> FileSize(const std::string& p) override { return inner_.FileSize(p); }
    std::string FinalPath(const std::string& p) override { return inner_.FinalPath(p); }
    std::optional<platform::FolderLink> ReadFolderLink(const std::string& p) override {
        return inner_.ReadFolderLink(p);
    }
    bool MakeFolderLink(const std::string& p, const platform::FolderLink& l) override {
        return inner_.MakeFolderLink(p, l);
    }
    std::unique_ptr<platform::FileReader> OpenForRead(const std::string& p) override { return inner_.OpenForRead(p); }
    std::optional<std::string> ReadFile(const std::string& p) override { return inner_.ReadFile(p); }
    bool WriteFile(const std::string& p, const std::string& b) override { return Step() && inner_.WriteFile(p, b); }
    bool AppendFile(const std::string& p, const std::string& b) override { return Step() && inner_.AppendFile(p, b); }
    bool CopyFile(const std::string& f, const std::string& t, bool o) override {
        return Step() && inner_.CopyFile(f, t, o);
    }
    bool MoveReplace(const std::string& f, const std::string& t) override { return Step() && inner_.MoveReplace(f, t); }
    bool DeleteFile(const std::string& p) override { return Step() && inner_.DeleteFile(p); }
    bool DeleteAtRestart(const std::string& p) override { return Step() && inner_.DeleteAtRestart(p); }
    bool DeletePendingAtRestart(const std::string& p) override { return inner_.DeletePendingAtRestart(p); }
    bool CancelDeleteAtRestart(const std::string& p) override { return inner_.CancelDeleteAtRestart(p); }
    bool SetAttributes(const std::string& p, std::uint32_t a) override { return inner_.SetAttributes(p, a); }
    bool CreateFolder(const std::string& p) override { return inner_.CreateFolder(p); }
    bool CreateNewFile(const std::string& p) override { return Step() && inner_.CreateNewFile(p); }
    bool CreateNewFolder(const std::string& p) override { return inner_.CreateNewFolder(p); }
    bool CopyFolderTree(const std::string& f, const std::string& t) override { return inner_.CopyFolderTree(f, t); }
    bool DeleteFolderTree(const std::string& p) override { return inner_.DeleteFolderTree(p); }
    std::vector<platform::DriveInfo> ListDrives() override { return inner_.ListDrives(); }
    std::optional<platform::VolumeInfo> GetVolumeInfo(const std::string& r) override { return inner_.GetVolumeInfo(r); }
    std::optional<platform::DriveSpace> GetDriveSpace(const std::string& r) override { return inner_.GetDriveSpace(r); }

private:
    bool Step() { return ++steps != n_; }
    platform::FileSystem& inner_;
    int n_;
};

using testing::DeltaRecord;

// The signed form of a delta: the header record, the records, the
// signature of both; count is the number the header claims.
std::string SignedDelta(const std::string& from, const std::string& to, const std::vector<std::string>& records,
                        const std::string& key, std::size_t count) {
    const std::string signedPart =
        "DELTA|" + from + "|" + to + "|" + std::to_string(count) + "[BR]" + Join(records, "[BR]");
    return signedPart + "[BR]SIGNATURE|" + Base64Encode(testing::FakeCrypto::Sign(key, signedPart));
}

// Any signed text as the server wraps it.
std::string Signed(const std::string& signedPart, const std::string& key) {
    return signedPart + "[BR]SIGNATURE|" + Base64Encode(testing::FakeCrypto::Sign(key, signedPart));
}

const std::string kBase = "http://defs.example/mirror/";
const std::string kDateUrl = "http://defs.example/mirror/asp/currentDateNEW.asp?prog=Testwall&comp=Testwall%20Labs";
const std::string kDeltaUrl =
    "http://defs.example/mirror/asp/getDefsNEW.asp?prog=Testwall&comp=Testwall%20Labs&date=3%2F16%2F2006";
const std::string kNewDateUrl = "http://defs.example/mirror/asp/date.asp";

struct UpdateTest : ::testing::Test {
    UpdateTest() {
        files.AddFolder(folder);
        files.AddFile(DataFilePath(folder, datafile::kFileDefinitions), original);
        files.AddFile(DataFilePath(folder, datafile::kUpdateWork), "stale work file");
    }
    std::string Content(std::string_view name) { return files.Content(DataFilePath(folder, name)).value_or("<none>"); }
    UpdateResult Check(platform::FileSystem& fs, DefinitionTrust trust = {}) {
        return CheckForDefinitionUpdates({internet, fs, Windows1252(), folder, identity, kBase, trust, &clock});
    }

    testing::FakeFileSystem files;
    testing::FakeInternet internet;
    testing::FakeClock clock;
    services::Identity identity = testing::TestIdentity();
    std::string folder = "C:\\Data";
    const std::string original = EncodeDefinitionText("old=0|x|y") + "\r\n";
    const std::string delta = DeltaRecord("FILE", "ADD", "new=1|x|y") + "[BR]" +
                              DeltaRecord("COOK", "ADD", "t.example") + "[BR]" + DeltaRecord("FILE", "DEL", "old");
};

TEST_F(UpdateTest, StoresTheEarlierOfTheComparedDateAndTheDateAnswer) {
    internet.Respond(kDateUrl, " 4/1/2010 2:00:00 PM<br>\r\n");
    internet.Respond(kDeltaUrl, delta);
    // Published after the first answer: the next check must ask again.
    internet.Respond(kNewDateUrl, "5/1/2010");
    const UpdateResult result = Check(files);
    EXPECT_EQ(result.outcome, UpdateOutcome::Updated);
    EXPECT_EQ(result.count, 3);
    EXPECT_TRUE(result.walkDefinitionsChanged);
    EXPECT_EQ(Content(datafile::kDefinitionDate), "4/1/2010 2:00:00 PM\r\n");
    EXPECT_EQ(Content(datafile::kFileDefinitions), EncodeDefinitionText("new=1|x|y") + "\r\n");
    EXPECT_EQ(Content(datafile::kUpdateWork), "<none>");

    internet.Respond(kNewDateUrl, "3/1/2010");
    internet.Respond(
        "http://defs.example/mirror/asp/getDefsNEW.asp?prog=Testwall&comp=Testwall%20Labs&date=4%2F1%2F2010"
        "%202%3A00%3A00%20PM",
        delta);
    internet.Respond(kDateUrl, "4/2/2010");
    // The same changes again change nothing; the date moves all the same.
    EXPECT_EQ(Check(files).outcome, UpdateOutcome::UpToDate);
    EXPECT_EQ(Content(datafile::kDefinitionDate), "3/1/2010\r\n");
}

TEST_F(UpdateTest, ContentRecordsGoToTheirOwnFileInOrderAndAreCounted) {
    const std::string eicar = "68:275a021bbfb6489e54d471899f7db9d1663fc695ec2fe2a2c4538aabf651fd0f";
    const std::string other = "10:00000000000000000000000000000000000000000000000000000000000000ff";
    // The key is the size and hash: a DEL after an ADD takes it away again,
    // an ADD after a DEL stands.
    internet.Respond(kDateUrl, "4/1/2010");
    internet.Respond(kDeltaUrl, DeltaRecord("CONTENT", "ADD", other + "=Gone|Adware") + "[BR]" +
                                    DeltaRecord("CONTENT", "DEL", other) + "[BR]" +
                                    DeltaRecord("CONTENT", "DEL", eicar) + "[BR]" +
                                    DeltaRecord("CONTENT", "ADD", eicar + "=EICAR-Test-File|Testfile"));
    const UpdateResult result = Check(files);
    EXPECT_EQ(result.outcome, UpdateOutcome::Updated);
    EXPECT_EQ(result.count, 1);
    EXPECT_TRUE(result.walkDefinitionsChanged);
    EXPECT_EQ(Content(datafile::kContentDefinitions),
              EncodeDefinitionText(eicar + "=EICAR-Test-File|Testfile") + "\r\n");
    // No letter S: the safety list is left alone.
    EXPECT_EQ(Content(datafile::kSafety), "");

    ScanState state;
    // The file definition there before and the content definition.
    EXPECT_EQ(CountDefinitions(files, folder, state), 2);
    EXPECT_EQ(state.definitions.content, 1);
}

TEST_F(UpdateTest, AnythingButAWholeUsableAnswerIsAFailureThatChangesNothing) {
    const std::string before = Content(datafile::kFileDefinitions);
    const std::vector<std::vector<std::pair<std::string, FakeResponse>>> cases = {
        {},                                                                  // unreachable
        {{kDateUrl, {true, 503, "3/1/2010"}}},                               // error status
        {{kDateUrl, {true, 200, "<html>Server Error</html>"}}},              // no date
        {{kDateUrl, {true, 200, "4/1/2010"}}, {kDeltaUrl, {true, 200, delta.substr(0, 40), HttpFailure::Truncated}}},
        {{kDateUrl, {true, 200, "4/1/2010"}}, {kDeltaUrl, {true, 200, delta, HttpFailure::ReadFailed}}},
        {{kDateUrl, {true, 200, "4/1/2010"}}, {kDeltaUrl, {true, 200, "<html>no records</html>"}}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        testing::FakeInternet fresh;
        internet = fresh;
        for (const auto& [url, response] : cases[i]) internet.RespondInTurn(url, {response});
        EXPECT_EQ(Check(files).outcome, UpdateOutcome::Failed) << i;
        EXPECT_EQ(Content(datafile::kFileDefinitions), before) << i;
        EXPECT_EQ(Content(datafile::kDefinitionDate), "<none>") << i;
    }
}

TEST_F(UpdateTest, AWriteThatFailsAtAnyStepLeavesFilesWholeAndASecondRunEqualsACleanOne) {
    testing::FakeFileSystem clean;
    clean.AddFolder(folder);
    clean.AddFile(DataFilePath(folder, datafile::kFileDefinitions), original);
    internet.Respond(kDateUrl, "4/1/2010");
    internet.Respond(kDeltaUrl, delta);
    internet.Respond(kNewDateUrl, "4/1/2010");
    ASSERT_EQ(CheckForDefinitionUpdates({internet, clean, Windows1252(), folder, identity, kBase, {}}).outcome,
              UpdateOutcome::Updated);

    for (int n = 1;; ++n) {
        testing::FakeFileSystem disk;
        disk.AddFolder(folder);
        disk.AddFile(DataFilePath(folder, datafile::kFileDefinitions), original);
        FailingNthWrite failing(disk, n);
        const UpdateResult first = Check(failing);
        if (failing.steps < n) break;  // every step has failed once
        if (first.outcome != UpdateOutcome::Updated) {
            EXPECT_FALSE(disk.HasFile(DataFilePath(folder, datafile::kDefinitionDate))) << n;
        }
        const UpdateOutcome second = Check(disk).outcome;
        EXPECT_TRUE(second == UpdateOutcome::Updated || second == UpdateOutcome::UpToDate) << n;
        if (first.outcome != UpdateOutcome::Updated) {
            EXPECT_EQ(first.outcome, UpdateOutcome::NotSaved) << n;
        }
        std::vector<std::string> written = disk.Tree(folder), expected = clean.Tree(folder);
        std::sort(written.begin(), written.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(written, expected) << n << ": nothing left over, nothing missing";
        for (const std::string& path : clean.Tree(folder)) {
            EXPECT_EQ(disk.Content(path), clean.Content(path)) << n << " " << path;
        }
    }
}

TEST_F(UpdateTest, AKeyedBuildTakesOnlyAFreshSignedDateAndADeltaItsKeySignedToThatDate) {
    testing::FakeCrypto crypto;
    const std::string key = testing::FakeCrypto::Key(1);
    const DefinitionTrust trust{&crypto, key};
    clock.Set({2010, 4, 8, 12, 0, 0});
    const std::string date = Signed("DATE|4/2/2010|2010-04-08T11:59:30Z", key);
    const std::vector<std::string> records = {DeltaRecord("FILE", "ADD", "new=1|x|y"),
                                              DeltaRecord("FILE", "DEL", "old")};
    const std::string good = SignedDelta("3/16/2006", "4/2/2010", records, key, 2);
    std::string tampered = good;
    tampered[good.find("[DEF]") + 5] ^= 1;
    struct Case {
        const char* name;
        std::string date;
        std::string delta;
    };
    const Case refused[] = {
        {"a date answer unsigned", "4/2/2010", good},
        {"a date answer of a week and a day ago", Signed("DATE|4/2/2010|2010-03-31T11:59:00Z", key), good},
        {"a date answer from the day after tomorrow", Signed("DATE|4/2/2010|2010-04-10T12:00:00Z", key), good},
        {"a date answer without its time", Signed("DATE|4/2/2010", key), good},
        {"a translation file for a date answer", Signed("LANGUAGE|3|DATE|4/2/2010|2010-04-08T11:59:30Z", key), good},
        {"a delta unsigned", date, Join(records, "[BR]")},
        {"a delta tampered with", date, tampered},
        {"a delta signed by another key", date,
         SignedDelta("3/16/2006", "4/2/2010", records, testing::FakeCrypto::Key(2), 2)},
        {"a delta from after the date asked", date, SignedDelta("3/1/2010", "4/2/2010", records, key, 2)},
        {"an old delta played back", date, SignedDelta("3/16/2006", "4/1/2010", records, key, 2)},
        {"a delta with a record missing", date, SignedDelta("3/16/2006", "4/2/2010", {records[0]}, key, 2)},
        {"a translation file shaped as a delta", date,
         Signed("LANGUAGE|3|DELTA|3/16/2006|4/2/2010|2[BR]" + Join(records, "[BR]"), key)},
        {"a delta's signature cut short", date, good.substr(0, good.size() - 8)},
    };
    internet.Respond(kNewDateUrl, "1/1/2000");
    for (const Case& each : refused) {
        internet.Respond(kDateUrl, each.date);
        internet.Respond(kDeltaUrl, each.delta);
        EXPECT_EQ(Check(files, trust).outcome, UpdateOutcome::Unverified) << each.name;
        EXPECT_EQ(Content(datafile::kFileDefinitions), original) << each.name;
        EXPECT_EQ(Content(datafile::kDefinitionDate), "<none>") << each.name;
    }

    internet.requests.clear();
    internet.deadlines.clear();
    internet.Respond(kDateUrl, date);
    internet.Respond(kDeltaUrl, good + "\r\n");
    const UpdateResult result = Check(files, trust);
    EXPECT_EQ(result.outcome, UpdateOutcome::Updated);
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.confirmed, clock.UniversalNow());
    // The signed date, not the unsigned answer of "date.asp", which is not
    // even asked; the delta kept as it came.
    EXPECT_EQ(Content(datafile::kDefinitionDate), "4/2/2010\r\n");
    EXPECT_EQ(internet.requests, (std::vector<std::string>{kDateUrl, kDeltaUrl}));
    EXPECT_EQ(internet.deadlines,
              (std::vector<std::chrono::milliseconds>{platform::kDefaultHttpDeadline, kDeltaDeadline}));
    EXPECT_EQ(Content(datafile::kFileDefinitions), EncodeDefinitionText("new=1|x|y") + "\r\n");
    EXPECT_EQ(files.Content(folder + "\\SignedDeltas\\20060316000000-20100402000000.delta"), good + "\r\n");

    // Nothing newer: up to date, and confirmed as such.
    const UpdateResult current = Check(files, trust);
    EXPECT_EQ(current.outcome, UpdateOutcome::UpToDate);
    EXPECT_TRUE(current.confirmed);
}

TEST_F(UpdateTest, AStopBetweenFilesNeverLeavesNewDetectionsWithoutTheirSafetyEntries) {
    const ParsedDelta parsed = ParseDefinitionDelta(DeltaRecord("FILE", "ADD", "new=1|x|y") + "[BR]" +
                                                    DeltaRecord("SFILE", "ADD", "mine=Mine|x"));
    int asked = 0;
    const DeltaApplication applied =
        ApplyDefinitionDelta(files, folder, parsed, {{}, [&asked] { return ++asked > 1; }});
    EXPECT_FALSE(applied.complete);
    EXPECT_EQ(Content(datafile::kSafety), EncodeDefinitionText("SFILE|mine=Mine|x") + "\r\n");
    EXPECT_EQ(Content(datafile::kFileDefinitions), original);
}

TEST_F(UpdateTest, AnUnkeyedBuildTakesUnsignedAndSignedDeltasAlike) {
    internet.Respond(kDateUrl, "4/1/2010");
    internet.Respond(kNewDateUrl, "4/1/2010");
    // A replace: the old definition goes, the new one stands.
    const std::vector<std::string> records = {DeltaRecord("FILE", "DEL", "old"),
                                              DeltaRecord("FILE", "ADD", "old=2|x|y")};
    internet.Respond(kDeltaUrl, SignedDelta("3/16/2006", "4/1/2010", records, testing::FakeCrypto::Key(1), 2));
    EXPECT_EQ(Check(files).outcome, UpdateOutcome::Updated);
    EXPECT_EQ(Content(datafile::kFileDefinitions), EncodeDefinitionText("old=2|x|y") + "\r\n");
    EXPECT_EQ(internet.requests.size(), 3u);

    // The same delta again: nothing changes, the date is stored all the
    // same.
    files.DeleteFile(DataFilePath(folder, datafile::kDefinitionDate));
    const UpdateResult again = Check(files);
    EXPECT_EQ(again.outcome, UpdateOutcome::UpToDate);
    EXPECT_EQ(again.count, 0);
    EXPECT_EQ(Content(datafile::kDefinitionDate), "4/1/2010\r\n");
}

TEST_F(UpdateTest, FilesThatCannotBeWrittenAreReportedAsSuch) {
    internet.Respond(kDateUrl, "4/1/2010");
    internet.Respond(kDeltaUrl, delta);
    internet.Respond(kNewDateUrl, "4/1/2010");
    files.FailWrites(DataFilePath(folder, datafile::kDefinitionDate) + ".tmp");
    const UpdateResult noDate = Check(files);
    EXPECT_EQ(noDate.outcome, UpdateOutcome::NotSaved);
    EXPECT_TRUE(noDate.walkDefinitionsChanged);
    EXPECT_EQ(Content(datafile::kDefinitionDate), "<none>");

    files.ClearFailures();
    files.FailWrites(DataFilePath(folder, datafile::kBlockedCookies) + ".tmp");
    files.DeleteFile(DataFilePath(folder, datafile::kBlockedCookies));
    EXPECT_EQ(Check(files).outcome, UpdateOutcome::NotSaved);
    EXPECT_EQ(Content(datafile::kDefinitionDate), "<none>");
}

TEST(UpdateAddresses, JoinsWithOneSlashAndPercentEncodesQueryValues) {
    EXPECT_EQ(JoinUrl("http://h/", "/asp/date.asp"), "http://h/asp/date.asp");
    EXPECT_EQ(JoinUrl("http://h", "asp/date.asp"), "http://h/asp/date.asp");
    // A secure address is used as given.
    EXPECT_EQ(NewDateUrl("https://defs.example:8443/"), "https://defs.example:8443/asp/date.asp");
    EXPECT_EQ(PercentEncode("Big Name & Co/1~a.b_c-d"), "Big%20Name%20%26%20Co%2F1~a.b_c-d");
    services::Identity identity = testing::TestIdentity();
    identity.website = "http://testwall.example/page";
    EXPECT_EQ(UpdateAddressList(identity).substr(0, 55), "http://www.testwall.example/definitions/version/R.HTM\r\n");
}

struct UpdateFlowTest : ::testing::Test {
    UpdateFlowTest() {
        files.AddFolder(folder);
        settings.Write(services::settings::kDefinitionServer, kBase);
        services::FillDefaultMessages(messages);
        tables.Create();
        background.changed = [this](bool on) { timers.push_back(on); };
        internet.Respond(kDateUrl, "4/1/2010");
        internet.Respond(kNewDateUrl, "4/1/2010");
    }

    testing::FakeFileSystem files;
    testing::FakeInternet internet;
    testing::FakeRegistry registry;
    testing::ScriptedEventPump pump;
    services::OperationGate gate;
    const services::Identity identity = testing::TestIdentity();
    services::SettingsStore settings{registry, identity.productName};
    services::MessageCatalogue messages{identity};
    ui::FrmMain form;
    ScanState state;
    DefinitionTables tables;
    const std::string folder = "C:\\Data";
    DefinitionTrust trust;
    testing::FakeClock clock;
    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::FakeBackgroundWork background;
    UpdateFlow flow{{{{machine.registry, files, machine.shell, machine.processes, machine.system, internet,
                       machine.restore, clock, Windows1252(), machine.instances, machine.crypto, machine.watcher},
                      dialogs, pump, gate, messages, identity, settings, folder, background},
                     state, form, tables, trust}};
    std::vector<bool> timers;
};

TEST_F(UpdateFlowTest, RunsAsAnOperationAndReloadsTheWalkTablesAfterTheirFilesChanged) {
    internet.Respond(kDeltaUrl, DeltaRecord("FILE", "ADD", "new=1|x|y"));
    {
        auto scan = gate.TryBegin("scan");
        EXPECT_FALSE(flow.RunLiveUpdate());
        EXPECT_TRUE(internet.requests.empty());
    }
    pump.At(1, [&] {
        EXPECT_EQ(gate.Current(), "update");
        EXPECT_FALSE(form.cmdLiveUpdate.Enabled());
        EXPECT_TRUE(flow.download.Visible());
    });
    ASSERT_EQ(flow.RunLiveUpdate()->outcome, UpdateOutcome::Updated);
    EXPECT_EQ(timers, (std::vector<bool>{false, true}));
    EXPECT_FALSE(tables.Created());
    EXPECT_FALSE(flow.download.Visible());
    EXPECT_TRUE(flow.popup.Visible());
    EXPECT_EQ(state.definitions.files, 1);
    flow.popup.cmdUpdateSuccesfullOK.Click();
    EXPECT_EQ(settings.Read(services::settings::kShow), "false");
}

TEST_F(UpdateFlowTest, CancelOrTheProgramsExitEndsTheUpdateWhileItWaitsForTheServer) {
    // A server that takes the request and never answers the delta.
    testing::FakeResponse silent{true, 200, DeltaRecord("FILE", "ADD", "new=1|x|y")};
    silent.waits = -1;
    internet.RespondInTurn(kDeltaUrl, {silent});
    int rounds = 0;
    bool ended = false;
    std::function<void()> act;
    // The third time the window's events run while the delta is awaited.
    pump.Always([&] {
        if (internet.requests.size() == 2 && ++rounds == 3) act();
    });
    const std::function<void()> actions[] = {
        [&] { flow.download.Command1.Click(); },
        [&] { gate.EndWhenIdle([&] { ended = true; }); },
    };
    for (const auto& each : actions) {
        act = each;
        rounds = 0;
        timers.clear();
        internet.requests.clear();
        const std::optional<UpdateResult> result = flow.RunLiveUpdate();
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcome, UpdateOutcome::Stopped);
        EXPECT_EQ(rounds, 3) << "no round of waiting after the stop";
        EXPECT_FALSE(files.HasFile(DataFilePath(folder, datafile::kFileDefinitions)));
        EXPECT_FALSE(flow.download.Visible());
        EXPECT_FALSE(flow.popup.Visible());
        EXPECT_EQ(timers, (std::vector<bool>{false, true}));
        EXPECT_TRUE(form.cmdLiveUpdate.Enabled());
    }
    EXPECT_TRUE(ended) << "the exit ran once the update had returned";
}

TEST_F(UpdateFlowTest, TheResultSaysWhatWentWrong) {
    testing::FakeCrypto crypto;
    internet.Respond(kDeltaUrl, DeltaRecord("FILE", "ADD", "new=1|x|y"));
    trust = {&crypto, testing::FakeCrypto::Key(1)};
    ASSERT_EQ(flow.RunLiveUpdate()->outcome, UpdateOutcome::Unverified);
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), "Definitions could not be verified.");
    EXPECT_TRUE(tables.Created());

    trust = {};
    files.FailWrites(DataFilePath(folder, datafile::kDefinitionDate) + ".tmp");
    ASSERT_EQ(flow.RunLiveUpdate()->outcome, UpdateOutcome::NotSaved);
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), messages.getMessages(services::msg::kNotSaved));
    // The file definitions changed, though the update did not finish.
    EXPECT_FALSE(tables.Created());
}

TEST_F(UpdateFlowTest, AKeyedProgramSaysWhenNoVerifiedDateCameForAWeekAndInThePopUpOnceADay) {
    testing::FakeCrypto crypto;
    trust = {&crypto, testing::FakeCrypto::Key(1)};
    clock.Set({2010, 4, 8, 12, 0, 0});
    clock.utcOffsetSeconds = 2 * 60 * 60;
    ui::Label& label = form.lblDefinitionsUnconfirmed;
    // A first look starts the count.
    flow.CheckFreshness(true, true);
    EXPECT_FALSE(label.Visible());
    clock.Advance(7 * 24 * 60 * 60 - 60);
    flow.CheckFreshness(true);
    EXPECT_FALSE(label.Visible());

    clock.Advance(2 * 60);
    flow.CheckFreshness(true);
    ASSERT_TRUE(label.Visible());
    EXPECT_EQ(label.Caption(), "Definitions could not be confirmed as current since 4/8/2010.");
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), label.Caption());
    // Said in the pop-up again only a day later, however often it looks.
    flow.popup.lblUpdateInfo.SetCaption("");
    for (int hour = 0; hour < 23; ++hour) {
        clock.Advance(60 * 60);
        flow.CheckFreshness(true);
    }
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), "");
    clock.Advance(60 * 60);
    flow.CheckFreshness(true);
    EXPECT_EQ(flow.popup.lblUpdateInfo.Caption(), label.Caption());

    // A verified date answer: confirmed, whatever else the update finds.
    internet.Respond(kDateUrl, Signed("DATE|4/1/2010|" + FormatUtcTime(clock.UniversalNow()), trust.publicKey));
    files.AddFile(DataFilePath(folder, datafile::kDefinitionDate), "4/1/2010\r\n");
    ASSERT_EQ(flow.RunLiveUpdate()->outcome, UpdateOutcome::UpToDate);
    EXPECT_FALSE(label.Visible());
    EXPECT_EQ(settings.Read(services::settings::kDefinitionsConfirmed), FormatUtcTime(clock.UniversalNow()));
}

}  // namespace
}  // namespace bastion
