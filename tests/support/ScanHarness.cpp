#include "support/ScanHarness.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"

namespace bastion::testing {

namespace {

std::string Utf16(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// A version-resource string entry: type word 1, key, NUL, value, NUL.
std::string Entry(std::string_view key, std::string_view value) {
    return std::string("\x01\0", 2) + Utf16(key) + std::string(2, '\0') + Utf16(value) + std::string(2, '\0');
}

}  // namespace

ScanHarness::ScanHarness() {
    machine.CreateSpecialFolders();
    tokens = PathTokens::Resolve(machine.shell);
    dataFolder = DataFolder(tokens);
    machine.files.CreateFolder(dataFolder);
}

void ScanHarness::Use64BitWindows() {
    machine.shell.Use64BitWindows();
    machine.CreateSpecialFolders();
    tokens = PathTokens::Resolve(machine.shell);
}

ScanContext ScanHarness::Context() {
    return ScanContext{machine.files, Windows1252(),    machine.system, dataFolder,        tokens,
                       safety,        exclusions,       state,          pump,              tables,
                       machine.registry, machine.shell, machine.processes};
}

void ScanHarness::WriteDefinitions(std::string_view file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += EncodeDefinitionLine(Windows1252(), line);
        bytes += "\r\n";
    }
    machine.files.WriteFile(DataFilePath(dataFolder, file), bytes);
}

std::vector<std::string> ScanHarness::Rows(const ui::ListView& list) {
    std::vector<std::string> rows;
    for (const ui::ListItem& item : list.Rows()) {
        std::string row = item.text;
        for (const std::string& sub : item.subItems) row.append("|").append(sub);
        row.append("#").append(ToDecimal(item.smallIcon)).append("/").append(ToDecimal(item.icon));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string ProgramWithCompany(std::string_view company) {
    std::string bytes = "MZ";
    bytes += std::string(60, '\x90');
    bytes += std::string("\x01\0", 2) + Utf16("StringFileInfo") + std::string(2, '\0');
    bytes += std::string("\x01\0", 2) + Utf16("040904b0") + std::string(2, '\0');
    bytes += Entry("CompanyName", company);
    bytes += Entry("FileDescription", "Some program");
    bytes += Entry("ProductName", "Some product");
    bytes += std::string(16, '\0');
    return bytes;
}

}  // namespace bastion::testing
