#include "cli/CliArguments.h"

#include "common/Text.h"
#include "scan/walk/FolderListers.h"

namespace bastion::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: bastion-scan COMMAND [OPTIONS]\n"
    "\n"
    "Scans this machine with the definitions of the installed program, as its Start\n"
    "button does, without a window.\n"
    "\n"
    "Commands:\n"
    "  smart           Smart Scan: cookies, running programs, registry and the places\n"
    "                  the definitions name\n"
    "  full            Full System Scan: every ticked drive of the drive list, then\n"
    "                  running programs and registry\n"
    "  file PATH       File Scan of one file\n"
    "  folder PATH     Folder Scan of a folder and everything below it\n"
    "                  (one path each: no wildcards; short 8.3 names are matched\n"
    "                  as their long form)\n"
    "  update          Live Update: fetch and apply the definitions that are newer\n"
    "                  than the installed ones from the definition server\n"
    "  quarantine list           one line per item the quarantine holds: id, date,\n"
    "                            kind and original location, tab-separated\n"
    "  quarantine restore ID...  put the items back where they were removed from\n"
    "                            (--all: every item; an existing file is replaced only\n"
    "                            with --overwrite; an item that goes back to the\n"
    "                            Windows or program folders, the machine's shared data\n"
    "                            or the registry outside HKEY_CURRENT_USER only with\n"
    "                            --machine-wide)\n"
    "  --help          show this text\n"
    "  --version       show the product name, version, company and website\n"
    "\n"
    "Options, for this run only (the stored options stay as they are):\n"
    "  --no-cookies    leave out the cookie scan\n"
    "  --no-processes  leave out the scan of running programs\n"
    "  --no-registry   leave out the registry scan\n"
    "  --no-report     write no scan report (otherwise Scan_Log.txt in the data\n"
    "                  folder is replaced, as the program does when \"Save scan\n"
    "                  results to log\" is on, whatever that option says)\n"
    "  --progress      show the progress line even when standard error is no terminal\n"
    "  --threads N     list folders with N threads, 1 to 4 (1: one thread, for slow\n"
    "                  network drives; otherwise as the program's option says: as\n"
    "                  many as the processor runs at once, at most 4, or one)\n"
    "  --remove        remove everything the scan found, without asking, as the\n"
    "                  automatic removal after a scheduled scan does: each item is\n"
    "                  kept in the quarantine (registry entries backed up) first\n"
    "\n"
    "On a terminal a progress line on standard error shows the phase, the percentages\n"
    "and the item being examined; Ctrl+C or Ctrl+Break stops the scan as its Stop\n"
    "button does. After the scan each detection is written to standard output as one\n"
    "line of tab-separated fields (threat name, location, type, risk), followed by the\n"
    "counters and the result. Running threats found by the process scan are stopped;\n"
    "their line says whether they were (\"was stopped\", \"could not be stopped\").\n"
    "Nothing is removed unless --remove is given; then one line per item follows,\n"
    "\"removed\", \"not found\" or \"failed\", a tab and its location, and where there\n"
    "is more to say a tab and that (\"a part of Windows; not removed\", \"set back to\n"
    "the Windows default\"). Questions the scan would ask are answered No; messages\n"
    "go to standard error.\n"
    "\n"
    "An update shows its progress on standard error and its result on standard\n"
    "output.\n"
    "\n"
    "Exit status:\n"
    "  0  the scan completed and found nothing; the definitions are up to date or\n"
    "     were updated\n"
    "  1  the scan completed and found threats (with --remove: and removed them all)\n"
    "  2  error: bad command line, missing definition files, no such file or\n"
    "     folder, the scan was cancelled, a running threat could not be stopped,\n"
    "     or an item could not be removed (or was no longer there); the\n"
    "     definitions could not be downloaded or applied\n"
    "quarantine restore: 0 when every item came back, 2 otherwise.\n";

bool SetOption(std::string_view option, Arguments& arguments) {
    if (option == "--no-cookies") {
        arguments.overrides.scanCookies = false;
    } else if (option == "--no-processes") {
        arguments.overrides.sweepMemory = false;
    } else if (option == "--no-registry") {
        arguments.overrides.scanRegistry = false;
    } else if (option == "--no-report") {
        arguments.overrides.makeLog = false;
    } else if (option == "--progress") {
        arguments.forceProgress = true;
    } else if (option == "--remove") {
        arguments.remove = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

namespace {

// quarantine list | restore ID... [--all] [--overwrite] [--machine-wide]
ParsedArguments ParseQuarantine(const std::vector<std::string>& arguments, std::size_t next) {
    ParsedArguments parsed;
    Arguments& result = parsed.arguments;
    if (next >= arguments.size() || (arguments[next] != "list" && arguments[next] != "restore")) {
        parsed.error = "quarantine needs list or restore";
        return parsed;
    }
    const bool list = arguments[next] == "list";
    result.command = list ? Command::QuarantineList : Command::QuarantineRestore;
    for (std::size_t i = next + 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        long long id = 0;
        if (!list && argument == "--all") {
            result.restoreAll = true;
        } else if (!list && argument == "--overwrite") {
            result.overwrite = true;
        } else if (!list && argument == "--machine-wide") {
            result.machineWide = true;
        } else if (!list && ParseWholeNumber(argument, id) && id > 0) {
            result.restoreIds.push_back(static_cast<std::uint64_t>(id));
        } else {
            parsed.error = "unexpected argument " + argument;
            return parsed;
        }
    }
    if (!list && !result.restoreAll && result.restoreIds.empty()) parsed.error = "restore needs an id or --all";
    return parsed;
}

}  // namespace

std::string_view HelpText() { return kHelp; }

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    Arguments& result = parsed.arguments;
    // A console scan leaves its report whatever the program's own log
    // option says, unless told not to.
    result.overrides.makeLog = true;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            result.command = Command::Help;
            return parsed;
        }
        if (argument == "--version") {
            result.command = Command::Version;
            return parsed;
        }
        if (argument == "quarantine" && i == 0) return ParseQuarantine(arguments, 1);
        if (SetOption(argument, result)) continue;
        if (argument == "--threads") {
            long long threads = 0;
            if (i + 1 >= arguments.size() || !ParseWholeNumber(arguments[i + 1], threads) || threads < 1 ||
                threads > kMostWalkThreads) {
                parsed.error = "--threads needs a number from 1 to " + std::to_string(kMostWalkThreads);
                return parsed;
            }
            result.overrides.walkThreads = static_cast<int>(threads);
            ++i;
            continue;
        }
        if (argument.size() > 1 && argument[0] == '-') {
            parsed.error = "unknown option " + argument;
            return parsed;
        }
        if (result.kind) {
            parsed.error = "unexpected argument " + argument;
            return parsed;
        }
        if (argument == "update") {
            result.command = Command::Update;
            result.kind = ScanKind::Smart;
        } else if (argument == "smart") {
            result.kind = ScanKind::Smart;
        } else if (argument == "full") {
            result.kind = ScanKind::FullSystem;
        } else if (argument == "file" || argument == "folder") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                parsed.error = argument + " needs a path";
                return parsed;
            }
            result.kind = argument == "file" ? ScanKind::File : ScanKind::Folder;
            result.path = arguments[++i];
        } else {
            parsed.error = "unknown command " + argument;
            return parsed;
        }
    }
    if (!result.kind) {
        parsed.error = "no scan chosen";
    }
    const ScanOptionOverrides& o = result.overrides;
    const bool scanOptions =
        o.scanCookies || o.sweepMemory || o.scanRegistry || o.makeLog == false || o.walkThreads.has_value();
    if (result.command == Command::Update && (scanOptions || result.forceProgress)) {
        parsed.error = "update takes no options";
    }
    return parsed;
}

}  // namespace bastion::cli
