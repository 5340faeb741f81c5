// A cookie file of the user's cookie folder: the input's first line is the
// file's name, the rest its content. Its domain is read from the name and
// from inside the file, and compared with a blocked list.
#include "harness/FuzzTarget.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/Shell.h"
#include "scan/cookies/MCookies.h"
#include "harness/FuzzMachine.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::AsBytes(data, size);
    const std::size_t lineEnd = input.find('\n');
    std::string name(input.substr(0, lineEnd));
    const std::string_view content = lineEnd == std::string_view::npos ? "" : input.substr(lineEnd + 1);
    // A name is one path part: no separators, no NULs, never empty.
    for (char& c : name) {
        if (c == '\\' || c == '/' || c == '\0') c = '_';
    }
    if (Trim(name).empty() || name == "." || name == "..") name = "cookie.txt";

    fuzz::FuzzMachine machine;
    machine.WriteDefinitionFile(datafile::kBlockedCookies, "ads.example.com\n*.tracker.net\ncounter.example.org");
    const std::string cookies = *machine.machine.shell.SpecialFolderPath(platform::csidl::kCookies);
    if (!machine.machine.files.WriteFile(cookies + "\\" + name, std::string(content))) return 0;
    std::int32_t examined = 0;
    ScanContext context = machine.Context();
    ScanCookies(context, examined);
    return 0;
}
