// A removal through Bastion.exe's window: "Repair Now" asks; a file another
// program holds open survives, and so does one that cannot be read (so not
// copied) though it could be deleted; both are listed in "Delete Failed",
// whose "Copy List" puts them on the clipboard; their rows stay on the
// results page, which says what could not be removed. Once free, the file is removed and the
// restore window lists it. Saves screenshots of those windows. A file set to
// be deleted at the next restart and then restored stays.
#include <gtest/gtest.h>

#include <algorithm>

#include "DataFolderFixture.h"
#include "Screenshot.h"
#include "platform/win32/Handles.h"

namespace bastion::uitest {
namespace {

class RemovalFromWindowTest : public DataFolderFixture {
protected:
    RemovalFromWindowTest() : DataFolderFixture("window_removal") {
        for (const char* part : {"chkScanCookies", "chkSweepMemory", "chkScanRegistry"}) {
            settings.WriteSetting("OptionAndSettings", part, "0");
        }
        // The memory shield's look at the running programs lets window
        // messages through while it holds the program's one operation: a
        // command taken then is not carried out. These tests leave it off.
        settings.WriteSetting("OptionAndSettings", "optMemorySheildOn", "False");
    }
    ~RemovalFromWindowTest() override {
        for (const char* part : {"chkScanCookies", "chkSweepMemory", "chkScanRegistry"}) {
            settings.WriteSetting("OptionAndSettings", part, "1");
        }
        settings.WriteSetting("OptionAndSettings", "optMemorySheildOn", "True");
        files.DeleteFolderTree(dataFolder + "\\quarantine");
    }

    void Scan(HWND window) {
        SendMessageW(Button(window, L"Scan"), BM_CLICK, 0, 0);
        PostMessageW(Button(window, L"Start"), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return FindDescendant(window, L"Static", L"Scanning complete.") != nullptr; }, 60000));
        SendMessageW(Button(window, L"Results/Removal"), BM_CLICK, 0, 0);
    }

    // Ticks everything and presses Repair Now, answering Yes.
    void Repair(const StartedProgram& program, HWND window) {
        SendMessageW(Button(window, L"Select All"), BM_CLICK, 0, 0);
        PostMessageW(Button(window, L"Repair Now"), BM_CLICK, 0, 0);
        HWND question = WaitForPopup(program, window, L"Really Delete?");
        ASSERT_NE(question, nullptr) << "no confirmation";
        PostMessageW(Button(question, L"&Yes"), BM_CLICK, 0, 0);
    }
};

TEST_F(RemovalFromWindowTest, AFileInUseIsListedCopiedAndKeptThenRemovedAndOfferedForRestore) {
    const std::string planted = scratch + "\\held_spy.exe";
    const std::string unreadable = scratch + "\\unreadable_spy.exe";
    ASSERT_TRUE(files.WriteFile(planted, "MZ held open"));
    ASSERT_TRUE(files.WriteFile(unreadable, "MZ not to be read"));
    WriteDefinitions("FileDefinition.dat", {"held_spy.exe=Held Spy|" + scratch + "|Adware",
                                            "unreadable_spy.exe=Unreadable Spy|" + scratch + "|Adware"});
    // Open without sharing deletion: nobody can delete it meanwhile.
    win32::UniqueHandle held(CreateFileW(win32::Widen(planted).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    // Open sharing deletion only: it cannot be copied, but could be deleted.
    win32::UniqueHandle unshared(CreateFileW(win32::Widen(unreadable).c_str(), GENERIC_READ, FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(unshared);

    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);
    Scan(window);
    Repair(program, window);
    HWND failed = WaitForPopup(program, window, L"Delete Failed");
    ASSERT_NE(failed, nullptr) << "no Delete Failed window";
    EXPECT_TRUE(SaveScreenshot(failed, "delete-failed"));
    SendMessageW(Button(failed, L"Copy List"), BM_CLICK, 0, 0);
    std::wstring clipboard;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            clipboard = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    EXPECT_EQ(clipboard, win32::Widen(planted) + L"\r\n" + win32::Widen(unreadable) + L"\r\n");
    // Posted, as a real click is: the window's modal loop ends at the next
    // message it takes.
    PostMessageW(Button(failed, L"Ok"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(failed) && IsWindowEnabled(window); }, 5000));

    EXPECT_TRUE(files.Lookup(planted).has_value());
    EXPECT_TRUE(files.Lookup(unreadable).has_value()) << "deleted without its copy";
    HWND results = FindListView(window, {L"File", L"Location", L"Type", L"Risk", L"Details"});
    ASSERT_EQ(ListViewItemCount(results), 2) << "the survivors keep their rows";
    // Under Wine no restore point can be made, which the same label says.
    const std::vector<HWND> labels = FindDescendants(window, L"Static");
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](HWND label) {
        return WindowText(label).starts_with(L"Items that could not be removed (they stay in the list): 2");
    }));
    EXPECT_TRUE(SaveScreenshot(window, "removal-failed-results"));

    // Free, it goes, and the restore window offers it.
    held.Reset();
    unshared.Reset();
    Repair(program, window);
    ASSERT_TRUE(WaitFor([&] { return !files.Lookup(planted).has_value(); }, 20000));
    ASSERT_TRUE(WaitFor([&] { return ListViewItemCount(results) == 0; }, 10000));
    const UINT restore = MenuCommand([](ui::FrmMain& model) -> ui::MenuItem& { return model.mnuQuarRestore; });
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(restore, 0), 0);
    HWND restoreWindow = WaitForPopup(program, window, L"Restore from Quarantine");
    ASSERT_NE(restoreWindow, nullptr) << "no restore window";
    HWND stored = FindListView(restoreWindow, {L"Date", L"Kind", L"Original Location"});
    ASSERT_EQ(ListViewItemCount(stored), 2);
    EXPECT_EQ(ListViewItemText(stored, 0, 2), win32::Widen(planted));
    EXPECT_TRUE(SaveScreenshot(restoreWindow, "restore-window"));
    PostMessageW(Button(restoreWindow, L"Close"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(restoreWindow); }, 5000));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

// The ticked box of the first row of a list view in the program: focused,
// then the space bar, as the keyboard ticks it.
void TickFirstRow(HWND list) {
    RemoteBuffer buffer(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    ASSERT_TRUE(buffer.Write(&item, sizeof(item)));
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(buffer.Address()));
    PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
}

// "Delete at next restart" and then a restore: the restore takes back the
// deletion that Windows would make at its next start, which would take the
// restored file again with its copy gone from the quarantine.
TEST_F(RemovalFromWindowTest, AFileSetToGoAtRestartIsPutBackForGood) {
    const std::string planted = scratch + "\\restart_spy.exe";
    ASSERT_TRUE(files.WriteFile(planted, "MZ restart"));
    WriteDefinitions("FileDefinition.dat", {"restart_spy.exe=Restart Spy|" + scratch + "|Adware"});
    win32::UniqueHandle held(CreateFileW(win32::Widen(planted).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const std::wstring product = win32::Widen(build::kProductName);

    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);
    Scan(window);
    Repair(program, window);
    HWND failed = WaitForPopup(program, window, L"Delete Failed");
    ASSERT_NE(failed, nullptr) << "no Delete Failed window";
    // Wine sets a deletion at restart only for a file nobody holds.
    held.Reset();
    PostMessageW(Button(failed, L"Delete at next restart"), BM_CLICK, 0, 0);
    HWND said = WaitForPopup(program, window, product);
    ASSERT_NE(said, nullptr);
    PostMessageW(Button(said, L"OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(said); }, 5000));
    ASSERT_TRUE(files.DeletePendingAtRestart(planted));
    PostMessageW(Button(failed, L"Ok"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(failed) && IsWindowEnabled(window); }, 5000));

    const UINT restore = MenuCommand([](ui::FrmMain& model) -> ui::MenuItem& { return model.mnuQuarRestore; });
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(restore, 0), 0);
    HWND restoreWindow = WaitForPopup(program, window, L"Restore from Quarantine");
    ASSERT_NE(restoreWindow, nullptr) << "no restore window";
    HWND stored = FindListView(restoreWindow, {L"Date", L"Kind", L"Original Location"});
    ASSERT_EQ(ListViewItemCount(stored), 1);
    TickFirstRow(stored);
    // The file is still there (Windows has not restarted): replace it.
    PostMessageW(Button(restoreWindow, L"Restore"), BM_CLICK, 0, 0);
    HWND question = WaitForPopup(program, window, product);
    ASSERT_NE(question, nullptr) << "no question before replacing";
    PostMessageW(Button(question, L"&Yes"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, 5000));
    HWND answer = WaitForPopup(program, window, product);
    ASSERT_NE(answer, nullptr);
    const std::vector<HWND> texts = FindDescendants(answer, L"Static");
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](HWND text) {
        return WindowText(text).find(L"Items put back: 1") != std::wstring::npos;
    }));
    PostMessageW(Button(answer, L"OK"), BM_CLICK, 0, 0);
    EXPECT_FALSE(files.DeletePendingAtRestart(planted)) << "the restored file would go at the next start";
    EXPECT_EQ(files.ReadFile(planted), "MZ restart");
    files.CancelDeleteAtRestart(planted);

    PostMessageW(Button(restoreWindow, L"Close"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(restoreWindow); }, 5000));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace bastion::uitest
