// Bastion.exe talking to a definition server that takes the connection and
// never answers: the main window answers every message within a quarter of
// a second all along, and the progress window's Cancel, or closing the
// program, ends the update without waiting for the server.
#include <winsock2.h>

#include "DataFolderFixture.h"
#include "Screenshot.h"
#include "services/settings/SettingKeys.h"

namespace bastion::uitest {
namespace {

// Connections go into its backlog and are never accepted nor answered.
class SilentServer {
public:
    SilentServer() {
        WSADATA data{};
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::listen(socket_, 8) == 0 && ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~SilentServer() {
        if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
        if (started_) ::WSACleanup();
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    bool Listening() const { return port_ != 0; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
    unsigned short port_ = 0;
};

class NetworkWaitTest : public DataFolderFixture {
protected:
    NetworkWaitTest() : DataFolderFixture("network_wait") {}
    ~NetworkWaitTest() override { settings.Write(services::settings::kDefinitionServer, ""); }

    // The visible window of the program with a "Cancel" button: the
    // progress window.
    HWND ProgressWindow(DWORD processId, HWND main) {
        struct Search {
            DWORD processId;
            HWND main;
            HWND found = nullptr;
        } search{processId, main};
        EnumWindows(
            [](HWND window, LPARAM context) -> BOOL {
                auto* wanted = reinterpret_cast<Search*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != wanted->processId || window == wanted->main || !IsWindowVisible(window) ||
                    !FindDescendant(window, L"Button", L"Cancel")) {
                    return TRUE;
                }
                wanted->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Whether the main window answered every message sent to it while
    // probing for the given time. A window busy in the network request
    // would answer none; a loaded machine may answer late, so each probe
    // waits generously.
    static bool AnswersThroughout(HWND window, DWORD milliseconds) {
        const ULONGLONG until = GetTickCount64() + milliseconds;
        int answers = 0;
        while (GetTickCount64() < until || answers < 3) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) return false;
            ++answers;
            Sleep(40);
        }
        return true;
    }
};

TEST_F(NetworkWaitTest, TheWindowAnswersWhileTheServerDoesNotAndCancelOrExitEndTheWait) {
    SilentServer server;
    ASSERT_TRUE(server.Listening());
    settings.Write(services::settings::kDefinitionServer, server.Base());
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);

    PostMessageW(Button(window, L"Update Now"), BM_CLICK, 0, 0);
    HWND progress = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (progress = ProgressWindow(program.ProcessId(), window)) != nullptr; }, 10000));
    EXPECT_TRUE(AnswersThroughout(window, 2000));
    EXPECT_TRUE(SaveScreenshot(progress, "update-waiting-for-server"));

    // Cancel ends the update long before the request's own 30 seconds.
    // (How fast it shows is the window system's: here, without a window
    // manager, hiding the progress window and taking its icon away cost
    // Wine some seconds; the Wine tests time the request's end itself.)
    SendMessageTimeoutW(FindDescendant(progress, L"Button", L"Cancel"), BM_CLICK, 0, 0, SMTO_NORMAL, 1000, nullptr);
    HWND again = Button(window, L"Run Live Update Now");
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(again) != FALSE; }, 10000)) << "the update ended";
    EXPECT_FALSE(IsWindowVisible(progress));

    // Closed while a second update waits: the program does not wait for
    // the server.
    PostMessageW(Button(window, L"Update Now"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ProgressWindow(program.ProcessId(), window) != nullptr; }, 10000));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(15000), 0u);
}

}  // namespace
}  // namespace bastion::uitest
