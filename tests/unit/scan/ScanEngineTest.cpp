// The scan engine's contract, without a window: what a request scans, what
// comes back, and that it asks nothing.
#include "scan/ScanEngine.h"

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "definitions/DataFiles.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "support/FakeBackgroundWork.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

using Strings = std::vector<std::string>;

struct ScanEngineTest : ::testing::Test {
    ScanEngineTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        dialogs.FailOnUnscriptedQuestion();
        for (std::string_view file : {datafile::kDirectoryDefinitions, datafile::kRegistryDefinitions,
                                      datafile::kExeDefinitions, datafile::kBlockedCookies}) {
            scan.WriteDefinitions(file, {});
        }
        scan.WriteDefinitions(datafile::kFileDefinitions, {"plantedspywarefile.exe=Planted|c:\\x\\|Adware"});
        for (const char* letter : {"D", "E"}) {
            scan.machine.files.AddDrive(letter, platform::DriveType::Fixed);
            scan.machine.files.AddFile(std::string(letter) + ":\\Tools\\plantedspywarefile.exe", "MZ");
        }
    }
    ScanResults Scan(ScanKind kind, Strings places = {}) { return engine.Scan({kind, std::move(places), {}}, progress); }
    std::string Now() const { return FormatGeneralDate(scan.machine.clock.now); }

    testing::ScanHarness scan;
    testing::RecordedProgress progress;
    testing::ScriptedDialogs dialogs;
    services::OperationGate operations;
    services::Identity identity = testing::TestIdentity();
    services::MessageCatalogue messages{identity};
    services::SettingsStore settings{scan.machine.registry, identity.productName};
    ProcessScanner processScanner{dialogs, messages, identity.productName};
    testing::FakeBackgroundWork background;
    const services::Services bundle{scan.machine.Bundle(), dialogs, scan.pump, operations, messages, identity,
                                    settings, scan.dataFolder, background};
    ScanEngine engine{ScanEnvironment{bundle, scan.safety, scan.exclusions, scan.tables, scan.state, processScanner}};
};

TEST_F(ScanEngineTest, AFullSystemScanWalksThePlacesAskedForAndHandsBackWhatItFound) {
    const ScanResults results = Scan(ScanKind::FullSystem, {"E:\\"});

    EXPECT_EQ(results.outcome, ScanOutcome::Completed);
    EXPECT_EQ(testing::DescribedDetections(results),
              Strings{"File: Planted|E:\\Tools\\plantedspywarefile.exe|Adware"})
        << "D was not asked for";
    EXPECT_EQ(results.started, Now());
    EXPECT_EQ(results.finished, Now());
    EXPECT_EQ(settings.Read(services::settings::kLblLastFullScan), Now());
    EXPECT_EQ(progress.phases, (Strings{"Scanning your Hard Disk...", "Inspecting memory", "Scanning registry"}));
    EXPECT_TRUE(scan.state.Results().detections.empty()) << "the results are handed on, not kept";
    EXPECT_FALSE(engine.Running());
}

TEST_F(ScanEngineTest, WhatKeepsAScanFromRunningIsItsOutcomeAndTheScanDatesAreStoredAllTheSame) {
    struct Case {
        ScanKind kind;
        Strings places;
        ScanOutcome outcome;
    };
    for (const Case& c : {Case{ScanKind::File, {}, ScanOutcome::NothingChosen},
                          Case{ScanKind::Folder, {" "}, ScanOutcome::NothingChosen}}) {
        settings.Write(services::settings::kLblLastScan, "Never");
        EXPECT_EQ(Scan(c.kind, c.places).outcome, c.outcome);
        EXPECT_EQ(settings.Read(services::settings::kLblLastScan), Now());
        EXPECT_FALSE(scan.tables.Created()) << "nothing was loaded for nothing chosen";
    }
    scan.machine.files.DeleteFile(DataFilePath(scan.dataFolder, datafile::kExeDefinitions));
    EXPECT_EQ(Scan(ScanKind::Smart).outcome, ScanOutcome::DefinitionsMissing);
    EXPECT_TRUE(dialogs.Asked().empty()) << "the engine tells, the front end says";
}

TEST_F(ScanEngineTest, AStopAskedForBeforeTheScanStopsItAndTheFlagIsTheFrontEndsToClear) {
    scan.machine.files.AddFile("C:\\WINDOWS\\plantedspywarefile.exe", "MZ");
    scan.WriteDefinitions(datafile::kFileDefinitions, {"plantedspywarefile.exe=Planted|[windir]|Adware"});
    engine.RequestStop();
    const ScanResults stopped = Scan(ScanKind::Smart);
    EXPECT_EQ(stopped.outcome, ScanOutcome::Cancelled);
    EXPECT_TRUE(stopped.detections.empty());
    EXPECT_EQ(progress.phases, Strings{"Inspecting Cookies"});
    EXPECT_TRUE(engine.StopRequested());

    engine.ClearStop();
    EXPECT_EQ(Scan(ScanKind::Folder, {"D:\\Tools"}).outcome, ScanOutcome::Completed);
    EXPECT_EQ(progress.phases.back(), "Scanning D:\\Tools\\...");
}

}  // namespace
}  // namespace bastion
