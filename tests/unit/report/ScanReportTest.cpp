#include "report/ScanReport.h"

#include <gtest/gtest.h>

#include "app/pages/ReportWindow.h"
#include "definitions/DataFiles.h"
#include "report/ReportViewer.h"
#include "scan/state/ScanState.h"
#include "support/FakeFileSystem.h"
#include "support/ScanHarness.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

struct ScanReportTest : ::testing::Test {
    ScanReportTest() {
        files.AddFolder(dataFolder);
        form.lblMemoryInspected.SetCaption("12");
        form.lblRegistryInspected.SetCaption("Not Selected");
        form.lblFilesFolderInspected.SetCaption("3,4");
    }
    ScanReport Report() { return {files, Windows1252(), dataFolder, identity, started, finished, form}; }
    std::string Written() { return files.Content(ReportPath(dataFolder)).value_or("<none>"); }
    void Result(const std::string& name, int smallIcon, const std::string& location, const std::string& risk,
                const std::string& details, int icon = -1) {
        std::size_t row = state.AddResultRow(name, smallIcon, location, "", icon);
        state.ResultsList().SetSubItem(row, 3, risk);
        state.ResultsList().SetSubItem(row, 4, details);
    }

    testing::FakeFileSystem files;
    std::string dataFolder = "C:\\Data";
    services::Identity identity = testing::TestIdentity();
    std::string started = "3/16/2006 1:05:09 PM";
    std::string finished = "3/16/2006 1:07:00 PM";
    ui::FrmMain form;
    ScanState state{form};
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
    " 3)Total Number of Files/Folders inspected: 3,4\r\n\r\n"
    "\r\n\r\n"
    "[Threats Detected]\r\n\r\n\r\n";

TEST_F(ScanReportTest, WritesEveryKindOfResultWithExclusionsAndQuarantineLogInTheCodePage) {
    const std::string program = testing::ProgramWithCompany("Spy Co");
    files.AddFile("C:\\WINDOWS\\spyware.exe", program);
    files.AddFile("C:\\Cookies\\user@spy[1].txt", std::string(42, 'c'));
    Result("Cookie: user@spy[1].txt", ui::kIconCookie, "C:\\Cookies\\user@spy[1].txt", "Low", "A cookie");
    Result("Spy Key", ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\Software\\Spy", "High", "A key");
    Result("Spy Threat", ui::kIconFile, "C:\\WINDOWS\\spyware.exe", "Medium", "A program");
    Result("Spy Dir Directory", ui::kIconFolder, "c:\\program files\\spyco", "High", "A folder", ui::kIconFile);
    // Gone since the scan: nothing to read a company or a size from.
    Result("Gone", ui::kIconFile, "C:\\Caf\xC3\xA9\\gone.exe", "", "");
    files.AddFile(DataFilePath(dataFolder, "ENoSignature.dat"), "C:\\keep.exe\r\n\r\n \r\nKeepMe\r\n");
    files.AddFile(QuarantineLogPath(dataFolder), "5/1/2008 Quarantined C:\\x.exe\r\nsecond line\r\n");
    files.AddFile(ReportPath(dataFolder), "the previous report");

    ASSERT_TRUE(MakeReport(Report()));

    const std::string rule = "============================================\r\n\r\n";
    const std::string expected =
        std::string(kHeader) +
        rule + "File: C:\\Cookies\\user@spy[1].txt\r\n\r\nName: Cookie: user@spy[1].txt\r\n\r\nCompany: N/A\r\n\r\n"
        "Type: Cookie\r\n\r\nSize: 42 bytes\r\n\r\nDetail: A cookie\r\n\r\nRisk: Low\r\n\r\n\r\n" +
        rule + "File: HKEY_LOCAL_MACHINE\\Software\\Spy\r\n\r\nName: Spy Key\r\n\r\nCompany: N/A\r\n\r\n"
        "Type: Registry\r\n\r\nSize: 0 bytes\r\n\r\nDetail: A key\r\n\r\nRisk: High\r\n\r\n\r\n" +
        rule + "File: C:\\WINDOWS\\spyware.exe\r\n\r\nName: Spy Threat\r\n\r\nCompany: Spy Co\r\n\r\n"
        "Type: File\r\n\r\nSize: " + std::to_string(program.size()) + " bytes\r\n\r\nDetail: A program\r\n\r\n"
        "Risk: Medium\r\n\r\n\r\n" +
        rule + "File: c:\\program files\\spyco\r\n\r\nName: Spy Dir Directory\r\n\r\nCompany: N/A\r\n\r\n"
        "Type: Folder\r\n\r\nSize: 0 bytes\r\n\r\nDetail: A folder\r\n\r\nRisk: High\r\n\r\n\r\n" +
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

TEST_F(ScanReportTest, ARowWithoutATagIsNamedByItsIcon) {
    std::size_t row = state.ResultsList().Add("Old Row", ui::kIconRegistry);
    state.ResultsList().SetSubItem(row, 1, "HKEY_USERS\\x");
    EXPECT_NE(ComposeReport(Report()).find("Type: Registry"), std::string::npos);
    EXPECT_EQ(ReportTypeName("9"), "");
}

TEST_F(ScanReportTest, AReportThatCannotBeWrittenLeavesNoEarlierReportBehind) {
    files.AddFile(ReportPath(dataFolder), "last week's report");
    files.FailWrites(ReportPath(dataFolder) + ".tmp");
    EXPECT_FALSE(MakeReport(Report()));
    EXPECT_FALSE(files.HasFile(ReportPath(dataFolder)));
}

TEST_F(ScanReportTest, TheViewerShowsEachLineOnceWithoutTheSpacing) {
    Result("Spy Key", ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\Software\\Spy", "High", "A key");
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
