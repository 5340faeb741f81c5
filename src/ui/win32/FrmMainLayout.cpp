// Where the controls of the main window lie, for the window's size and dpi:
// pages, tab strip, lists and progress bars stretch with the window;
// buttons keep their size and move along the edges.
#include <algorithm>

#include "ui/layout/MainWindowFrame.h"
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

using ui::Cell;
using ui::Rect;
using ui::TakeBottom;
using ui::TakeLeft;
using ui::TakeRight;
using ui::TakeTop;

namespace {
Rect Local(const Rect& bounds) { return {0, 0, bounds.Width(), bounds.Height()}; }
}  // namespace

void FrmMainWindow::Layout(const Rect& client) {
    const ui::MainFrame frame =
        ui::ComputeMainFrame(client.Width(), client.Height(), Dpi(), ui::WebsiteKeepsWidth(productName_));
    if (navPanel_.Hwnd()) {
        ::SetWindowPos(navPanel_.Hwnd(), nullptr, frame.nav.left, frame.nav.top, frame.nav.Width(),
                       frame.nav.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayoutNavigation(Local(frame.nav));
    for (ui::Frame* page : main_.Pages()) Place(*page, frame.content);
    const Rect page = Local(frame.content);
    LayoutHome(page);
    LayoutScan(page);
    LayoutResults(page);
    LayoutOptions(page);

    const int mark = S(28);
    Place(main_.lblHide, ui::RectOfSize(frame.header.right - mark - S(16), frame.header.top + (frame.header.Height() - mark) / 2,
                                        mark, mark));
    Place(main_.cmdWebsite, frame.website);
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void FrmMainWindow::LayoutNavigation(const Rect& nav) {
    Rect area = ui::Inset(nav, 0, S(12));
    for (ui::CommandButton* button : {&main_.cmdStatus, &main_.cmdScan, &main_.cmdResults, &main_.cmdSettings}) {
        Place(*button, TakeTop(area, S(40), S(2)));
    }
    TakeTop(area, S(20));
    for (ui::CommandButton* button : {&main_.cmdUpdate, &main_.cmdLog, &main_.Command5, &main_.cmdHijack}) {
        Place(*button, TakeTop(area, S(36), S(2)));
    }
}

void FrmMainWindow::LayoutHome(const Rect& page) {
    Rect area{page.left + S(24), page.top + S(64), page.right - S(24), page.bottom - S(20)};
    Place(main_.Label22, TakeTop(area, S(40), S(8)));

    Place(*fixed_.statusHeading, TakeTop(area, S(22), S(8)));
    Rect grid = TakeTop(area, S(3 * 30), S(28));
    ui::Label* captions[] = {fixed_.defCount, fixed_.version, fixed_.defDate,
                             fixed_.removed,  fixed_.lastScan, fixed_.lastFullScan};
    ui::Label* values[] = {&main_.lblDefCount, &main_.lblVersion, &main_.lblDefVersion,
                           &main_.lblDefRemoved, &main_.lblLastScan, &main_.lblLastFullScan};
    for (int i = 0; i < 6; ++i) {
        Rect column = Cell(grid, i / 3, 2, S(24));
        Rect row{column.left, column.top + (i % 3) * S(30), column.right, column.top + (i % 3) * S(30) + S(24)};
        // Room for the longer captions of other languages.
        Place(*captions[i], TakeLeft(row, S(160), S(8)));
        Place(*values[i], row);
    }
    // Below the summary, while a scheduled scan was missed.
    Place(main_.lblScheduleMissed, TakeTop(area, S(24), S(10)));
    // While the definitions could not be confirmed as current.
    Place(main_.lblDefinitionsUnconfirmed, TakeTop(area, S(24), S(10)));

    Place(*fixed_.scanHeading, TakeTop(area, S(22), S(10)));
    Rect buttons = TakeTop(area, S(40));
    buttons.right = std::min(buttons.right, buttons.left + S(4 * 168 + 3 * 12));
    ui::CommandButton* scans[] = {&main_.cmdMainScan, &main_.cmdMainScan1, &main_.cmdMainScan2, &main_.cmdMainScan3};
    for (int i = 0; i < 4; ++i) Place(*scans[i], Cell(buttons, i, 4, S(12)));
}

void FrmMainWindow::LayoutScan(const Rect& page) {
    Rect area{page.left + S(24), page.top + S(64), page.right - S(24), page.bottom - S(20)};

    // Start, Pause and Stop on the line of the page title, at its right.
    Rect actions{page.left + S(24), page.top + S(14), page.right - S(24), page.top + S(14 + 32)};
    Place(main_.cmdStop, TakeRight(actions, S(84), S(8)));
    Place(main_.cmdPause, TakeRight(actions, S(84), S(8)));
    Place(main_.cmdScanNow, TakeRight(actions, S(100)));

    Rect kinds = TakeTop(area, S(24), S(16));
    kinds.right = std::min(kinds.right, kinds.left + S(4 * 150));
    for (int i = 0; i < 4; ++i) Place(main_.optScan[static_cast<std::size_t>(i)], Cell(kinds, i, 4, S(8)));

    Place(main_.lblPercentageCompleted, TakeTop(area, S(22), S(2)));
    Place(main_.lblStatus, TakeTop(area, S(20), S(10)));
    const std::pair<ui::Label*, ui::ProgressBar*> bars[] = {{fixed_.pb1, &main_.pb1}, {fixed_.pb2, &main_.pb2}};
    for (auto [caption, bar] : bars) {
        Rect row = TakeTop(area, S(20), S(6));
        Place(*caption, TakeLeft(row, S(128), S(8)));
        Place(*bar, ui::Inset(row, 0, S(2)));
    }
    Rect drive = TakeTop(area, S(20), S(16));
    Place(*fixed_.drive, TakeLeft(drive, S(128), S(8)));
    Place(main_.pbgMain, ui::Inset(drive, 0, S(2)));

    ui::Label* values[] = {&main_.lblMemoryInspected, &main_.lblRegistryInspected, &main_.lblFilesFolderInspected,
                           &main_.lblSoftwareFound,   &main_.lbltracesFound,       &main_.lblTotalNoOfRunningItems};
    Rect counters = TakeTop(area, S(2 * 50 + 8), S(16));
    for (int i = 0; i < 6; ++i) {
        Rect row{counters.left, counters.top + (i / 3) * S(58), counters.right, counters.top + (i / 3) * S(58) + S(50)};
        Rect cell = Cell(row, i % 3, 3, S(16));
        Place(*values[i], TakeTop(cell, S(30)));
        Place(*fixed_.counters[i], TakeTop(cell, S(18)));
    }
    Place(main_.lvwSpywareFound, area);
}

void FrmMainWindow::LayoutResults(const Rect& page) {
    Rect area{page.left + S(24), page.top + S(64), page.right - S(24), page.bottom - S(20)};

    Rect summary = TakeTop(area, S(24), S(10));
    Place(main_.lblViewLogFile, TakeRight(summary, S(140)));
    Place(*fixed_.itemsFound, TakeLeft(summary, S(84), S(6)));
    Place(main_.lblRemovePicSoftwareFound, TakeLeft(summary, S(120)));

    Rect buttons = TakeBottom(area, S(32), S(14));
    Place(main_.Command4, TakeRight(buttons, S(130)));
    for (ui::CommandButton* button : {&main_.cmdSelectAll, &main_.cmdExclude, &main_.cmdBrowse, &main_.cmdFalsePos}) {
        Place(*button, TakeLeft(buttons, S(108), S(8)));
    }

    // The removal progress takes room from the list only while it shows.
    laidOutWithRemovalProgress_ = RemovalProgressShown();
    // The caption row grows with its text: the note a removal leaves (the
    // items left, the missing restore point) takes as many lines as it
    // needs, over the whole width once the percentage has gone.
    laidOutNote_ = main_.lblDeletingCaption.Caption();
    const bool percentShown = laidOutWithPercent_ = main_.lblDeletingPercentageCompleted.Visible();
    const int captionWidth = (area.right - area.left) - (percentShown ? S(128) : 0);
    int captionHeight = S(20);
    if (auto* caption = dynamic_cast<LabelControl*>(NativeOf(main_.lblDeletingCaption))) {
        captionHeight = std::max(captionHeight, caption->WrappedHeight(captionWidth) + S(2));
    }
    const bool barShown = laidOutWithBar_ = main_.pgbDeleteSpywaresFound.Visible();
    const int progressHeight = captionHeight + (barShown ? S(4 + 14) : 0);
    Rect progress = area;
    if (laidOutWithRemovalProgress_) {
        progress = TakeBottom(area, progressHeight, S(12));
    } else {
        progress.top = progress.bottom - progressHeight;
    }
    Rect captionRow = TakeTop(progress, captionHeight, barShown ? S(4) : 0);
    if (percentShown) Place(main_.lblDeletingPercentageCompleted, TakeRight(captionRow, S(120), S(8)));
    Place(main_.lblDeletingCaption, captionRow);
    Place(main_.pgbDeleteSpywaresFound, progress);

    Place(main_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved, area);
}

bool FrmMainWindow::RemovalProgressShown() const {
    return main_.pgbDeleteSpywaresFound.Visible() || main_.lblDeletingCaption.Visible() ||
           main_.lblDeletingPercentageCompleted.Visible();
}

void FrmMainWindow::AfterSync() {
    if (RemovalProgressShown() != laidOutWithRemovalProgress_ ||
        main_.lblDeletingCaption.Caption() != laidOutNote_ ||
        main_.pgbDeleteSpywaresFound.Visible() != laidOutWithBar_ ||
        main_.lblDeletingPercentageCompleted.Visible() != laidOutWithPercent_) {
        Relayout();
    }
    // The caption of the drive bar shows with the bar.
    if (fixed_.drive && fixed_.drive->Visible() != main_.pbgMain.Visible()) {
        fixed_.drive->SetVisible(main_.pbgMain.Visible());
        if (NativeControl* caption = NativeOf(*fixed_.drive)) caption->SyncIfChanged();
    }
}

void FrmMainWindow::LayoutOptions(const Rect& page) {
    Rect area = ui::Inset(page, S(24), S(16));
    Rect tabs = TakeTop(area, S(36));
    Place(main_.TabStrip1, tabs);
    if (auto* options = dynamic_cast<PageControl*>(NativeOf(main_.frmOptions))) {
        options->Container().SetRule({tabs.left, tabs.bottom, tabs.right, tabs.bottom + 1}, theme::kSeparator);
    }
    TakeTop(area, S(8));
    for (ui::Frame& frame : main_.frmView) Place(frame, area);
    const Rect inner = ui::Inset(Local(area), S(4), S(8));
    LayoutScanOptionsTab(inner);
    LayoutProtectionTab(inner);
    LayoutScheduleTab(inner);
    LayoutUpdateTab(inner);
}

void FrmMainWindow::LayoutScanOptionsTab(const Rect& tab) {
    Rect area = tab;
    Rect buttons = TakeBottom(area, S(32), S(12));
    Place(main_.Command1, TakeRight(buttons, S(120)));

    Rect left = TakeLeft(area, std::max(area.Width() / 2 - S(8), S(260)), S(16));
    Place(main_.chkSendData, TakeTop(left, S(36), S(4)));
    Place(main_.chkMakeLog, TakeTop(left, S(24), S(12)));
    Rect scanType = TakeTop(left, S(22 + 2 * 24 + 10), S(12));
    Place(main_.fraScanType, scanType);
    Rect inside{scanType.left + S(12), scanType.top + S(22), scanType.right - S(12), scanType.bottom - S(8)};
    Place(main_.optScanAllSelectedHardDrive, TakeTop(inside, S(24)));
    Place(main_.optScanOnlyKnownSoftwares, TakeTop(inside, S(24)));
    for (ui::CheckBox* box :
         {&main_.chkSweepMemory, &main_.chkScanRegistry, &main_.chkScanCookies, &main_.chkParallelWalk}) {
        Place(*box, TakeTop(left, S(24), S(2)));
    }

    Place(main_.fraDrives, area);
    Place(main_.lvwHardDrives, Rect{area.left + S(12), area.top + S(24), area.right - S(12), area.bottom - S(12)});
}

void FrmMainWindow::LayoutProtectionTab(const Rect& tab) {
    Rect area = tab;
    const bool twoColumns = area.Width() >= S(560);
    Rect left = twoColumns ? TakeLeft(area, area.Width() / 2 - S(8), S(16)) : area;
    Rect& right = twoColumns ? area : left;

    Rect homePage = TakeTop(left, S(22 + 4 * 24 + 22 + 12), S(12));
    Place(main_.fraHomePage, homePage);
    Rect inside{homePage.left + S(12), homePage.top + S(22), homePage.right - S(12), homePage.bottom - S(8)};
    Place(main_.chkHomePage, TakeTop(inside, S(24)));
    Rect onOff = TakeTop(inside, S(24));
    onOff.left += S(18);
    Place(main_.optIEHomePageSheildOn, TakeLeft(onOff, S(110), S(8)));
    Place(main_.optIEHomePageSheildOff, TakeLeft(onOff, S(110)));
    Place(main_.lblHomePageChange, TakeTop(inside, S(22)));
    for (ui::OptionButton* option : {&main_.optAlwaysnotifybeforerestoring, &main_.optRestoredefaultwithoutnotification}) {
        Rect row = TakeTop(inside, S(24));
        row.left += S(18);
        Place(*option, row);
    }

    Rect autoProtect = TakeTop(right, S(22 + 2 * 24 + 12), S(12));
    Place(main_.fraAutoProtect, autoProtect);
    inside = {autoProtect.left + S(12), autoProtect.top + S(22), autoProtect.right - S(12), autoProtect.bottom - S(8)};
    Place(main_.chkAutoProtect, TakeTop(inside, S(24)));
    onOff = TakeTop(inside, S(24));
    onOff.left += S(18);
    Place(main_.optMemorySheildOn, TakeLeft(onOff, S(110), S(8)));
    Place(main_.optMemorySheildOff, TakeLeft(onOff, S(110)));

    // The box's caption may take two lines in a narrow column.
    Rect startup = TakeTop(right, S(22 + 36 + 20 + 12));
    Place(main_.fraRunAtStartup, startup);
    inside = {startup.left + S(12), startup.top + S(22), startup.right - S(12), startup.bottom - S(8)};
    Place(main_.chkRunAtStartup, TakeTop(inside, S(36)));
    Rect note = TakeTop(inside, S(20));
    note.left += S(18);
    Place(main_.lblRunAtStart, note);

    // The file shield below the others, across the tab: its folders need
    // the width.
    Rect fileShield = twoColumns ? Rect{tab.left, std::max(left.top, right.top) + S(12), tab.right, tab.bottom}
                                 : Rect{left.left, left.top + S(12), left.right, left.bottom};
    Place(main_.fraFileShield, fileShield);
    inside = {fileShield.left + S(12), fileShield.top + S(22), fileShield.right - S(12), fileShield.bottom - S(8)};
    onOff = TakeTop(inside, S(24));
    Place(main_.optFileShieldOn, TakeLeft(onOff, S(110), S(8)));
    Place(main_.optFileShieldOff, TakeLeft(onOff, S(110), S(16)));
    Place(main_.chkFileShieldQuarantine, onOff);
    Rect buttons = TakeBottom(inside, S(28), S(6));
    Place(main_.cmdAddShieldFolder, TakeLeft(buttons, S(170), S(8)));
    Place(main_.cmdRemoveShieldFolder, TakeLeft(buttons, S(170)));
    Place(main_.lvwFileShieldFolders, inside);
}

void FrmMainWindow::LayoutScheduleTab(const Rect& tab) {
    Rect area = tab;
    Place(main_.chkAutomaticScanYesOrNo, TakeTop(area, S(24), S(12)));
    const std::pair<ui::Label*, ui::Control*> rows[] = {
        {fixed_.day, &main_.cmbDays}, {fixed_.date, &main_.dtpScheduleDate}, {fixed_.time, &main_.dtpScheduleTime}};
    for (auto [caption, control] : rows) {
        Rect row = TakeTop(area, S(26), S(8));
        Rect label = TakeLeft(row, S(80), S(8));
        label.top += S(4);
        Place(*caption, label);
        Rect field = TakeLeft(row, S(220));
        // A drop-down list's height includes its open list.
        if (control == &main_.cmbDays) field.bottom = field.top + S(240);
        Place(*control, field);
    }
    Place(main_.chkAutoDel, TakeTop(area, S(24), S(20)));
    Rect buttons = TakeTop(area, S(32));
    buttons.left += S(88);
    Place(main_.cmdDefaultSetting, TakeLeft(buttons, S(100), S(8)));
    Place(main_.CmdProceed, TakeLeft(buttons, S(100)));
}

void FrmMainWindow::LayoutUpdateTab(const Rect& tab) {
    Rect area = tab;
    Place(main_.chkAutomaticUpdate, TakeTop(area, S(24), S(12)));
    Rect update = TakeTop(area, S(32), S(24));
    Place(main_.cmdLiveUpdate, TakeLeft(update, S(180), S(16)));
    Place(main_.lblLastUpdate, ui::Inset(update, 0, S(6)));

    Rect box = TakeTop(area, S(22 + 26 + 8 + 40 + 10));
    Place(main_.fraFalsePositive, box);
    Rect inside{box.left + S(12), box.top + S(24), box.right - S(12), box.bottom - S(8)};
    Rect row = TakeTop(inside, S(26), S(8));
    Rect caption = TakeLeft(row, S(76), S(8));
    caption.top += S(4);
    Place(*fixed_.fileName, caption);
    Place(main_.cmdSubmit, TakeRight(row, S(90), S(8)));
    Place(main_.Command2, TakeRight(row, S(90), S(8)));
    Place(main_.txtFilename, ui::Inset(row, 0, S(1)));
    Place(main_.Label26, inside);
}

}  // namespace bastion::win32
