#include "update/StoredKeySet.h"

#include <emmintrin.h>

#include <cstring>

#include "definitions/DefinitionCodec.h"
#include "update/ByteSearch.h"
#include "update/DefinitionDelta.h"

namespace bastion {

namespace {

// Letter case folded in the stored form, sixteen bytes at once: the shifted
// capitals (A to Z, and the accented capitals of the Western code pages but
// the multiplication sign) become their small letters, and the stored NUL,
// which decodes as the same character as 255, becomes 255. Two stored keys
// fold alike exactly when their decoded, lower-cased texts are equal.
__m128i FoldStored(__m128i bytes) {
    const __m128i flipped = _mm_xor_si128(bytes, _mm_set1_epi8(static_cast<char>(0x80)));
    auto above = [&](int low) { return _mm_cmpgt_epi8(flipped, _mm_set1_epi8(static_cast<char>(low ^ 0x80))); };
    auto below = [&](int high) { return _mm_cmplt_epi8(flipped, _mm_set1_epi8(static_cast<char>(high ^ 0x80))); };
    const __m128i capitals = _mm_and_si128(above(128), below(155));
    const __m128i accented =
        _mm_andnot_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(24)), _mm_and_si128(above(0), below(32)));
    const __m128i shift = _mm_and_si128(_mm_or_si128(capitals, accented), _mm_set1_epi8(32));
    const __m128i nul = _mm_cmpeq_epi8(bytes, _mm_setzero_si128());
    return _mm_or_si128(_mm_add_epi8(bytes, shift), nul);
}

// Keeps the first count bytes (at most 16), clears the rest.
__m128i KeepFirst(__m128i bytes, std::size_t count) {
    alignas(16) static constexpr unsigned char kMask[32] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    return _mm_and_si128(bytes, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kMask + 16 - count)));
}

void Store(__m128i bytes, std::uint64_t (&out)[2]) { _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes); }

// The signature of stored key bytes; the sixteen bytes from key on must be
// readable when the key is shorter than that.
StoredKeySet::Signature SignatureOfStored(const char* key, std::size_t length, bool sixteenReadable) {
    StoredKeySet::Signature signature;
    signature.length = length;
    __m128i head;
    if (sixteenReadable || length >= 16) {
        head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
    } else {
        alignas(16) char copy[16] = {};
        std::memcpy(copy, key, length);
        head = _mm_load_si128(reinterpret_cast<const __m128i*>(copy));
    }
    Store(KeepFirst(FoldStored(head), length < 16 ? length : 16), signature.head);
    if (length > 16) {
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + length - 16));
        Store(FoldStored(tail), signature.tail);
    }
    return signature;
}

// The signature of a decoded key, shifted byte by byte as it is stored,
// without building the stored text.
StoredKeySet::Signature SignatureOfKey(std::string_view key) {
    auto stored = [](char c) {
        const int code = static_cast<unsigned char>(c) + 64;
        return static_cast<char>(code >= 256 ? code - 255 : code);
    };
    alignas(16) char edges[32] = {};
    const std::size_t head = key.size() < 16 ? key.size() : 16;
    for (std::size_t i = 0; i < head; ++i) edges[i] = stored(key[i]);
    if (key.size() > 16) {
        for (std::size_t i = 0; i < 16; ++i) edges[16 + i] = stored(key[key.size() - 16 + i]);
    }
    StoredKeySet::Signature signature;
    signature.length = key.size();
    Store(KeepFirst(FoldStored(_mm_load_si128(reinterpret_cast<const __m128i*>(edges))), head), signature.head);
    if (key.size() > 16) Store(FoldStored(_mm_load_si128(reinterpret_cast<const __m128i*>(edges + 16))), signature.tail);
    return signature;
}

}  // namespace

std::uint64_t StoredKeySet::Signature::Hash() const {
    // Independent products, mixed once: every line of a file is hashed.
    std::uint64_t hash = (head[0] * 0x9E3779B97F4A7C15ull) ^ (head[1] * 0xBF58476D1CE4E5B9ull) ^
                         (tail[0] * 0x94D049BB133111EBull) ^ (tail[1] * 0xD6E8FEB86659FD93ull) ^ length;
    hash ^= hash >> 29;
    hash *= 0xBF58476D1CE4E5B9ull;
    return hash ^ (hash >> 32);
}

StoredKeySet::StoredKeySet(const std::vector<std::string>& keys) : keys_(keys) {
    std::size_t size = 16;
    while (size < keys.size() * 2) size *= 2;
    slots_.assign(size, {});
    // About eight to sixteen bits a key, two set per key: a false hit in
    // twenty at most, and small enough to stay in the processor's first
    // cache.
    std::size_t bits = 1024;
    while (bits < keys.size() * 8) bits *= 2;
    filter_.assign(bits / 64, 0);
    signatures_.reserve(keys.size());
    for (const std::string& key : keys) {
        const Signature signature = SignatureOfKey(key);
        if (!signature.Whole()) longKeys_.insert(key);
        const std::uint64_t hash = signature.Hash();
        filter_[FilterWord(hash)] |= FilterBits(hash);
        std::size_t slot = hash & (size - 1);
        while (slots_[slot] != 0 && !(signatures_[slots_[slot] - 1] == signature)) slot = (slot + 1) & (size - 1);
        if (slots_[slot] != 0) continue;
        signatures_.push_back(signature);
        slots_[slot] = static_cast<std::uint32_t>(signatures_.size());
    }
}

bool StoredKeySet::Holds(std::string_view storedLine) const {
    if (keys_.empty()) return false;
    const std::size_t length = FindByte(storedLine.data(), storedLine.size(), kStoredNameSeparator);
    const Signature signature = SignatureOfStored(storedLine.data(), length, storedLine.size() >= 16);
    const std::uint64_t hash = signature.Hash();
    const std::uint64_t bits = FilterBits(hash);
    if ((filter_[FilterWord(hash)] & bits) != bits) return false;
    for (std::size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
        if (slots_[slot] == 0) return false;
        if (signatures_[slots_[slot] - 1] == signature) break;
    }
    return signature.Whole() || longKeys_.count(StoredLineKey(storedLine)) != 0;
}

}  // namespace bastion
