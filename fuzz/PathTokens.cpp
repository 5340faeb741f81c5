// Path-token expansion on any text, on a machine whose special folders the
// input may move: a line "@N PATH" puts the folder with identifier N at
// PATH (no PATH: the shell names no folder for it); every other line is
// expanded as the readers expand definition folders.
#include "harness/FuzzTarget.h"
#include "common/Lines.h"
#include "common/Text.h"
#include "definitions/PathTokens.h"
#include "support/FakeShell.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::FakeShell shell;
    std::vector<std::string> texts;
    for (const std::string& line : SplitLines(fuzz::AsBytes(data, size))) {
        long long csidl = -1;
        const std::size_t space = line.find(' ');
        // A count past the end takes the rest: "@N" alone names the number.
        if (StartsWith(line, "@") && ParseWholeNumber(std::string_view(line).substr(1, space - 1), csidl) &&
            csidl >= 0 && csidl < 64) {
            if (space == std::string::npos) {
                shell.RemoveFolder(static_cast<int>(csidl));
            } else {
                shell.SetFolder(static_cast<int>(csidl), line.substr(space + 1));
            }
        } else {
            texts.push_back(line);
        }
    }
    const PathTokens tokens = PathTokens::Resolve(shell);
    for (std::string& text : texts) {
        const std::string expanded = tokens.Expand(text);
        const std::string withDrive = tokens.ExpandWithDriveRoot(text);
        // Text without tokens comes back as it was.
        if (!Contains(text, "[")) FUZZ_CHECK(expanded == text && withDrive == text);
        // A path keeps no doubled backslash, but the two that open a share.
        FUZZ_CHECK(tokens.PathPlaces(text).front().find("\\\\", 1) == std::string::npos);
        ExpandPathTokens(text, tokens);
    }
    return 0;
}
