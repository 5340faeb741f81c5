// Searches of short lines for one or two bytes, sixteen bytes at a time. A
// definition file is read line by line, and its lines are short: the
// library's searches cost more to call than to run on them.
#pragma once

#include <emmintrin.h>

#include <cstddef>

namespace bastion {

// The position of the first byte equal to a or b in the size bytes at
// bytes, or size when there is none.
inline std::size_t FindEitherByte(const char* bytes, std::size_t size, char a, char b) {
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    std::size_t at = 0;
    for (; at + 16 <= size; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB)));
        if (hits != 0) return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
    for (; at < size; ++at) {
        if (bytes[at] == a || bytes[at] == b) return at;
    }
    return size;
}

inline std::size_t FindByte(const char* bytes, std::size_t size, char c) { return FindEitherByte(bytes, size, c, c); }

}  // namespace bastion
