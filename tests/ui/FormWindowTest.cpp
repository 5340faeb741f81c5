// The window layer inside the test's own process: the main window over a
// form model, driven through the native controls as a user would, checked
// on the model and on the native controls.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ProgramHarness.h"
#include "Screenshot.h"
#include "ui/forms/FrmMain.h"
#include "ui/layout/Geometry.h"
#include "ui/layout/ProgressScale.h"
#include "ui/win32/FrmMainWindow.h"

namespace bastion::uitest {
namespace {

class MainWindowInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Create());
        form.SetVisible(true);
        for (ui::Frame* page : form.Pages()) page->SetVisible(page == &form.frmResults);
        window.SyncAll();
        PumpMessagesFor(50);
    }

    HWND Native(const ui::Control& control) {
        win32::NativeControl* native = window.NativeOf(control);
        return native ? native->Hwnd() : nullptr;
    }

    void AddResults(std::size_t count) {
        auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t row = results.Add("Threat " + std::to_string(i), ui::kIconFile, ui::kIconFile);
            results.SetSubItem(row, 1, "C:\\Program Files\\Bad\\file" + std::to_string(i) + ".exe");
            results.SetSubItem(row, 2, "Adware");
        }
        window.SyncAll();
    }

    // The middle of row's state icon (the check box), in list coordinates.
    POINT StateIconOf(HWND list, int row) {
        RECT icon{LVIR_ICON, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&icon));
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
        const int y = (bounds.top + bounds.bottom) / 2;
        for (int x = bounds.left; x < icon.right; ++x) {
            LVHITTESTINFO hit{};
            hit.pt = {x, y};
            if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
                (hit.flags & LVHT_ONITEMSTATEICON)) {
                return {x + 4, y};
            }
        }
        return {-1, -1};
    }

    ui::FrmMain form;
    win32::FrmMainWindow window{form, "Bastion"};
};

TEST_F(MainWindowInProcess, EachPageShowsExactlyWhileItsFrameIsVisible) {
    for (ui::Frame* shown : form.Pages()) {
        for (ui::Frame* page : form.Pages()) page->SetVisible(page == shown);
        window.SyncAll();
        for (ui::Frame* page : form.Pages()) {
            EXPECT_EQ(IsWindowVisible(Native(*page)) != FALSE, page == shown) << page->Name();
        }
    }
    // Controls of a hidden page are hidden with it; hidden queues have no
    // native control at all.
    EXPECT_FALSE(IsWindowVisible(Native(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved)));
    EXPECT_EQ(window.NativeOf(form.lvwFilesToBeDeleted), nullptr);
    EXPECT_EQ(window.NativeOf(form.lvwRegistryToBeDeleted), nullptr);
}

TEST_F(MainWindowInProcess, AVirtualListReadsItsRowsFromTheModel) {
    AddResults(100000);
    HWND list = Native(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved);
    EXPECT_EQ(ListViewColumns(list), (std::vector<std::wstring>{L"File", L"Location", L"Type", L"Risk", L"Details"}));
    EXPECT_EQ(ListViewItemCount(list), 100000);
    EXPECT_EQ(ListViewItemText(list, 99999, 0), L"Threat 99999");
    EXPECT_EQ(ListViewItemText(list, 99999, 1), L"C:\\Program Files\\Bad\\file99999.exe");
    EXPECT_EQ(ListViewItemText(list, 5, 3), L"");

    // A change of the model shows after the next push; so does emptying it.
    form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.SetSubItem(5, 3, "Medium/High");
    window.SyncAll();
    EXPECT_EQ(ListViewItemText(list, 5, 3), L"Medium/High");
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 5;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, ui::kIconFile - 1);
    form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Clear();
    window.SyncAll();
    EXPECT_EQ(ListViewItemCount(list), 0);
}

TEST_F(MainWindowInProcess, TickingARowGoesThroughTheModelsItemCheck) {
    AddResults(3);
    auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    std::vector<std::size_t> ticked;
    results.onItemCheck = [&](std::size_t row) { ticked.push_back(row); };
    HWND list = Native(results);

    const POINT box = StateIconOf(list, 1);
    ASSERT_GE(box.x, 0) << "no check box found on the row";
    ClickAt(list, box);
    PumpMessagesFor(100);
    EXPECT_TRUE(results.Item(1).checked);
    EXPECT_FALSE(results.Item(0).checked);
    EXPECT_EQ(ticked, (std::vector<std::size_t>{1}));
    // The list paints the tick from the model's state.
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));

    // A click on the text selects, it does not tick.
    RECT label{LVIR_LABEL, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&label));
    ClickAt(list, {label.left + 10, (label.top + label.bottom) / 2});
    PumpMessagesFor(100);
    EXPECT_FALSE(results.Item(2).checked);

    // The space bar ticks the focused row, and ticks it off again.
    SetFocus(list);
    LVITEMW focus{};
    focus.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    focus.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&focus));
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    PumpMessagesFor(50);
    EXPECT_TRUE(results.Item(2).checked);
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    PumpMessagesFor(50);
    EXPECT_FALSE(results.Item(2).checked);
    EXPECT_EQ(ticked.size(), 3u);

    // A picture of the page with rows of every kind, for the eye.
    const std::pair<const char*, int> kinds[] = {{"Tracking cookie", ui::kIconCookie},
                                                 {"Registry entry", ui::kIconRegistry},
                                                 {"Folder", ui::kIconFolder},
                                                 {"EXCLUDED", ui::kIconExcluded}};
    for (auto [text, icon] : kinds) {
        const std::size_t row = results.Add(text, icon, icon);
        results.SetSubItem(row, 1, "C:\\Users\\Test\\AppData\\Example");
        results.SetSubItem(row, 2, "Spyware");
        results.SetSubItem(row, 3, "Medium/High");
        results.SetSubItem(row, 4, "Spys on your computer activity");
    }
    form.lblRemovePicSoftwareFound.SetCaption(std::to_string(results.Count()));
    window.SyncAll();
    SaveScreenshot(window.Hwnd(), "results-with-rows");
}

TEST_F(MainWindowInProcess, HeaderClicksDoubleClicksAndSortingReachTheModel) {
    AddResults(4);
    auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    std::vector<int> columnsClicked;
    std::vector<std::size_t> opened;
    results.onColumnClick = [&](int column) {
        columnsClicked.push_back(column);
        results.Sort(column, false);
    };
    results.onDoubleClick = [&](std::size_t row) { opened.push_back(row); };
    HWND list = Native(results);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));

    RECT column{};
    SendMessageW(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&column));
    ClickAt(header, {(column.left + column.right) / 2, (column.top + column.bottom) / 2});
    PumpMessagesFor(100);
    EXPECT_EQ(columnsClicked, (std::vector<int>{2}));
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_TRUE(item.fmt & HDF_SORTDOWN);
    SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_FALSE(item.fmt & (HDF_SORTDOWN | HDF_SORTUP));

    RECT label{LVIR_LABEL, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&label));
    const LPARAM point = MAKELPARAM(label.left + 10, (label.top + label.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    PumpMessagesFor(100);
    EXPECT_EQ(opened, (std::vector<std::size_t>{3}));
}

TEST_F(MainWindowInProcess, ColumnWidthsAreTwipsOfTheModelAndAResizeIsWrittenBack) {
    auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    HWND list = Native(results);
    const int dpi = window.Dpi();
    for (std::size_t i = 0; i < results.Columns().size(); ++i) {
        EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0),
                  ui::TwipsToPixels(results.Columns()[i].widthTwips, dpi));
    }
    results.SetColumnWidth(1, 4500);
    window.SyncAll();
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), ui::TwipsToPixels(4500, dpi));

    // The user drags a divider: the model learns the new width.
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 3, 123);
    window.SyncAll();
    EXPECT_DOUBLE_EQ(results.Columns()[3].widthTwips, ui::PixelsToTwips(123, dpi));
    EXPECT_DOUBLE_EQ(results.Columns()[1].widthTwips, 4500);
}

TEST_F(MainWindowInProcess, TheLayoutFollowsTheWindowsSizeAndEdge) {
    auto clientOf = [](HWND control) {
        RECT bounds;
        GetWindowRect(control, &bounds);
        MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    };
    HWND list = Native(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved);
    HWND repair = Native(form.Command4);
    const RECT listBefore = clientOf(list);
    const RECT repairBefore = clientOf(repair);

    RECT frame;
    GetWindowRect(window.Hwnd(), &frame);
    SetWindowPos(window.Hwnd(), nullptr, 0, 0, frame.right - frame.left + 200, frame.bottom - frame.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    // The list stretches, the button moves along the right edge and keeps
    // its size.
    const RECT listAfter = clientOf(list);
    const RECT repairAfter = clientOf(repair);
    EXPECT_EQ(listAfter.right - listBefore.right, 200);
    EXPECT_EQ(listAfter.bottom - listBefore.bottom, 100);
    EXPECT_EQ(repairAfter.left - repairBefore.left, 200);
    EXPECT_EQ(repairAfter.top - repairBefore.top, 100);
    EXPECT_EQ(repairAfter.right - repairAfter.left, repairBefore.right - repairBefore.left);

    // The website button ends 200 twips before the right edge.
    RECT client;
    GetClientRect(window.Hwnd(), &client);
    EXPECT_EQ(client.right - clientOf(Native(form.cmdWebsite)).right, ui::TwipsToPixels(200, window.Dpi()));

    // Left of and above the screen, the window comes back 100 twips inside.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window.Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    SetWindowPos(window.Hwnd(), nullptr, monitor.rcMonitor.left - 300, monitor.rcMonitor.top - 200,
                 frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    GetWindowRect(window.Hwnd(), &frame);
    const int gap = ui::TwipsToPixels(100, window.Dpi());
    EXPECT_EQ(frame.left, monitor.rcMonitor.left + gap);
    EXPECT_EQ(frame.top, monitor.rcMonitor.top + gap);
}

TEST_F(MainWindowInProcess, AChangeOfDpiScalesTheLayoutAndKeepsTheTwips) {
    auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    HWND list = Native(results);
    const double twips = results.Columns()[1].widthTwips;
    RECT file96;
    GetMenuItemRect(window.Hwnd(), GetMenu(window.Hwnd()), 0, &file96);

    // What the system sends when the window moves to a screen of 144 dpi.
    RECT frame;
    GetWindowRect(window.Hwnd(), &frame);
    RECT suggested{frame.left, frame.top, frame.left + (frame.right - frame.left) * 3 / 2,
                   frame.top + (frame.bottom - frame.top) * 3 / 2};
    SendMessageW(window.Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    window.SyncAll();

    EXPECT_EQ(window.Dpi(), 144);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), ui::TwipsToPixels(twips, 144));
    EXPECT_DOUBLE_EQ(results.Columns()[1].widthTwips, twips);
    // Start keeps its 100 layout units.
    RECT start;
    GetWindowRect(Native(form.cmdScanNow), &start);
    EXPECT_EQ(start.right - start.left, ui::Scale(100, 144));
    LOGFONTW font{};
    GetObjectW(window.Fonts().Get(win32::FontRole::Normal), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, 144, 72));
    // The menu bar's items grow with the window's font, not the system's.
    RECT file144;
    GetMenuItemRect(window.Hwnd(), GetMenu(window.Hwnd()), 0, &file144);
    EXPECT_GT((file144.right - file144.left) * 4, (file96.right - file96.left) * 5);
}

TEST_F(MainWindowInProcess, ButtonsCheckBoxesAndOptionButtonsActThroughTheirModels) {
    int starts = 0;
    form.cmdScanNow.onClick = [&] { ++starts; };
    SendMessageW(Native(form.cmdScanNow), BM_CLICK, 0, 0);
    EXPECT_EQ(starts, 1);
    // A disabled button does nothing, as on screen.
    form.cmdScanNow.SetEnabled(false);
    window.SyncAll();
    EXPECT_FALSE(IsWindowEnabled(Native(form.cmdScanNow)));
    SendMessageW(Native(form.cmdScanNow), BM_CLICK, 0, 0);
    EXPECT_EQ(starts, 1);

    int logClicks = 0;
    form.chkMakeLog.onClick = [&] { ++logClicks; };
    HWND makeLog = Native(form.chkMakeLog);
    SendMessageW(makeLog, BM_CLICK, 0, 0);
    EXPECT_EQ(form.chkMakeLog.Value(), ui::kChecked);
    EXPECT_EQ(SendMessageW(makeLog, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(makeLog, BM_CLICK, 0, 0);
    EXPECT_EQ(form.chkMakeLog.Value(), ui::kUnchecked);
    EXPECT_EQ(SendMessageW(makeLog, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(logClicks, 2);
    // A value set by code shows too (and, as the model defines, clicks).
    form.chkMakeLog.SetValue(ui::kGrayed);
    window.SyncAll();
    EXPECT_EQ(SendMessageW(makeLog, BM_GETCHECK, 0, 0), BST_INDETERMINATE);

    // Option buttons of one group: the clicked one on, the others off.
    SendMessageW(Native(form.optScan[ui::kFolderScan]), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.optScan[ui::kFolderScan].Value());
    EXPECT_FALSE(form.optScan[ui::kSmartScan].Value());
    EXPECT_EQ(SendMessageW(Native(form.optScan[ui::kSmartScan]), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(Native(form.optScan[ui::kFolderScan]), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Groups apart do not touch each other.
    SendMessageW(Native(form.optMemorySheildOn), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.optMemorySheildOn.Value());
    EXPECT_TRUE(form.optScan[ui::kFolderScan].Value());
}

TEST_F(MainWindowInProcess, LabelsCaptionsAndProgressFollowTheModel) {
    form.lblStatus.SetCaption("Scanning: C:\\Windows\\notepad.exe");
    form.lblSoftwareFound.SetCaption("12");
    form.pbgMain.SetMax(4e12);
    form.pbgMain.SetValue(1e12);
    form.frmResults.SetCaption("Results of the scan");
    form.SetCaption("Bastion by Bastion Software");
    window.SyncAll();
    EXPECT_EQ(WindowText(Native(form.lblStatus)), L"Scanning: C:\\Windows\\notepad.exe");
    EXPECT_EQ(WindowText(Native(form.lblSoftwareFound)), L"12");
    EXPECT_EQ(SendMessageW(Native(form.pbgMain), PBM_GETPOS, 0, 0), ui::kProgressSteps / 4);
    EXPECT_EQ(WindowText(window.Hwnd()), L"Bastion by Bastion Software");

    // A label with a click handler is clickable.
    int reports = 0;
    form.lblViewLogFile.onClick = [&] { ++reports; };
    HWND report = Native(form.lblViewLogFile);
    SendMessageW(GetParent(report), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(report), STN_CLICKED),
                 reinterpret_cast<LPARAM>(report));
    EXPECT_EQ(reports, 1);

    // The removal progress takes room from the results list while it shows.
    HWND list = Native(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved);
    RECT before;
    GetWindowRect(list, &before);
    form.pgbDeleteSpywaresFound.SetVisible(true);
    form.lblDeletingCaption.SetVisible(true);
    window.SyncAll();
    RECT after;
    GetWindowRect(list, &after);
    EXPECT_LT(after.bottom, before.bottom);
    EXPECT_TRUE(IsWindowVisible(Native(form.pgbDeleteSpywaresFound)));
}

TEST_F(MainWindowInProcess, ComboBoxTabsAndPickersFollowTheModelBothWays) {
    HWND days = Native(form.cmbDays);
    EXPECT_EQ(SendMessageW(days, CB_GETCOUNT, 0, 0), 10);
    int dayChanges = 0;
    form.cmbDays.onClick = [&] { ++dayChanges; };
    SendMessageW(days, CB_SETCURSEL, 7, 0);
    SendMessageW(GetParent(days), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(days), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(days));
    EXPECT_EQ(form.cmbDays.Text(), "Daily");
    EXPECT_EQ(dayChanges, 1);
    form.cmbDays.SetText("Never");
    window.SyncAll();
    EXPECT_EQ(SendMessageW(days, CB_GETCURSEL, 0, 0), 9);

    for (ui::Frame* page : form.Pages()) page->SetVisible(page == &form.frmOptions);
    window.SyncAll();
    HWND tabs = Native(form.TabStrip1);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    int selections = 0;
    form.TabStrip1.onClick = [&] { ++selections; };
    const RECT third = TabItemRect(tabs, 2);
    ClickAt(tabs, {(third.left + third.right) / 2, (third.top + third.bottom) / 2});
    PumpMessagesFor(100);
    EXPECT_EQ(form.TabStrip1.Selected(), 2);
    EXPECT_EQ(selections, 1);
    form.TabStrip1.Select(3);
    window.SyncAll();
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 3);

    HWND date = Native(form.dtpScheduleDate);
    SYSTEMTIME shown{};
    EXPECT_EQ(SendMessageW(date, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_NONE);
    form.dtpScheduleDate.SetValue(DateTime{2024, 5, 17, 0, 0, 0});
    window.SyncAll();
    EXPECT_EQ(SendMessageW(date, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wMonth, 5);
    EXPECT_EQ(shown.wDay, 17);
    form.dtpScheduleDate.SetValue(std::nullopt);
    window.SyncAll();
    EXPECT_EQ(SendMessageW(date, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_NONE);

    // The user's change: the time picker sets the time of day and keeps
    // the date the model held; unticking clears the value.
    HWND time = Native(form.dtpScheduleTime);
    form.dtpScheduleTime.SetValue(DateTime{2024, 5, 17, 8, 0, 0});
    window.SyncAll();
    int timeChanges = 0;
    form.dtpScheduleTime.onChange = [&] { ++timeChanges; };
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = time;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(time));
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st.wYear = 1999;
    change.st.wMonth = 1;
    change.st.wDay = 1;
    change.st.wHour = 21;
    change.st.wMinute = 30;
    SendMessageW(GetParent(time), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(form.dtpScheduleTime.Value(), (DateTime{2024, 5, 17, 21, 30, 0}));
    change.dwFlags = GDT_NONE;
    SendMessageW(GetParent(time), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_FALSE(form.dtpScheduleTime.Value().has_value());
    EXPECT_EQ(timeChanges, 2);
}

TEST_F(MainWindowInProcess, TheMenuBarIsBuiltFromTheMenuItemsAndRunsTheirClicks) {
    HMENU bar = GetMenu(window.Hwnd());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 6);
    wchar_t caption[64] = {};
    GetMenuStringW(bar, 1, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"&Settings");
    HMENU file = GetSubMenu(bar, 0);
    EXPECT_EQ(GetMenuItemCount(file), 9);  // five commands, four separators
    EXPECT_EQ(GetMenuItemID(file, 1), 0u);  // a separator

    int schedules = 0;
    form.mnuSettingsItem[2].onClick = [&] { ++schedules; };
    const UINT command = GetMenuItemID(GetSubMenu(bar, 1), 2);
    SendMessageW(window.Hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    EXPECT_EQ(schedules, 1);

    // A renamed item shows in a rebuilt bar.
    form.mnuExit.SetCaption("Quit");
    window.SyncAll();
    file = GetSubMenu(GetMenu(window.Hwnd()), 0);
    GetMenuStringW(file, 8, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Quit");
}

TEST_F(MainWindowInProcess, TimersTickAtTheirIntervalOnlyWhileEnabledEvenWhileTheQueueIsBusy) {
    int ticks = 0;
    form.tmrScroll.onTick = [&] { ++ticks; };
    form.tmrScroll.SetInterval(20);
    window.SyncAll();
    PumpMessagesFor(400);
    EXPECT_GT(ticks, 2);

    form.tmrScroll.SetEnabled(false);
    window.SyncAll();
    PumpMessagesFor(50);
    const int stopped = ticks;
    PumpMessagesFor(300);
    EXPECT_EQ(ticks, stopped);

    // A tick that switches its own timer off is its last.
    form.tmrScroll.onTick = [&] {
        ++ticks;
        form.tmrScroll.SetEnabled(false);
    };
    form.tmrScroll.SetEnabled(true);
    window.SyncAll();
    PumpMessagesFor(300);
    EXPECT_EQ(ticks, stopped + 1);

    // A queue that is empty only now and then, each message followed by a
    // sync as in a scan's pump: a due tick comes at the next moment the
    // queue is empty.
    form.tmrScroll.onTick = [&] { ++ticks; };
    form.tmrScroll.SetEnabled(true);
    const int busy = ticks;
    MSG message;
    for (int round = 1; round <= 300; ++round) {
        PostMessageW(window.Hwnd(), WM_NULL, 0, 0);
        PostMessageW(window.Hwnd(), WM_NULL, 0, 0);
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        window.SyncAll();
        if (round % 10 == 0) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
        Sleep(1);
    }
    EXPECT_GT(ticks, busy + 2);
}

TEST_F(MainWindowInProcess, AFailingHandlerStaysInsideTheWindowAndItsChangesStillShow) {
    form.cmdLog.onClick = [&] {
        form.lblStatus.SetCaption("before the failure");
        throw std::runtime_error("handler failed");
    };
    SendMessageW(Native(form.cmdLog), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(window.Hwnd()));
    EXPECT_EQ(WindowText(Native(form.lblStatus)), L"before the failure");
}

}  // namespace
}  // namespace bastion::uitest
