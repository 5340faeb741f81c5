#include "platform/Sha256.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define BASTION_SHA_EXTENSIONS 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace bastion::platform {

namespace {

// The first 32 bits of the fractional parts of the cube roots of the first
// 64 primes.
alignas(16) constexpr std::array<std::uint32_t, 64> kRoundConstants{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// The first 32 bits of the fractional parts of the square roots of the
// first 8 primes.
constexpr std::array<std::uint32_t, 8> kInitialState{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

std::uint32_t Rotate(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           bytes[3];
}

void PortableBlocks(std::array<std::uint32_t, 8>& state, const std::uint8_t* block, std::size_t count) {
    for (; count > 0; --count, block += 64) {
        // The message schedule.
        std::array<std::uint32_t, 64> w{};
        for (int t = 0; t < 16; ++t) w[t] = BigEndian32(block + 4 * t);
        for (int t = 16; t < 64; ++t) {
            const std::uint32_t sigma0 = Rotate(w[t - 15], 7) ^ Rotate(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const std::uint32_t sigma1 = Rotate(w[t - 2], 17) ^ Rotate(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = sigma1 + w[t - 7] + sigma0 + w[t - 16];
        }
        // The working variables a to h.
        std::array<std::uint32_t, 8> v = state;
        for (int t = 0; t < 64; ++t) {
            const std::uint32_t sum1 = Rotate(v[4], 6) ^ Rotate(v[4], 11) ^ Rotate(v[4], 25);
            const std::uint32_t choose = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + sum1 + choose + kRoundConstants[t] + w[t];
            const std::uint32_t sum0 = Rotate(v[0], 2) ^ Rotate(v[0], 13) ^ Rotate(v[0], 22);
            const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            v = {t1 + sum0 + majority, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (int i = 0; i < 8; ++i) state[i] += v[i];
    }
}

#ifdef BASTION_SHA_EXTENSIONS

bool AskProcessor() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool ssse3 = (ecx & bit_SSSE3) != 0;
    const bool sse41 = (ecx & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    return ssse3 && sse41 && (ebx & bit_SHA) != 0;
}

// The instructions keep the eight working variables in two registers, in
// the order SHA256RNDS2 takes them: one holds A, B, E, F and the other C, D,
// G, H, each with its first in the highest 32 bits. SHA256RNDS2 does two
// rounds, with W+K of the first in the lowest 32 bits of its third operand
// and of the second in the next 32; it returns the new A, B, E, F, while the
// new C, D, G, H are the old A, B, E, F. SHA256MSG1 and SHA256MSG2 compute
// four words of the message schedule together.
__attribute__((target("sha,sse4.1,ssse3"))) void ExtensionBlocks(std::array<std::uint32_t, 8>& state,
                                                                  const std::uint8_t* block, std::size_t count) {
    const auto word = [&](int i) { return static_cast<int>(state[static_cast<std::size_t>(i)]); };
    __m128i abef = _mm_set_epi32(word(0), word(1), word(4), word(5));
    __m128i cdgh = _mm_set_epi32(word(2), word(3), word(6), word(7));
    // The message words are big-endian.
    const __m128i bigEndian = _mm_set_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3);

    for (; count > 0; --count, block += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        // W[4g .. 4g+3] for the last four groups g, group g in w[g % 4].
        __m128i w[4];
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            __m128i& group = w[g % 4];
            if (g < 4) {
                group = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * g)), bigEndian);
            } else {
                // W[t] = sigma1(W[t-2]) + W[t-7] + sigma0(W[t-15]) + W[t-16]: MSG1
                // adds sigma0 of the words after the oldest group to it, the
                // words t-7 are the group before last shifted by one word,
                // and MSG2 adds sigma1 of the two words before each.
                const __m128i& last = w[(g + 3) % 4];
                const __m128i& beforeLast = w[(g + 2) % 4];
                __m128i next = _mm_sha256msg1_epu32(group, w[(g + 1) % 4]);
                next = _mm_add_epi32(next, _mm_alignr_epi8(last, beforeLast, 4));
                group = _mm_sha256msg2_epu32(next, last);
            }
            const __m128i wk =
                _mm_add_epi32(group, _mm_load_si128(reinterpret_cast<const __m128i*>(kRoundConstants.data() + 4 * g)));
            // Rounds 4g and 4g+1, then 4g+2 and 4g+3 (their W+K moved down);
            // the two registers swap their meaning after each pair.
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wk, 0x0E));
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }

    alignas(16) std::uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), abef);
    state[0] = lanes[3];
    state[1] = lanes[2];
    state[4] = lanes[1];
    state[5] = lanes[0];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), cdgh);
    state[2] = lanes[3];
    state[3] = lanes[2];
    state[6] = lanes[1];
    state[7] = lanes[0];
}

#else

bool AskProcessor() { return false; }

#endif

}  // namespace

bool ProcessorHasShaExtensions() {
    static const bool has = AskProcessor();
    return has;
}

Sha256Hasher::Method Sha256Hasher::Fastest() {
    return ProcessorHasShaExtensions() ? Method::ShaExtensions : Method::Portable;
}

Sha256Hasher::Sha256Hasher(Method method)
    : method_(method == Method::ShaExtensions && ProcessorHasShaExtensions() ? method : Method::Portable) {
    Reset();
}

void Sha256Hasher::Reset() {
    state_ = kInitialState;
    pendingSize_ = 0;
    total_ = 0;
}

void Sha256Hasher::Blocks(const std::uint8_t* blocks, std::size_t count) {
#ifdef BASTION_SHA_EXTENSIONS
    if (method_ == Method::ShaExtensions) return ExtensionBlocks(state_, blocks, count);
#endif
    PortableBlocks(state_, blocks, count);
}

void Sha256Hasher::Add(const void* bytes, std::size_t size) {
    if (size == 0) return;
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    total_ += size;
    if (pendingSize_ > 0) {
        const std::size_t taken = std::min(size, pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, in, taken);
        pendingSize_ += taken;
        in += taken;
        size -= taken;
        if (pendingSize_ < pending_.size()) return;
        Blocks(pending_.data(), 1);
        pendingSize_ = 0;
    }
    // Whole blocks straight from the caller's bytes.
    Blocks(in, size / 64);
    in += size / 64 * 64;
    pendingSize_ = size % 64;
    if (pendingSize_ > 0) std::memcpy(pending_.data(), in, pendingSize_);
}

Sha256Digest Sha256Hasher::Finish() {
    // A one bit, zeros up to 8 bytes before the end of a block, and the
    // length in bits, big-endian.
    const std::uint64_t bits = total_ * 8;
    std::array<std::uint8_t, 128> tail{};
    std::memcpy(tail.data(), pending_.data(), pendingSize_);
    tail[pendingSize_] = 0x80;
    const std::size_t blocks = pendingSize_ + 9 > 64 ? 2 : 1;
    for (int i = 0; i < 8; ++i) tail[blocks * 64 - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Blocks(tail.data(), blocks);

    Sha256Digest digest{};
    for (std::size_t i = 0; i < 8; ++i) {
        for (std::size_t j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<std::uint8_t>(state_[i] >> (24 - 8 * j));
    }
    Reset();
    return digest;
}

Sha256Digest Sha256Of(std::string_view bytes, Sha256Hasher::Method method) {
    Sha256Hasher hasher(method);
    hasher.Add(bytes);
    return hasher.Finish();
}

}  // namespace bastion::platform
