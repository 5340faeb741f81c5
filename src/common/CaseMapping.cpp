#include "common/CaseMapping.h"

namespace bastion {

namespace {

// A block where upper- and lower-case letters alternate; upperIsEven tells
// which of each pair is the capital.
struct AlternatingBlock {
    char32_t first;
    char32_t last;
    bool upperIsEven;
};

constexpr AlternatingBlock kAlternating[] = {
    {0x0100, 0x012F, true},  // Latin Extended-A up to the dotted I
    {0x0132, 0x0137, true},
    {0x0139, 0x0148, false},
    {0x014A, 0x0177, true},
    {0x0179, 0x017E, false},
    {0x03D8, 0x03EF, true},  // archaic Greek and Coptic letters
    {0x0460, 0x0481, true},  // historic Cyrillic
    {0x048A, 0x04BF, true},
    {0x04C1, 0x04CE, false},
    {0x04D0, 0x052F, true},
};

// A block of capitals whose small letters lie at a fixed distance above.
struct ShiftedBlock {
    char32_t firstUpper;
    char32_t lastUpper;
    char32_t offset;
};

constexpr ShiftedBlock kShifted[] = {
    {0x00C0, 0x00D6, 0x20},  // Latin-1 letters, the multiplication sign between them left out
    {0x00D8, 0x00DE, 0x20},
    {0x0388, 0x038A, 0x25},  // Greek capitals with tonos
    {0x038E, 0x038F, 0x3F},
    {0x0391, 0x03A1, 0x20},  // Greek capitals
    {0x03A3, 0x03AB, 0x20},
    {0x0400, 0x040F, 0x50},  // Cyrillic capitals with marks
    {0x0410, 0x042F, 0x20},  // basic Cyrillic capitals
};

// Pairs that fit no block.
struct SinglePair {
    char32_t upper;
    char32_t lower;
};

constexpr SinglePair kPairs[] = {
    {0x0178, 0x00FF},  // Y with diaeresis: capital in Extended-A, small in Latin-1
    {0x0386, 0x03AC},
    {0x038C, 0x03CC},
    {0x04C0, 0x04CF},
};

const AlternatingBlock* FindAlternating(char32_t cp) {
    for (const auto& block : kAlternating) {
        if (cp >= block.first && cp <= block.last) return &block;
    }
    return nullptr;
}

}  // namespace

char32_t ToLowerCodePoint(char32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 0x20 : cp;
    if (cp < 0xC0) return cp;
    for (const auto& block : kShifted) {
        if (cp >= block.firstUpper && cp <= block.lastUpper) return cp + block.offset;
    }
    for (const auto& pair : kPairs) {
        if (cp == pair.upper) return pair.lower;
    }
    if (const auto* block = FindAlternating(cp)) {
        const bool isEven = (cp % 2) == 0;
        if (isEven == block->upperIsEven) return cp + 1;
    }
    return cp;
}

char32_t ToUpperCodePoint(char32_t cp) {
    if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 0x20 : cp;
    if (cp < 0xC0) return cp;
    if (cp == 0x03C2) return 0x03A3;  // final sigma
    for (const auto& block : kShifted) {
        if (cp >= block.firstUpper + block.offset && cp <= block.lastUpper + block.offset) {
            return cp - block.offset;
        }
    }
    for (const auto& pair : kPairs) {
        if (cp == pair.lower) return pair.upper;
    }
    if (const auto* block = FindAlternating(cp)) {
        const bool isEven = (cp % 2) == 0;
        if (isEven != block->upperIsEven) return cp - 1;
    }
    return cp;
}

char32_t FoldCodePoint(char32_t cp) {
    if (cp == 0x03C2) return 0x03C3;
    return ToLowerCodePoint(cp);
}

}  // namespace bastion
