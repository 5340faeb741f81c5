// A program file's bytes through the version-resource company-name reader.
// Read in windows of any size, the file must give the company a search of
// the whole file in memory gives.
#include "harness/FuzzTarget.h"
#include "scan/files/CompanyName.h"
#include "support/FakeFileSystem.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::FakeFileSystem files;
    const std::string path = "C:\\program.exe";
    files.WriteFile(path, std::string(fuzz::AsBytes(data, size)));
    auto companyIn = [&](std::size_t chunkSize) {
        std::unique_ptr<platform::FileReader> reader = files.OpenForRead(path);
        FUZZ_CHECK(reader != nullptr);
        return FindCompanyNameBytes(*reader, chunkSize);
    };
    const std::string whole = companyIn(size + 1);
    for (std::size_t chunkSize : {std::size_t{1}, std::size_t{7}, std::size_t{64}}) {
        FUZZ_CHECK(companyIn(chunkSize) == whole);
    }
    IsMicrosoftCompany(GetFileCompanyName(files, Windows1252(), path));
    return 0;
}
