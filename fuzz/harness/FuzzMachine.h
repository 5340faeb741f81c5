// The machine a fuzz target works on: the scan harness of the tests (the
// fakes of a Windows XP machine with its usual folders, the scan state with a
// scan begun, the tables and lists), with a few things planted that
// definitions name, so that parsed lines also reach the code that acts on a
// hit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/dialogs/Dialogs.h"
#include "support/ScanHarness.h"

namespace bastion::fuzz {

class FuzzMachine : public testing::ScanHarness {
public:
    // Plants the files, folders, registry keys and processes that the seeds
    // name, protects a few of them and excludes one; a scan is in progress.
    FuzzMachine();

    // The input as the definition file stores it: each of its lines (the
    // system code-page bytes, as they are before the shift) shifted, CR LF
    // after each. Written to the data folder.
    void WriteDefinitionFile(std::string_view file, std::string_view lines);
};

// Message boxes take the answer that changes nothing; the file and folder
// dialogs are cancelled.
class UnattendedDialogs final : public services::Dialogs {
public:
    services::MsgResult MessageBox(const std::string& text, const std::string& title, services::MsgButtons buttons,
                             services::MsgIcon icon) override;
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> BrowseFolder(const std::string&) override { return std::nullopt; }
};

}  // namespace bastion::fuzz
