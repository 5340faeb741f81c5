// The replay runner: a fuzz target built without the fuzzing engine runs
// every file it is given (folders are read in name order) as one input, so
// that the seeds and every crash input kept become a regression test of the
// ordinary builds. Exits 0 when all ran; a fault ends it as it would end the
// fuzzer.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness/FuzzTarget.h"

namespace {

namespace fs = std::filesystem;

bool RunFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path given(argv[i]);
        std::error_code error;
        if (fs::is_directory(given, error)) {
            std::vector<fs::path> inputs;
            for (const fs::directory_entry& entry : fs::directory_iterator(given)) {
                if (entry.is_regular_file()) inputs.push_back(entry.path());
            }
            std::sort(inputs.begin(), inputs.end());
            for (const fs::path& input : inputs) {
                ok = RunFile(input) && ok;
                ++replayed;
            }
        } else if (fs::exists(given, error)) {
            ok = RunFile(given) && ok;
            ++replayed;
        }
        // A folder of kept crash inputs that is still empty need not exist.
    }
    std::printf("%d inputs replayed\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
