// Which native control shows which model control of the main window, and
// on which page.
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr COLORREF kPage = theme::kContent;
}

HWND FrmMainWindow::PageOf(const ui::Frame& frame) const {
    NativeControl* native = NativeOf(frame);
    return native ? native->Hwnd() : nullptr;
}

void FrmMainWindow::AddButton(HWND parent, ui::CommandButton& button, ButtonLook look, COLORREF background) {
    Add<CommandButtonControl>(parent, background, button, look);
}

void FrmMainWindow::AddLabel(HWND parent, ui::Label& label, LabelOptions options, COLORREF background) {
    Add<LabelControl>(parent, background, label, options);
}

void FrmMainWindow::CreateControls() {
    CreateNavigation();
    for (ui::Frame* page : main_.Pages()) Add<PageControl>(Hwnd(), kPage, *page, *this, kPage, page != &main_.frmOptions);
    CreateHomePage();
    CreateScanPage();
    CreateResultsPage();
    CreateOptionsPage();
    // The close mark lies on the header band; the website button in the
    // footer.
    AddLabel(Hwnd(), main_.lblHide, {LabelLook::HeaderMark, false, false}, theme::kHeader);
    AddButton(Hwnd(), main_.cmdWebsite, ButtonLook::Link, theme::kNav);
    for (ui::Frame* box : {&main_.fraScanType, &main_.fraDrives, &main_.fraHomePage, &main_.fraAutoProtect,
                           &main_.fraRunAtStartup, &main_.fraFalsePositive}) {
        if (auto* native = dynamic_cast<GroupBoxControl*>(NativeOf(*box))) native->SendToBack();
    }
}

void FrmMainWindow::CreateNavigation() {
    navPanel_.Create(Hwnd(), *this, theme::kNav);
    ::ShowWindow(navPanel_.Hwnd(), SW_SHOWNA);
    HWND nav = navPanel_.Hwnd();
    const std::pair<ui::CommandButton*, ui::Frame*> pageButtons[] = {{&main_.cmdStatus, &main_.frmStatus},
                                                                     {&main_.cmdScan, &main_.frmScan},
                                                                     {&main_.cmdResults, &main_.frmResults},
                                                                     {&main_.cmdSettings, &main_.frmOptions}};
    for (auto [button, page] : pageButtons) {
        Add<CommandButtonControl>(nav, theme::kNav, *button, ButtonLook::Nav).SelectedWhileVisible(*page);
    }
    for (ui::CommandButton* button : {&main_.cmdUpdate, &main_.cmdLog, &main_.Command5, &main_.cmdHijack}) {
        AddButton(nav, *button, ButtonLook::Nav, theme::kNav);
    }
}

void FrmMainWindow::CreateHomePage() {
    HWND page = PageOf(main_.frmStatus);
    AddLabel(page, main_.Label22, {LabelLook::Text, true, false}, kPage);
    ui::FrmMainCaptions& captions = main_.captions;
    fixed_.statusHeading = &captions.lblProtectionStatus;
    fixed_.scanHeading = &captions.lblScanYourComputer;
    for (ui::Label* heading : {fixed_.statusHeading, fixed_.scanHeading}) {
        AddLabel(page, *heading, {LabelLook::Value, false, false}, kPage);
    }
    const std::pair<ui::Label**, ui::Label*> captionSlots[] = {
        {&fixed_.defCount, &captions.lblDefCountCaption},   {&fixed_.version, &captions.lblVersionCaption},
        {&fixed_.defDate, &captions.lblDefVersionCaption},  {&fixed_.removed, &captions.lblDefRemovedCaption},
        {&fixed_.lastScan, &captions.lblLastScanCaption},   {&fixed_.lastFullScan, &captions.lblLastFullScanCaption}};
    for (auto [slot, caption] : captionSlots) {
        *slot = caption;
        AddLabel(page, *caption, {LabelLook::Secondary, false, false}, kPage);
    }
    for (ui::Label* value : {&main_.lblDefCount, &main_.lblVersion, &main_.lblDefVersion, &main_.lblDefRemoved,
                             &main_.lblLastScan, &main_.lblLastFullScan}) {
        AddLabel(page, *value, {LabelLook::Value, false, false}, kPage);
    }
    AddLabel(page, main_.lblScheduleMissed, {LabelLook::Value, false, false}, kPage);
    AddLabel(page, main_.lblDefinitionsUnconfirmed, {LabelLook::Value, false, false}, kPage);
    AddButton(page, main_.cmdMainScan, ButtonLook::Primary, kPage);
    for (ui::CommandButton* button : {&main_.cmdMainScan1, &main_.cmdMainScan2, &main_.cmdMainScan3}) {
        AddButton(page, *button, ButtonLook::Secondary, kPage);
    }
}

void FrmMainWindow::CreateScanPage() {
    HWND page = PageOf(main_.frmScan);
    for (ui::OptionButton& kind : main_.optScan) Add<OptionButtonControl>(page, kPage, kind);
    AddButton(page, main_.cmdScanNow, ButtonLook::Primary, kPage);
    AddButton(page, main_.cmdPause, ButtonLook::Secondary, kPage);
    AddButton(page, main_.cmdStop, ButtonLook::Secondary, kPage);
    AddLabel(page, main_.lblPercentageCompleted, {LabelLook::Value, false, false}, kPage);
    AddLabel(page, main_.lblStatus, {LabelLook::Secondary, false, false}, kPage);
    fixed_.pb1 = &main_.captions.lblCurrentStep;
    fixed_.pb2 = &main_.captions.lblOverall;
    AddLabel(page, *fixed_.pb1, {LabelLook::Secondary, false, false}, kPage);
    AddLabel(page, *fixed_.pb2, {LabelLook::Secondary, false, false}, kPage);
    fixed_.drive = &main_.captions.lblDriveOrFolder;
    AddLabel(page, *fixed_.drive, {LabelLook::Secondary, false, false}, kPage);
    for (ui::ProgressBar* bar : {&main_.pb1, &main_.pb2, &main_.pbgMain}) Add<ProgressBarControl>(page, kPage, *bar);
    ui::Label* counters[] = {&main_.lblMemoryInspected, &main_.lblRegistryInspected, &main_.lblFilesFolderInspected,
                             &main_.lblSoftwareFound,   &main_.lbltracesFound,       &main_.lblTotalNoOfRunningItems};
    for (int i = 0; i < 6; ++i) {
        AddLabel(page, *counters[i], {LabelLook::Counter, false, false}, kPage);
        fixed_.counters[i] = main_.captions.CounterCaptions()[static_cast<std::size_t>(i)];
        AddLabel(page, *fixed_.counters[i], {LabelLook::Secondary, false, false}, kPage);
    }
    Add<ListViewControl>(page, kPage, main_.lvwSpywareFound);
}

void FrmMainWindow::CreateResultsPage() {
    HWND page = PageOf(main_.frmResults);
    fixed_.itemsFound = &main_.captions.lblItemsFoundCaption;
    AddLabel(page, *fixed_.itemsFound, {LabelLook::Secondary, false, false}, kPage);
    AddLabel(page, main_.lblRemovePicSoftwareFound, {LabelLook::Value, false, false}, kPage);
    AddLabel(page, main_.lblViewLogFile, {LabelLook::Link, false, true}, kPage);
    Add<ListViewControl>(page, kPage, main_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved);
    // After the removal it carries what the user must know (the items left,
    // the missing restore point): wrapped, never cut off.
    AddLabel(page, main_.lblDeletingCaption, {LabelLook::Text, true, false}, kPage);
    AddLabel(page, main_.lblDeletingPercentageCompleted, {LabelLook::Value, false, true}, kPage);
    Add<ProgressBarControl>(page, kPage, main_.pgbDeleteSpywaresFound);
    for (ui::CommandButton* button : {&main_.cmdSelectAll, &main_.cmdExclude, &main_.cmdBrowse, &main_.cmdFalsePos}) {
        AddButton(page, *button, ButtonLook::Secondary, kPage);
    }
    AddButton(page, main_.Command4, ButtonLook::Primary, kPage);
}

void FrmMainWindow::CreateOptionsPage() {
    HWND page = PageOf(main_.frmOptions);
    Add<TabStripControl>(page, kPage, main_.TabStrip1);
    for (ui::Frame& frame : main_.frmView) Add<PageControl>(page, kPage, frame, *this, kPage, false);
    CreateScanOptionsTab(PageOf(main_.frmView[0]));
    CreateProtectionTab(PageOf(main_.frmView[1]));
    CreateScheduleTab(PageOf(main_.frmView[2]));
    CreateUpdateTab(PageOf(main_.frmView[3]));
}

void FrmMainWindow::CreateScanOptionsTab(HWND tab) {
    Add<GroupBoxControl>(tab, kPage, main_.fraScanType);
    Add<GroupBoxControl>(tab, kPage, main_.fraDrives);
    for (ui::CheckBox* box : {&main_.chkSendData, &main_.chkMakeLog}) Add<CheckBoxControl>(tab, kPage, *box);
    Add<OptionButtonControl>(tab, kPage, main_.optScanAllSelectedHardDrive);
    Add<OptionButtonControl>(tab, kPage, main_.optScanOnlyKnownSoftwares);
    for (ui::CheckBox* box :
         {&main_.chkSweepMemory, &main_.chkScanRegistry, &main_.chkScanCookies, &main_.chkParallelWalk}) {
        Add<CheckBoxControl>(tab, kPage, *box);
    }
    Add<ListViewControl>(tab, kPage, main_.lvwHardDrives);
    AddButton(tab, main_.Command1, ButtonLook::Primary, kPage);
}

void FrmMainWindow::CreateProtectionTab(HWND tab) {
    for (ui::Frame* frame : {&main_.fraHomePage, &main_.fraAutoProtect, &main_.fraRunAtStartup, &main_.fraFileShield}) {
        Add<GroupBoxControl>(tab, kPage, *frame);
    }
    Add<CheckBoxControl>(tab, kPage, main_.chkHomePage);
    Add<OptionButtonControl>(tab, kPage, main_.optIEHomePageSheildOn);
    Add<OptionButtonControl>(tab, kPage, main_.optIEHomePageSheildOff);
    AddLabel(tab, main_.lblHomePageChange, {LabelLook::Text, false, false}, kPage);
    Add<OptionButtonControl>(tab, kPage, main_.optAlwaysnotifybeforerestoring);
    Add<OptionButtonControl>(tab, kPage, main_.optRestoredefaultwithoutnotification);
    Add<CheckBoxControl>(tab, kPage, main_.chkAutoProtect);
    Add<OptionButtonControl>(tab, kPage, main_.optMemorySheildOn);
    Add<OptionButtonControl>(tab, kPage, main_.optMemorySheildOff);
    Add<CheckBoxControl>(tab, kPage, main_.chkRunAtStartup);
    AddLabel(tab, main_.lblRunAtStart, {LabelLook::Secondary, false, false}, kPage);
    Add<OptionButtonControl>(tab, kPage, main_.optFileShieldOn);
    Add<OptionButtonControl>(tab, kPage, main_.optFileShieldOff);
    Add<CheckBoxControl>(tab, kPage, main_.chkFileShieldQuarantine);
    Add<ListViewControl>(tab, kPage, main_.lvwFileShieldFolders);
    AddButton(tab, main_.cmdAddShieldFolder, ButtonLook::Secondary, kPage);
    AddButton(tab, main_.cmdRemoveShieldFolder, ButtonLook::Secondary, kPage);
}

void FrmMainWindow::CreateScheduleTab(HWND tab) {
    Add<CheckBoxControl>(tab, kPage, main_.chkAutomaticScanYesOrNo);
    fixed_.day = &main_.captions.lblScanOn;
    fixed_.date = &main_.captions.lblScheduleDate;
    fixed_.time = &main_.captions.lblScheduleTime;
    for (ui::Label* caption : {fixed_.day, fixed_.date, fixed_.time}) {
        AddLabel(tab, *caption, {LabelLook::Secondary, false, false}, kPage);
    }
    Add<ComboBoxControl>(tab, kPage, main_.cmbDays);
    Add<DateTimePickerControl>(tab, kPage, main_.dtpScheduleDate);
    Add<DateTimePickerControl>(tab, kPage, main_.dtpScheduleTime);
    Add<CheckBoxControl>(tab, kPage, main_.chkAutoDel);
    AddButton(tab, main_.cmdDefaultSetting, ButtonLook::Secondary, kPage);
    AddButton(tab, main_.CmdProceed, ButtonLook::Primary, kPage);
}

void FrmMainWindow::CreateUpdateTab(HWND tab) {
    Add<GroupBoxControl>(tab, kPage, main_.fraFalsePositive);
    Add<CheckBoxControl>(tab, kPage, main_.chkAutomaticUpdate);
    AddButton(tab, main_.cmdLiveUpdate, ButtonLook::Primary, kPage);
    AddLabel(tab, main_.lblLastUpdate, {LabelLook::Secondary, false, false}, kPage);
    fixed_.fileName = &main_.captions.lblFileName;
    AddLabel(tab, *fixed_.fileName, {LabelLook::Secondary, false, false}, kPage);
    Add<TextBoxControl>(tab, kPage, main_.txtFilename);
    AddButton(tab, main_.Command2, ButtonLook::Secondary, kPage);
    AddButton(tab, main_.cmdSubmit, ButtonLook::Secondary, kPage);
    AddLabel(tab, main_.Label26, {LabelLook::Text, true, false}, kPage);
}

}  // namespace bastion::win32
