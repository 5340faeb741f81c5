// The event pump dispatches what is waiting, at most every 15 ms when asked
// with Pump(), and leaves WM_QUIT for the main loop.
#include <gtest/gtest.h>

#include "ui/win32/Win32EventPump.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {
namespace {

constexpr UINT kPing = WM_APP + 1;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPing || message == WM_TIMER) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window that counts the kPing and WM_TIMER messages it
// receives.
class CountingWindow {
public:
    CountingWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = CountingProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BastionPumpTestWindow";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count_));
    }
    ~CountingWindow() { DestroyWindow(window_); }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    void Ping() { PostMessageW(window_, kPing, 0, 0); }
    HWND Hwnd() const { return window_; }
    int Count() const { return count_; }
    bool Created() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    int count_ = 0;
};

TEST(EventPumpWineTest, PumpDispatchesWhatWaitsButNotSoonerThanItsIntervalAfterARound) {
    CountingWindow window;
    ASSERT_TRUE(window.Created());
    Win32EventPump pump;
    int callbacks = 0;
    pump.SetAfterDispatch([&] { ++callbacks; });

    window.Ping();
    window.Ping();
    pump.PumpNow();
    EXPECT_EQ(2, window.Count());
    EXPECT_GE(callbacks, 3) << "once for the round, once per message";

    // Right after a round Pump() leaves the queue alone. Whether it came
    // "right after" is the clock's to say (a loaded machine may hold the
    // test longer than the interval), so it is asked, not assumed.
    const ULONGLONG before = GetTickCount64();
    pump.PumpNow();
    window.Ping();
    pump.Pump();
    if (GetTickCount64() - before < Win32EventPump::kIntervalMs) {
        EXPECT_EQ(2, window.Count()) << "too soon after the last round";
    }
    // Once the interval has passed, it dispatches what waits. The system's
    // tick count may advance late on a busy machine, so Pump() is asked
    // until then, with a generous deadline.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (window.Count() < 3 && GetTickCount64() < deadline) {
        Sleep(5);
        pump.Pump();
    }
    EXPECT_EQ(3, window.Count());
}

TEST(EventPumpWineTest, QuitIsLeftForTheMainLoop) {
    CountingWindow window;
    Win32EventPump pump;
    window.Ping();
    PostQuitMessage(7);
    pump.PumpNow();
    EXPECT_EQ(1, window.Count());
    EXPECT_TRUE(pump.Quitting());

    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
    EXPECT_EQ(7u, message.wParam);
}

TEST(EventPumpWineTest, WaitForEventsDispatchesWhatArrivesAndEndsAtQuit) {
    CountingWindow window;
    Win32EventPump pump;
    // A wait returns once something arrived and was dispatched; what else
    // the system posts meanwhile may end a wait first, so the test waits
    // until the timer's tick came, with a generous deadline.
    SetTimer(window.Hwnd(), 1, 100, nullptr);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (window.Count() == 0 && GetTickCount64() < deadline) pump.WaitForEvents();
    KillTimer(window.Hwnd(), 1);
    EXPECT_GE(window.Count(), 1);

    PostQuitMessage(3);
    pump.WaitForEvents();
    EXPECT_TRUE(pump.Quitting());
    // Once the program is quitting a wait returns at once, the quit left
    // for the main loop.
    pump.WaitForEvents();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace bastion::win32
