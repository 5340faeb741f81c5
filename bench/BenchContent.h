// Generated content definitions for the benchmarks: sizes spread from
// 10 KB to 10 MB, hashes made up (unless a real one is given for a size),
// and threat names as hash lists give them: a few hundred families, each
// named by thousands of definitions, or, for the worst case, a name each.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bastion::bench {

inline constexpr int kContentDefinitions = 100'000;

// 10,240 bytes and on in steps of 104: the last is 10,410,136 bytes.
inline std::uint64_t ContentDefinitionSize(int i) { return 10'240 + static_cast<std::uint64_t>(i) * 104; }

inline std::string MadeUpSha256(int i) {
    std::string hex;
    std::uint64_t x = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
    char piece[17];
    for (int part = 0; part < 4; ++part) {
        x ^= x >> 29;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 32;
        std::snprintf(piece, sizeof piece, "%016llx", static_cast<unsigned long long>(x));
        hex += piece;
    }
    return hex;
}

// SIZE:SHA256=THREAT|TYPE; realHashes gives the hash for some of them.
inline std::vector<std::string> ContentDefinitionLines(int count, bool distinctNames = false,
                                                       const std::map<int, std::string>& realHashes = {}) {
    static const char* const families[] = {"Trojan.Agent", "Adware.Bundler", "Spyware.Keylogger", "Worm.Autorun",
                                           "Trojan.Downloader", "PUP.Toolbar", "Backdoor.Remote"};
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto real = realHashes.find(i);
        const std::string threat = distinctNames ? std::string(families[i % 7]) + "." + std::to_string(i)
                                                 : std::string(families[i % 7]) + "." + std::to_string(i % 400);
        lines.push_back(std::to_string(ContentDefinitionSize(i)) + ":" +
                        (real == realHashes.end() ? MadeUpSha256(i) : real->second) + "=" + threat + "|Trojan");
    }
    return lines;
}

}  // namespace bastion::bench
