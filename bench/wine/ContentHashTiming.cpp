// Hashing a file for the content definitions against the two things its
// speed is bound by: a plain sequential read of the same bytes (with the
// same sharing, flags and piece size the hash reads with), and the same
// SHA-256 hashing bytes already in memory, on the real Win32 file system
// under Wine.
//
//   ContentHashTiming make PATH MIB   writes a file of MIB MiB
//   ContentHashTiming read PATH       one plain read, prints "read MS"
//   ContentHashTiming hash PATH       one hash, prints "hash MS"
//   ContentHashTiming inturn PATH     one hash reading and hashing each
//                                     piece in turn on one thread, as the
//                                     hash did before it read ahead;
//                                     prints "inturn MS"
//   ContentHashTiming memory MIB      hashes MIB MiB in memory, rounds;
//                                     prints "memory MS" (the median)
//   ContentHashTiming cached PATH     rounds of the read, the hash and the
//                                     memory hash from the system's cache,
//                                     and their medians
//
// ContentHashCold.sh drops the file from the host's cache before each
// single read or hash, as a file met for the first time is read.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "WineTiming.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WindowsApi.h"

namespace {

using namespace bastion;

constexpr std::size_t kPiece = platform::kContentHashPiece;
constexpr int kRounds = 15;

// One buffer for the reads of the process, as the hash keeps its pieces.
std::vector<char>& ReadBuffer() {
    static std::vector<char> buffer(kPiece);
    return buffer;
}

std::uint64_t PlainRead(const std::string& path) {
    win32::UniqueHandle file(::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0;
    std::vector<char>& buffer = ReadBuffer();
    std::uint64_t total = 0;
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
        total += read;
    }
    return total;
}

// Each piece read, then hashed, on one thread.
bool HashInTurn(const std::string& path) {
    win32::UniqueHandle file(::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<char>& buffer = ReadBuffer();
    win32::Sha256Stream stream;
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
        stream.Add(buffer.data(), read);
    }
    return stream.Finish().has_value();
}

bool Hash(win32::Win32FileSystem& files, const std::string& path) {
    return files.ContentSha256(path, nullptr, nullptr).end == platform::ContentHashEnd::Hashed;
}

// The bytes, made once and touched, hashed piece by piece as a file's are.
double MemoryHashMs(const std::string& bytes) {
    return bench::Milliseconds([&] {
        win32::Sha256Stream stream;
        for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
            stream.Add(bytes.data() + at, std::min(kPiece, bytes.size() - at));
        }
        stream.Finish();
    });
}

std::string MadeBytes(std::size_t mib) {
    std::string bytes(mib * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    return bytes;
}

double MedianMemoryMs(const std::string& bytes) {
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) rounds.push_back(MemoryHashMs(bytes));
    return bench::Median(rounds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ContentHashTiming make PATH MIB | read PATH | hash PATH | memory MIB | cached PATH\n");
        return 1;
    }
    const std::string mode = argv[1];
    win32::Win32FileSystem files;
    if (mode == "memory") {
        const std::string bytes = MadeBytes(static_cast<std::size_t>(std::atoi(argv[2])));
        std::printf("memory %.1f\n", MedianMemoryMs(bytes));
        return 0;
    }
    const std::string path = argv[2];
    if (mode == "make") {
        const std::size_t mib = argc > 3 ? static_cast<std::size_t>(std::atoi(argv[3])) : 256;
        return files.WriteFile(path, MadeBytes(mib)) ? 0 : 1;
    }
    const double mib = static_cast<double>(files.FileSize(path).value_or(0)) / (1024.0 * 1024.0);
    if (mode == "read" || mode == "hash" || mode == "inturn") {
        // As in a scan, which has hashed files before: the reader thread
        // and its pieces are there (a fresh page costs more under Wine than
        // its read), and so is the read buffer. The file itself was never
        // read.
        const std::string warmUp = path + ".warm";
        files.WriteFile(warmUp, MadeBytes(3));
        Hash(files, warmUp);
        PlainRead(warmUp);
        HashInTurn(warmUp);
        files.DeleteFile(warmUp);
        bool ok = true;
        const double ms = bench::Milliseconds([&] {
            ok = mode == "read" ? PlainRead(path) > 0 : mode == "hash" ? Hash(files, path) : HashInTurn(path);
        });
        std::printf("%s %.1f\n", mode.c_str(), ms);
        return ok ? 0 : 1;
    }
    const std::string bytes = MadeBytes(static_cast<std::size_t>(mib));
    std::vector<double> reads, hashes, memories;
    const std::function<void()> timed[] = {
        [&] { reads.push_back(bench::Milliseconds([&] { PlainRead(path); })); },
        [&] { hashes.push_back(bench::Milliseconds([&] { Hash(files, path); })); },
        [&] { memories.push_back(MemoryHashMs(bytes)); },
    };
    for (int round = 0; round < kRounds; ++round) {
        // Each goes first in turn, so that all meet the same load.
        for (int k = 0; k < 3; ++k) timed[(round + k) % 3]();
    }
    // The fastest round is the one other work on the machine took least from.
    auto fastest = [](const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); };
    std::printf("%.0f MiB from the system's cache, %d rounds      median              fastest\n", mib, kRounds);
    for (const auto& [name, values] : {std::pair{"plain read ", &reads}, std::pair{"memory hash", &memories},
                                       std::pair{"cached hash", &hashes}}) {
        std::printf("  %s  %8.1f ms %6.0f MiB/s  %8.1f ms %6.0f MiB/s\n", name, bench::Median(*values),
                    mib / bench::Median(*values) * 1000, fastest(*values), mib / fastest(*values) * 1000);
    }
    std::printf("cached hash / memory hash: %.3f (fastest rounds: %.3f)\n", bench::Median(memories) / bench::Median(hashes),
                fastest(memories) / fastest(hashes));
    return 0;
}
