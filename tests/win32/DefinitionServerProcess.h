// The reference definition server (the host program the build made) run by
// a Wine test: its own change-set folder and a free port on 127.0.0.1,
// stopped when the test ends (and after five minutes in any case), signing
// with a key the test made when it is given one. Wine starts a host program
// as it starts a Windows one; the folders are host folders, reached through
// drive Z:.
#pragma once

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "WineTestSupport.h"
#include "common/Base64.h"
#include "common/Lines.h"
#include "common/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Internet.h"

namespace bastion::win32::test {

// "Z:\..." for a host path.
inline std::string HostPathOnZ(const std::string& hostPath) { return "Z:" + ReplaceAll(hostPath, "/", "\\"); }

// A key pair the server signs with, made by "defserver keygen".
class DefinitionKey {
public:
    DefinitionKey() {
        pem_ = std::string(BASTION_WINE_SCRATCH) + "/" + UniqueName("key_") + ".pem";
        // Neither a host program's output nor its end reaches the Windows
        // side: the key is read from the file kept beside the private one,
        // once it is there whole.
        RunChild("\"" + HostPathOnZ(BASTION_DEFSERVER) + "\" keygen --out \"" + pem_ + "\"", 30000);
        Win32FileSystem files;
        for (int i = 0; i < 200 && publicKey_.empty(); ++i) {
            const std::string printed = files.ReadFile(HostPathOnZ(pem_ + ".pub")).value_or("");
            if (EndsWith(printed, "\n")) {
                publicKey_ = Base64Decode(Trim(RemoveChars(printed, "\r\n"))).value_or("");
            } else {
                ::Sleep(50);
            }
        }
    }
    ~DefinitionKey() {
        Win32FileSystem files;
        files.DeleteFile(HostPathOnZ(pem_));
        files.DeleteFile(HostPathOnZ(pem_ + ".pub"));
    }
    DefinitionKey(const DefinitionKey&) = delete;
    DefinitionKey& operator=(const DefinitionKey&) = delete;

    // The private key's file, as a host path.
    const std::string& Pem() const { return pem_; }
    // The 65 bytes the program holds; empty when the key was not made.
    const std::string& PublicKey() const { return publicKey_; }

private:
    std::string pem_;
    std::string publicKey_;
};

class DefinitionServerProcess {
public:
    explicit DefinitionServerProcess(const DefinitionKey* key = nullptr) {
        host_ = std::string(BASTION_WINE_SCRATCH) + "/" + UniqueName("defserver_");
        files_.CreateFolder(HostPathOnZ(host_ + "/changes"));
        std::wstring command = L"\"" + Widen(HostPathOnZ(BASTION_DEFSERVER)) + L"\" serve --changes \"" +
                               Widen(host_ + "/changes") + L"\" --languages \"" + Widen(host_ + "/languages") +
                               L"\" --port 0 --port-file \"" + Widen(host_ + "/port") +
                               L"\" --request-log \"" + Widen(host_ + "/requests.log") + L"\" --feedback \"" +
                               Widen(host_ + "/feedback.sqlite") + L"\" --lifetime 300 --test-control";
        if (key) command += L" --key \"" + Widen(key->Pem()) + L"\"";
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
    // Serves the text as the translation file of the branding number.
    void PublishLanguageFile(int brandingNumber, const std::string& text) {
        const std::string folder = host_ + "/languages/" + std::to_string(brandingNumber);
        files_.CreateFolder(HostPathOnZ(host_ + "/languages"));
        files_.CreateFolder(HostPathOnZ(folder));
        files_.WriteFile(HostPathOnZ(folder + "/Localization.txt"), text);
    }
    // The texts the server stored in a feedback table ("data" or
    // "false_positives"), row by row, exactly as they arrived.
    std::vector<std::string> StoredFeedback(const std::string& table) {
        const std::string answer = Win32Internet().Get(Base() + "test/feedback?table=" + table).body;
        std::vector<std::string> texts;
        for (std::size_t at = 0; at < answer.size();) {
            const std::size_t colon = answer.find(':', at);
            if (colon == std::string::npos) break;
            const std::size_t size = std::stoul(answer.substr(at, colon - at));
            texts.push_back(answer.substr(colon + 1, size));
            at = colon + 1 + size;
        }
        return texts;
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
