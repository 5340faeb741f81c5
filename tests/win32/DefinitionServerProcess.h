// The reference definition server (the host program the build made) run by
// a Wine test: its own change-set folder and a free port on 127.0.0.1,
// stopped when the test ends (and after five minutes in any case). Wine
// starts a host program as it starts a Windows one; the folders are host
// folders, reached through drive Z:.
#pragma once

#include <string>
#include <vector>

#include "WineTestSupport.h"
#include "common/Lines.h"
#include "common/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Internet.h"

namespace bastion::win32::test {

// "Z:\..." for a host path.
inline std::string HostPathOnZ(const std::string& hostPath) { return "Z:" + ReplaceAll(hostPath, "/", "\\"); }

class DefinitionServerProcess {
public:
    DefinitionServerProcess() {
        host_ = std::string(BASTION_WINE_SCRATCH) + "/" + UniqueName("defserver_");
        files_.CreateFolder(HostPathOnZ(host_ + "/changes"));
        std::wstring command = L"\"" + Widen(HostPathOnZ(BASTION_DEFSERVER)) + L"\" serve --changes \"" +
                               Widen(host_ + "/changes") + L"\" --port 0 --port-file \"" + Widen(host_ + "/port") +
                               L"\" --request-log \"" + Widen(host_ + "/requests.log") + L"\" --feedback \"" +
                               Widen(host_ + "/feedback.sqlite") + L"\" --lifetime 300 --test-control";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            return;
        }
        UniqueHandle process(info.hProcess);
        UniqueHandle thread(info.hThread);
        for (int i = 0; i < 200 && port_.empty(); ++i) {
            if (auto text = files_.ReadFile(HostPathOnZ(host_ + "/port")); text && EndsWith(*text, "\n")) {
                port_ = Trim(RemoveChars(*text, "\r\n"));
            } else {
                ::Sleep(50);
            }
        }
    }
    ~DefinitionServerProcess() {
        if (!port_.empty()) Win32Internet().Get(Base() + "test/stop");
        files_.DeleteFolderTree(HostPathOnZ(host_));
    }
    DefinitionServerProcess(const DefinitionServerProcess&) = delete;
    DefinitionServerProcess& operator=(const DefinitionServerProcess&) = delete;

    bool Running() const { return !port_.empty(); }
    // "http://127.0.0.1:PORT/", or with "misbehave/MODE/" after it.
    std::string Base(const std::string& misbehaviour = "") const {
        return "http://127.0.0.1:" + port_ + "/" + (misbehaviour.empty() ? "" : "misbehave/" + misbehaviour + "/");
    }

    // Writes a change set (lines joined with line ends) into the log.
    void Publish(const std::string& name, const std::vector<std::string>& lines) {
        files_.WriteFile(HostPathOnZ(host_ + "/changes/" + name + ".changes"), JoinLinesCrLf(lines));
    }
    // The requests since the last call, each its path and query.
    std::vector<std::string> TakeRequests() {
        const std::string path = HostPathOnZ(host_ + "/requests.log");
        std::vector<std::string> lines = SplitLines(files_.ReadFile(path).value_or(""));
        files_.DeleteFile(path);
        return lines;
    }

private:
    Win32FileSystem files_;
    std::string host_;
    std::string port_;
};

}  // namespace bastion::win32::test
