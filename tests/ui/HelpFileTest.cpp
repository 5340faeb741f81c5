// Help > "View Help" opens the help file built beside the program in the
// system's help viewer (hh.exe under Wine), which shows the file's title.
#include "DataFolderFixture.h"
#include "Screenshot.h"

namespace bastion::uitest {
namespace {

// A visible top-level window of any program with that caption.
HWND FindTopLevel(const std::wstring& caption) {
    struct Search {
        std::wstring caption;
        HWND found = nullptr;
    } search{caption};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(context);
            if (IsWindowVisible(window) && WindowText(window) == wanted->caption) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class HelpFile : public DataFolderFixture {
protected:
    HelpFile() : DataFolderFixture("help") {}
};

TEST_F(HelpFile, ViewHelpOpensTheCompiledFileInTheHelpViewer) {
    const std::string product = build::kProductName;
    const std::wstring caption = std::wstring(product.begin(), product.end()) + L" Help";
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND,
                 MAKEWPARAM(MenuCommand([](ui::FrmMain& m) -> ui::MenuItem& { return m.mnuViewHelp; }), 0), 0);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (viewer = FindTopLevel(caption)) != nullptr; }, 30000))
        << "no help viewer appeared";
    // Wine draws the page only where its HTML engine is installed; the
    // viewer's caption comes from the compiled file itself.
    Sleep(500);
    SaveScreenshot(viewer, "help");
    // The viewer is not the program's: left running, it would hold the
    // test's output open and the run would never end.
    DWORD viewerId = 0;
    GetWindowThreadProcessId(viewer, &viewerId);
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    if (!WaitFor([&] { return !IsWindow(viewer); }, 10000)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, viewerId)) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace bastion::uitest
