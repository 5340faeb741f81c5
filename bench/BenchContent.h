// Generated content definitions for the benchmarks: sizes spread from
// 10 KB to 10 MB, hashes made up (unless a real one is given for a size),
// and threat names as hash lists give them: a few hundred families, each
// named by thousands of definitions, or, for the worst case, a name each.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
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

// File sizes as a user's profile has them, as studies of file systems find
// them: log-normal around 4 KiB with a spread of 2.2 (in powers of e), from
// 1 byte to 100 MiB, so that most lie between 1 KB and 10 MB and one in
// two hundred is larger than a megabyte. Only sizes of at least floor are
// drawn (hash lists name programs and archives, hardly any smaller file).
inline std::vector<std::uint64_t> ProfileSizes(int count, std::uint32_t seed, std::uint64_t floor = 1) {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> spread(std::log(4096.0), 2.2);
    std::vector<std::uint64_t> sizes;
    sizes.reserve(static_cast<std::size_t>(count));
    while (sizes.size() < static_cast<std::size_t>(count)) {
        const double size = std::exp(spread(random));
        if (size >= static_cast<double>(floor) && size >= 1 && size <= 100.0 * 1024 * 1024) {
            sizes.push_back(static_cast<std::uint64_t>(size));
        }
    }
    return sizes;
}

// SIZE:SHA256=THREAT|TYPE; realHashes gives the hash for some of them.
inline std::vector<std::string> ContentDefinitionLines(int count, bool distinctNames = false,
                                                       const std::map<int, std::string>& realHashes = {},
                                                       const std::vector<std::uint64_t>& sizes = {}) {
    static const char* const families[] = {"Trojan.Agent", "Adware.Bundler", "Spyware.Keylogger", "Worm.Autorun",
                                           "Trojan.Downloader", "PUP.Toolbar", "Backdoor.Remote"};
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto real = realHashes.find(i);
        const std::string threat = distinctNames ? std::string(families[i % 7]) + "." + std::to_string(i)
                                                 : std::string(families[i % 7]) + "." + std::to_string(i % 400);
        const std::uint64_t size = sizes.empty() ? ContentDefinitionSize(i) : sizes[static_cast<std::size_t>(i)];
        lines.push_back(std::to_string(size) + ":" +
                        (real == realHashes.end() ? MadeUpSha256(i) : real->second) + "=" + threat + "|Trojan");
    }
    return lines;
}

}  // namespace bastion::bench
