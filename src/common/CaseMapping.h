// Simple one-to-one case mapping of single code points: ASCII, Latin-1
// Supplement, Latin Extended-A, Greek and Cyrillic. Mappings that change the
// length of the text (German sharp s, dotted capital I, dotless i, long s)
// are left out, so a mapped character always has the same UTF-8 length as the
// original and byte positions in case-folded text are positions in the
// original text.
#pragma once

namespace bastion {

char32_t ToLowerCodePoint(char32_t cp);
char32_t ToUpperCodePoint(char32_t cp);

// The form in which two characters are compared without regard to case; it
// also folds the Greek final sigma into the ordinary one.
char32_t FoldCodePoint(char32_t cp);

}  // namespace bastion
