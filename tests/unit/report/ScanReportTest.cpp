#include "report/ScanReport.h"

#include <gtest/gtest.h>

#include "app/pages/ReportWindow.h"
#include "definitions/DataFiles.h"
#include "report/ReportViewer.h"
#include "scan/state/ScanState.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "support/FakeFileSystem.h"
#include "support/ScanHarness.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

struct ScanReportTest : ::testing::Test {
    ScanReportTest() {
        files.AddFolder(dataFolder);
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        results.started = "3/16/2006 1:05:09 PM";
        results.finished = "3/16/2006 1:07:00 PM";
        results.counters.processesInspected = 12;
        results.counters.registryInspected = 7;
        results.skipped.registry = true;
        results.counters.filesInspected = 34;
    }
    ScanReport Report() { return {files, Windows1252(), dataFolder, identity, messages, results}; }
    std::string Written() { return files.Content(ReportPath(dataFolder)).value_or("<none>"); }
    void Result(DetectionKind kind, const std::string& name, const std::string& location, const std::string& type) {
        results.detections.push_back(
            {results.detections.size() + 1, kind, name, ThreatTypeOf(type), location, FileItem{location}});
    }

    testing::FakeFileSystem files;
    std::string dataFolder = "C:\\Data";
    services::Identity identity = testing::TestIdentity();
    services::MessageCatalogue messages{identity};
    ScanResults results;
};

constexpr const char* kHeader =
    "\r\n\r\n"
    "                   Testwallv4.2   Scan Report\r\n\r\n"
    "\r\n\r\n"
    "Remember: Not all items found are malicious.  In particular, cookies and recent document lists are only "
    "privacy concerns.  They cannot hurt your computer.  If you are unsure about an item please send this log to "
    "an expert before removing the item from your computer.\r\n\r\n"
    "\r\n\r\n"
    "-----------------------\r\n\r\n"
    " Scan Started at  : 3/16/2006 1:05:09 PM\r\n\r\n"
    " Scan Finished at : 3/16/2006 1:07:00 PM\r\n\r\n"
    "-----------------------\r\n\r\n"
    "\r\n\r\n"
    "\r\n\r\n"
    " 1)Total Number of Processes inspected: 12\r\n\r\n"
    " 2)Total Number of Registry entries inspected: Not Selected\r\n\r\n"
    " 3)Total Number of Files/Folders inspected: 34\r\n\r\n"
    "\r\n\r\n"
    "[Threats Detected]\r\n\r\n\r\n";

TEST_F(ScanReportTest, WritesEveryKindOfResultWithExclusionsAndQuarantineLogInTheCodePage) {
    const std::string program = testing::ProgramWithCompany("Spy Co");
    files.AddFile("C:\\WINDOWS\\spyware.exe", program);
    files.AddFile("C:\\Cookies\\user@spy[1].txt", std::string(42, 'c'));
    Result(DetectionKind::Cookie, "user@spy[1].txt", "C:\\Cookies\\user@spy[1].txt", "Tracking Cookie");
    Result(DetectionKind::Registry, "Spy Key", "HKEY_LOCAL_MACHINE\\Software\\Spy", "Hijacker");
    Result(DetectionKind::File, "Spy Threat", "C:\\WINDOWS\\spyware.exe", "Misc Tool");
    Result(DetectionKind::Folder, "Spy Dir Directory", "c:\\program files\\spyco", "Dialer");
    // Gone since the scan: nothing to read a company or a size from; and of
    // a type the catalogue lacks.
    Result(DetectionKind::File, "Gone", "C:\\Caf\xC3\xA9\\gone.exe", "Rootkit");
    // Stopped by the scan, nothing to remove: not among the threats listed.
    results.detections.push_back({9, DetectionKind::RunningProgram, "EVIL.EXE", {}, "C:\\evil.exe", ProcessItem{}});
    files.AddFile(DataFilePath(dataFolder, "ENoSignature.dat"), "C:\\keep.exe\r\n\r\n \r\nKeepMe\r\n");
    files.AddFile(QuarantineLogPath(dataFolder), "5/1/2008 Quarantined C:\\x.exe\r\nsecond line\r\n");
    files.AddFile(ReportPath(dataFolder), "the previous report");

    ASSERT_TRUE(MakeReport(Report()));

    const std::string rule = "============================================\r\n\r\n";
    const std::string expected =
        std::string(kHeader) +
        rule + "File: C:\\Cookies\\user@spy[1].txt\r\n\r\nName: Cookie: user@spy[1].txt\r\n\r\nCompany: N/A\r\n\r\n"
        "Type: Cookie\r\n\r\nSize: 42 bytes\r\n\r\nDetail: Not malicious but can be a privacy concern\r\n\r\n"
        "Risk: Low\r\n\r\n\r\n" +
        rule + "File: HKEY_LOCAL_MACHINE\\Software\\Spy\r\n\r\nName: Spy Key\r\n\r\nCompany: N/A\r\n\r\n"
        "Type: Registry\r\n\r\nSize: 0 bytes\r\n\r\nDetail: Tries to lock you out of certain parts of your "
        "computer so that you cannot remove malicious software\r\n\r\nRisk: HIGH\r\n\r\n\r\n" +
        rule + "File: C:\\WINDOWS\\spyware.exe\r\n\r\nName: Spy Threat\r\n\r\nCompany: Spy Co\r\n\r\n"
        "Type: File\r\n\r\nSize: " + std::to_string(program.size()) + " bytes\r\n\r\nDetail: This could be "
        "related to a spyware or hacking tool but if it was installed by you it is not a threat.\r\n\r\n"
        "Risk: Low\r\n\r\n\r\n" +
        rule + "File: c:\\program files\\spyco\r\n\r\nName: Spy Dir Directory\r\n\r\nCompany: N/A\r\n\r\n"
        "Type: Folder\r\n\r\nSize: 0 bytes\r\n\r\nDetail: Attempts to dial pay numbers and charge the calls to "
        "your phone line.\r\n\r\nRisk: HIGH\r\n\r\n\r\n" +
        rule + "File: C:\\Caf\xE9\\gone.exe\r\n\r\nName: Gone\r\n\r\nCompany: \r\n\r\n"
        "Type: File\r\n\r\nSize: 0 bytes\r\n\r\nDetail: \r\n\r\nRisk: \r\n\r\n\r\n"
        "============================================\r\n\r\n\r\n"
        "Total = 5\r\n\r\n"
        "\r\n[Files Currently Excluded]\r\n\r\nC:\\keep.exe\r\nKeepMe\r\n\r\n\r\n"
        "\r\n[Current Quarantine Log]\r\n\r\n5/1/2008 Quarantined C:\\x.exe\r\n\r\nsecond line\r\n\r\n\r\n\r\n\r\n"
        "\r\n\r\n"
        "=====================End Of Report.\r\n";
    EXPECT_EQ(Written(), expected);
    EXPECT_FALSE(files.HasFile(ReportPath(dataFolder) + ".tmp"));
}

TEST_F(ScanReportTest, AScanWithoutFindingsHasTheHeaderAndATotalOfNothing) {
    files.AddFile(DataFilePath(dataFolder, "ENoSignature.dat"), "\r\n \r\n\r\n");
    ASSERT_TRUE(MakeReport(Report()));
    EXPECT_EQ(Written(), std::string(kHeader) +
                             "============================================\r\n\r\n\r\n"
                             "Total = 0\r\n\r\n"
                             "\r\n\r\n"
                             "=====================End Of Report.\r\n");
}

TEST_F(ScanReportTest, AfterAnAutomaticRemovalEveryItemFoundSaysWhatBecameOfIt) {
    Result(DetectionKind::File, "Gone", "C:\\gone.exe", "Adware");
    Result(DetectionKind::File, "Kept", "C:\\kept.exe", "Adware");
    RemovalReport removal;
    removal.items = {{1, "C:\\gone.exe", RemovalResult::Removed}, {2, "C:\\kept.exe", RemovalResult::Failed}};
    ScanReport report = Report();
    report.scheduled = true;
    report.removeAutomatically = true;
    report.removal = &removal;
    std::string text = ComposeReport(report);
    EXPECT_NE(text.find(" Scheduled scan   : 1 of the 2 items found could not be removed automatically"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Name: Gone\r\n\r\nCompany: \r\n\r\nType: File\r\n\r\nSize: 0 bytes\r\n\r\nDetail: Adware "
                        "displays ads on your computer and can compromise your security.\r\n\r\nRisk: Medium/High\r\n\r\n"
                        "Removal: removed\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Removal: failed"), std::string::npos) << text;

    removal.items[1].result = RemovalResult::Removed;
    text = ComposeReport(report);
    EXPECT_NE(text.find(" Scheduled scan   : the items found were removed automatically"), std::string::npos) << text;
    report.removeAutomatically = false;
    EXPECT_NE(ComposeReport(report).find(" Scheduled scan   : the items found were kept for review"), std::string::npos);
    EXPECT_EQ(ReportTypeName(DetectionKind::RunningProgram), "");
}

TEST_F(ScanReportTest, AReportThatCannotBeWrittenLeavesNoEarlierReportBehind) {
    files.AddFile(ReportPath(dataFolder), "last week's report");
    files.FailWrites(ReportPath(dataFolder) + ".tmp");
    EXPECT_FALSE(MakeReport(Report()));
    EXPECT_FALSE(files.HasFile(ReportPath(dataFolder)));
}

TEST_F(ScanReportTest, TheViewerShowsEachLineOnceWithoutTheSpacing) {
    Result(DetectionKind::Registry, "Spy Key", "HKEY_LOCAL_MACHINE\\Software\\Spy", "Hijacker");
    files.AddFile(DataFilePath(dataFolder, datafile::kExclusions), "C:\\keep.exe\r\nKeepMe\r\n");
    ASSERT_TRUE(MakeReport(Report()));

    ui::FrmReport viewer;
    frmReport_Load(viewer, files, Windows1252(), dataFolder, identity);
    EXPECT_EQ(viewer.Caption(), "Testwall Log");
    const std::string& text = viewer.txtReport.Text();
    EXPECT_NE(text.find("File: HKEY_LOCAL_MACHINE\\Software\\Spy\r\nName: Spy Key\r\nCompany: N/A\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Threats Detected]\r\n\r\n===="), std::string::npos) << text;
    // The exclusions, written one after another, still show one per line.
    EXPECT_NE(text.find("[Files Currently Excluded]\r\nC:\\keep.exe\r\nKeepMe\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 35), "=====================End Of Report.");

    EXPECT_EQ(ReportViewerText("a\r\n  \r\nb\xE9\r\n", Windows1252()), "a\r\nb\xC3\xA9");

    files.DeleteFile(ReportPath(dataFolder));
    frmReport_Load(viewer, files, Windows1252(), dataFolder, identity);
    EXPECT_EQ(viewer.txtReport.Text(), "");
}

}  // namespace
}  // namespace bastion
