// The command line of the console scanner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"

namespace bastion::cli {

enum class Command { Scan, Update, Help, Version, QuarantineList, QuarantineRestore };

struct Arguments {
    Command command = Command::Scan;
    // The scan asked for; none before a command names one.
    std::optional<ScanKind> kind;
    // The file or folder of a File or Folder Scan.
    std::string path;
    // Options for this run only, never stored; the report is on unless
    // --no-report.
    ScanOptionOverrides overrides;
    // The progress line even when standard error is no terminal.
    bool forceProgress = false;
    // --remove: everything found is removed afterwards, without asking.
    bool remove = false;

    // quarantine restore: the items by id, or --all; an existing file is
    // replaced only with --overwrite, an item that affects every user put
    // back only with --machine-wide.
    std::vector<std::uint64_t> restoreIds;
    bool restoreAll = false;
    bool overwrite = false;
    bool machineWide = false;
};

struct ParsedArguments {
    Arguments arguments;
    // Empty when the command line is usable.
    std::string error;
    bool Ok() const { return error.empty(); }
};

// The arguments after the program name, as UTF-8.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

// What --help shows.
std::string_view HelpText();

}  // namespace bastion::cli
