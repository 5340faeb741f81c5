// "ContentDefinition.dat" as a definition server or a damaged disk may leave
// it: the lines into the content table, every line that parses found again
// by its size and hash, and a folder walk over files of the seeds' sizes.
#include "harness/FuzzTarget.h"

#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "harness/FuzzMachine.h"
#include "scan/content/ContentScan.h"
#include "scan/walk/Walker.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzMachine machine;
    machine.WriteDefinitionFile(datafile::kContentDefinitions, fuzz::AsBytes(data, size));
    // The test file and one of three bytes, which the seeds name.
    machine.machine.files.AddFile("C:\\Walked\\eicar.com",
                                  R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)");
    machine.machine.files.AddFile("C:\\Walked\\Sub\\abc.txt", "abc");
    ScanContext context = machine.Context();
    LoadContentDefinitions(context);
    const ContentTable& table = machine.tables.Content();

    std::size_t parsed = 0;
    ReadDefinitionLines(machine.machine.files, context.codePage,
                        DataFilePath(machine.dataFolder, datafile::kContentDefinitions), [&](const std::string& line) {
                            const std::optional<ContentLine> content = ParseContentDefinition(line);
                            if (!content) return true;
                            ++parsed;
                            FUZZ_CHECK(table.HasSize(content->size));
                            const std::optional<ContentTable::Match> match = table.Find(content->size, content->sha256);
                            FUZZ_CHECK(match.has_value() && !match->threat.empty());
                            FUZZ_CHECK(match->threat.find_first_of("|\r\n") == std::string_view::npos);
                            return true;
                        });
    FUZZ_CHECK(parsed == table.Size());

    ScanFolder(context, "C:\\Walked\\");
    return 0;
}
