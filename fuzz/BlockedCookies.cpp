// "BlockedCookies.dat": the lines as the blocked domain list of a cookie
// scan, over a cookie folder of named and randomly named cookie files.
#include "harness/FuzzTarget.h"
#include "definitions/DataFiles.h"
#include "platform/Shell.h"
#include "scan/cookies/MCookies.h"
#include "harness/FuzzMachine.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzMachine machine;
    const std::string cookies = *machine.machine.shell.SpecialFolderPath(platform::csidl::kCookies);
    machine.machine.files.AddFile(cookies + "\\user@ads.example.com[1].txt",
                                  "id\r\n42\r\nads.example.com/\r\n1024\r\n1\r\n2\r\n3\r\n4\r\n*\r\n");
    machine.machine.files.AddFile(cookies + "\\user@www.tracker.net(2).txt", "id,1,www.tracker.net/path,0\r\n");
    machine.machine.files.AddFile(cookies + "\\K2Q8ZT1A.txt",
                                  "uid\r\n7\r\n.counter.example.org/\r\n9728\r\n1\r\n2\r\n3\r\n4\r\n*\r\n");
    machine.machine.files.AddFile(cookies + "\\index.dat", std::string("Client UrlCache MMF\0\x01\x02", 22));
    machine.WriteDefinitionFile(datafile::kBlockedCookies, fuzz::AsBytes(data, size));
    std::int32_t examined = 0;
    ScanContext context = machine.Context();
    ScanCookies(context, examined);
    FUZZ_CHECK(examined == 4);
    return 0;
}
