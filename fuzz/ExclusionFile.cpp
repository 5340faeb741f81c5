// "ENoSignature.dat" as the user may have edited it in Notepad: plain text
// in the system code page, read into the exclusion list. The list's answers
// must be those of the plain rule it stands for: the text split at "|",
// each piece compared with the candidate without regard to case (and, for a
// folder, searched for it).
#include "harness/FuzzTarget.h"
#include "common/Lines.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/Exclusions.h"
#include "harness/FuzzMachine.h"

using namespace bastion;

namespace {

bool PlainIsExcluded(const std::string& text, const std::string& candidate, bool folder) {
    const std::string upper = ToUpper(candidate);
    const std::string trimmed = Trim(upper);
    for (const std::string& piece : Split(text, "|")) {
        const std::string entry = ToUpper(piece);
        if (entry == upper || entry == trimmed) return true;
        if (folder && !upper.empty() && Contains(entry, upper)) return true;
    }
    return false;
}

void CheckAgainstPlainRule(const ExclusionList& list, const std::string& candidate) {
    if (list.Empty()) {
        FUZZ_CHECK(!list.IsExcluded(candidate) && !list.IsExcludedFolder(candidate));
        return;
    }
    FUZZ_CHECK(list.IsExcluded(candidate) == PlainIsExcluded(list.Text(), candidate, false));
    FUZZ_CHECK(list.IsExcludedFolder(candidate) == PlainIsExcluded(list.Text(), candidate, true));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzMachine machine;
    const ExclusionFile file{machine.machine.files, Windows1252(), machine.dataFolder};
    machine.machine.files.WriteFile(file.Path(), std::string(fuzz::AsBytes(data, size)));
    LoadExclusions(file, machine.pump, machine.exclusions);

    std::vector<std::string> candidates = {"", " ", "c:\\spy", "C:\\Spy\\x.exe", "c:\\spy\\x.exe.bak", "SPY"};
    for (const std::string& line : SplitLines(fuzz::AsBytes(data, size))) {
        const std::string text = Windows1252().ToUtf8(line);
        candidates.push_back(text);
        candidates.push_back(ToLower(text));
        candidates.push_back(" " + text + " ");
        candidates.push_back(text.substr(0, text.size() / 2));
    }
    for (const std::string& candidate : candidates) CheckAgainstPlainRule(machine.exclusions, candidate);
    return 0;
}
