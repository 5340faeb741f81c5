#include "app/ResultsPresenter.h"

#include <gtest/gtest.h>

#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

using Strings = std::vector<std::string>;

struct ResultsPresenterTest : ::testing::Test {
    ResultsPresenterTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
    }

    static ScanCounters Counters(std::int32_t value) {
        ScanCounters counters;
        counters.processesInspected = value;
        counters.registryInspected = value + 1;
        counters.filesInspected = value + 2;
        counters.itemsFound = value + 3;
        return counters;
    }
    Strings Display() const {
        return {form.lblMemoryInspected.Caption(),   form.lblRegistryInspected.Caption(),
                form.lblFilesFolderInspected.Caption(), form.lblSoftwareFound.Caption(),
                form.lblRemovePicSoftwareFound.Caption(), form.lblStatus.Caption(),
                std::to_string(form.pb1.Value()),     std::to_string(form.pb2.Value())};
    }
    // A scan that found these, shown.
    void Found(std::vector<Detection> detections) {
        ScanResults results;
        for (Detection& detection : detections) {
            detection.id = ++lastId;
            presenter.Found(detection);
            results.detections.push_back(std::move(detection));
        }
        presenter.Show(std::move(results));
    }
    static Detection File(std::string threat, std::string path, std::string_view type = "Adware") {
        return {0, DetectionKind::File, std::move(threat), ThreatTypeOf(type), path, FileItem{path}};
    }
    ui::ListView& Results() { return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }
    Strings Ticked() const {
        Strings threats;
        for (const Detection& detection : presenter.Ticked()) threats.push_back(detection.threat);
        return threats;
    }

    ui::FrmMain form;
    services::MessageCatalogue messages{testing::TestIdentity()};
    ResultsPresenter presenter{form, messages};
    DetectionId lastId = 0;
};

TEST_F(ResultsPresenterTest, OnlyEveryTwentyFifthReportChangesTheDisplayAndAnImmediateOneLeavesTheCount) {
    const Strings before = Display();
    for (int call = 1; call <= 23; ++call) presenter.Item("item", 10, 20, Counters(call), false);
    EXPECT_EQ(Display(), before);
    presenter.Item("C:\\SexyPorn\\setup.exe", 1, 2, Counters(7), true);
    EXPECT_EQ(form.lblStatus.Caption(), "C:\\y\\setup.exe") << "shown at once, without the listed words";
    presenter.Item("item 24", 10, 20, Counters(24), false);
    EXPECT_EQ(form.lblStatus.Caption(), "C:\\y\\setup.exe");

    presenter.Item("item 25", 30, 40, Counters(100), false);
    EXPECT_EQ(Display(), (Strings{"100", "101", "102", "103", "103", "item 25", std::to_string(30.0),
                                  std::to_string(40.0)}));

    // The count starts again after a display, and after the counters were
    // shown by themselves.
    for (int call = 1; call <= 24; ++call) presenter.Item("later", 50, 50, Counters(200), false);
    EXPECT_EQ(form.lblStatus.Caption(), "item 25");
    presenter.Counted(Counters(9));
    EXPECT_EQ(Display(), (Strings{"9", "10", "11", "12", "12", "item 25", std::to_string(30.0),
                                  std::to_string(40.0)}));
    presenter.Item("after", 50, 50, Counters(300), false);
    EXPECT_EQ(form.lblStatus.Caption(), "item 25");
}

TEST_F(ResultsPresenterTest, APercentageThatIsNegativeOrBeyondItsBarLeavesTheBarAndTheRestMoves) {
    presenter.Item("a", 30, 40, Counters(0), true);
    presenter.Item("b", -1, 60, Counters(0), true);
    presenter.Percentages(70, -1);
    EXPECT_EQ(form.pb1.Value(), 70);
    EXPECT_EQ(form.pb2.Value(), 60);
    presenter.Item("d", 250, 32767, Counters(2), true);
    EXPECT_EQ(form.pb1.Value(), 70);
    EXPECT_EQ(form.pb2.Value(), 60);
    EXPECT_EQ(form.lblSoftwareFound.Caption(), "5");
    EXPECT_EQ(form.lblStatus.Caption(), "d");
}

TEST_F(ResultsPresenterTest, ABeginningZeroesTheLabelsAndEmptiesTheListsAndASkippedScanSaysSoToTheEnd) {
    Found({File("Spy", "C:\\spy.exe")});
    presenter.Logged({ActivityKind::File, "Spy", "C:\\spy.exe"});
    for (ui::Label* label : {&form.lbltracesFound, &form.lblTotalNoOfRunningItems, &form.lblStatus}) {
        label->SetCaption("17");
    }
    presenter.Begun();
    for (ui::Label* label : {&form.lblMemoryInspected, &form.lblRegistryInspected, &form.lblFilesFolderInspected,
                             &form.lblSoftwareFound, &form.lblRemovePicSoftwareFound, &form.lbltracesFound,
                             &form.lblTotalNoOfRunningItems, &form.lblPercentageCompleted, &form.lblStatus}) {
        EXPECT_EQ(label->Caption(), "0") << label->Name();
    }
    EXPECT_TRUE(Results().Empty());
    EXPECT_TRUE(form.lvwSpywareFound.Empty());

    presenter.Skipped(ScanPhase::Registry);
    presenter.Counted(Counters(4));
    EXPECT_EQ(form.lblRegistryInspected.Caption(), "Not Selected");
    EXPECT_EQ(form.lblMemoryInspected.Caption(), "4");
    presenter.Traced(3);
    presenter.RunningPrograms(11);
    EXPECT_EQ(form.lbltracesFound.Caption(), "3");
    EXPECT_EQ(form.lblTotalNoOfRunningItems.Caption(), "11");
    presenter.Begun();
    presenter.Counted(Counters(4));
    EXPECT_EQ(form.lblRegistryInspected.Caption(), "5") << "the next scan shows numbers again";
}

TEST_F(ResultsPresenterTest, EachDetectionIsARowWithItsKindsIconAndItsTypesRiskAndEntriesAreLoggedAsTheyCome) {
    Found({{0, DetectionKind::Cookie, "user@ads[1].txt", ThreatTypeOf("Tracking Cookie"), "C:\\c.txt",
            CookieItem{"C:\\c.txt"}},
           {0, DetectionKind::Registry, "Key", ThreatTypeOf(""), "HKEY_USERS\\x", RegistryItem{}},
           File("Unknown", "C:\\u.exe", "Rootkit"),
           {0, DetectionKind::Folder, "Spy Directory", ThreatTypeOf("Adware"), "C:\\Spy", FileItem{"C:\\Spy"}},
           {0, DetectionKind::RunningProgram, "EVIL.EXE", {}, "C:\\evil.exe", ProcessItem{}}});
    struct Row {
        std::string text;
        int icon;
        Strings subItems;
    };
    const std::vector<Row> expected{
        {"Cookie: user@ads[1].txt", ui::kIconCookie,
         {"C:\\c.txt", "Tracking Cookie", "Low", "Not malicious but can be a privacy concern"}},
        {"Key", ui::kIconRegistry, {"HKEY_USERS\\x", "", "Medium", "Unknown"}},
        {"Unknown", ui::kIconFile, {"C:\\u.exe", "Rootkit"}},
        {"Spy Directory", ui::kIconFolder,
         {"C:\\Spy", "Adware", "Medium/High", "Adware displays ads on your computer and can compromise your security."}},
    };
    ASSERT_EQ(Results().Count(), expected.size()) << "a running program has no row to tick";
    for (std::size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(Results().Item(row).text, expected[row].text);
        EXPECT_EQ(Results().Item(row).smallIcon, expected[row].icon) << expected[row].text;
        EXPECT_EQ(Results().Item(row).subItems, expected[row].subItems) << expected[row].text;
        EXPECT_EQ(Results().Item(row).id, presenter.Results().detections[row].id);
    }

    for (ActivityKind kind : {ActivityKind::Excluded, ActivityKind::RunningProgram, ActivityKind::Folder}) {
        presenter.Logged({kind, "name", "details"});
    }
    Strings icons;
    for (const ui::ListItem& row : form.lvwSpywareFound.Rows()) icons.push_back(std::to_string(row.smallIcon));
    EXPECT_EQ(icons, (Strings{"5", "3", "4"}));
    EXPECT_EQ(form.lvwSpywareFound.SubItem(0, 1), "details");
}

TEST_F(ResultsPresenterTest, TicksNameTheirDetectionsWhateverTheOrderAndARemovalLeavesWhatItDidNotTake) {
    Found({File("A", "C:\\a.exe"), File("B", "C:\\b.exe"), File("C", "C:\\c.exe"), File("D", "C:\\d.exe")});
    Results().Sort(0, false);  // D, C, B, A
    Results().ItemCheck(1, true);
    Results().ItemCheck(3, true);
    EXPECT_EQ(Ticked(), (Strings{"C", "A"}));
    EXPECT_TRUE(presenter.AnyTicked());

    presenter.SelectAll();
    EXPECT_EQ(Ticked(), (Strings{"D", "C", "B", "A"}));
    const auto id = [&](std::size_t index) { return presenter.Results().detections[index].id; };
    RemovalReport report;
    report.items = {{id(0), "C:\\a.exe", RemovalResult::Removed},
                    {id(1), "C:\\b.exe", RemovalResult::Failed},
                    {id(2), "C:\\c.exe", RemovalResult::NotFound},
                    {0, "HKEY_CLASSES_ROOT\\CLSID\\{1}", RemovalResult::Failed}};
    presenter.ShowRemoval(report);
    // D was not reached: it stays ticked.
    EXPECT_EQ(Ticked(), (Strings{"D"}));
    Strings rows;
    for (const ui::ListItem& row : Results().Rows()) rows.push_back(row.text);
    EXPECT_EQ(rows, (Strings{"D", "C", "B"}));

    presenter.Drop({id(1), id(3)});
    EXPECT_EQ(Results().Count(), 1u);
    EXPECT_EQ(Results().Item(0).text, "C");
    EXPECT_EQ(presenter.Results().detections.size(), 4u) << "the results stay as the scan found them";
}

}  // namespace
}  // namespace bastion
