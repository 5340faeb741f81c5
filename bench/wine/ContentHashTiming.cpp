// Hashing a file for the content definitions against a plain sequential
// read of the same bytes, on the real Win32 file system under Wine: the
// read with the same sharing, flags and piece size the hash reads with.
//
//   ContentHashTiming make PATH MIB   writes a file of MIB MiB
//   ContentHashTiming read PATH       one plain read, prints "read MS"
//   ContentHashTiming hash PATH       one hash, prints "hash MS"
//   ContentHashTiming both PATH       rounds of both in turn, from the
//                                     system's cache, and their medians
//
// ContentHashCold.sh drops the file from the host's cache before each
// single read or hash, as a file met for the first time is read.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "WineTiming.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WindowsApi.h"

namespace {

using namespace bastion;

constexpr std::size_t kPiece = 256 * 1024;
constexpr int kRounds = 9;

std::uint64_t PlainRead(const std::string& path) {
    win32::UniqueHandle file(::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0;
    std::vector<char> buffer(kPiece);
    std::uint64_t total = 0;
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
        total += read;
    }
    return total;
}

bool Hash(win32::Win32FileSystem& files, const std::string& path) { return files.ContentSha256(path).has_value(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ContentHashTiming make PATH MIB | read PATH | hash PATH | both PATH\n");
        return 1;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    win32::Win32FileSystem files;
    if (mode == "make") {
        const std::size_t mib = argc > 3 ? static_cast<std::size_t>(std::atoi(argv[3])) : 256;
        std::string bytes(mib * 1024 * 1024, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
        return files.WriteFile(path, bytes) ? 0 : 1;
    }
    const double mib = static_cast<double>(files.FileSize(path).value_or(0)) / (1024.0 * 1024.0);
    if (mode == "read" || mode == "hash") {
        bool ok = true;
        const double ms = bench::Milliseconds([&] { ok = mode == "read" ? PlainRead(path) > 0 : Hash(files, path); });
        std::printf("%s %.1f\n", mode.c_str(), ms);
        return ok ? 0 : 1;
    }
    std::vector<double> reads, hashes, ratios;
    for (int round = 0; round < kRounds; ++round) {
        double read = 0, hash = 0;
        auto timeRead = [&] { read = bench::Milliseconds([&] { PlainRead(path); }); };
        auto timeHash = [&] { hash = bench::Milliseconds([&] { Hash(files, path); }); };
        if (round % 2 == 0) {
            timeRead();
            timeHash();
        } else {
            timeHash();
            timeRead();
        }
        reads.push_back(read);
        hashes.push_back(hash);
        ratios.push_back(read / hash);
    }
    std::printf("%.0f MiB from the system's cache, medians of %d rounds:\n", mib, kRounds);
    std::printf("  plain read  %8.1f ms  %8.0f MiB/s\n", bench::Median(reads), mib / bench::Median(reads) * 1000);
    std::printf("  hash        %8.1f ms  %8.0f MiB/s\n", bench::Median(hashes), mib / bench::Median(hashes) * 1000);
    std::printf("  hash speed / read speed  %.3f\n", bench::Median(ratios));
    return 0;
}
