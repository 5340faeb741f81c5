#include "scan/state/StatusTextFilter.h"

#include <array>

#include "common/Text.h"

namespace bastion {

namespace {

// Removed one after the other, so a word that only forms once an earlier one
// is cut out ("pfuckorn") goes too when it comes later in the list; the
// first word is listed again for the same reason. Words that hide inside
// ordinary file names ("ass" in "class", "cum" in "Documents") are left out,
// since every occurrence is cut.
constexpr std::array<std::string_view, 42> kWords{{
    "fuck",     "shit",     "cunt",       "bitch",   "whore",   "slut",      "porn",
    "sex",      "pussy",    "fuck",       "bastard", "bollocks", "wanker",   "twat",
    "asshole",  "arsehole", "dickhead",   "cocksucker", "blowjob", "handjob", "dildo",
    "jizz",     "cumshot",  "boobs",      "tits",    "orgasm",  "masturbate", "hentai",
    "gangbang", "shemale",  "vagina",     "penis",   "clit",    "incest",    "nigger",
    "nigga",    "faggot",   "retard",     "spastic", "kike",    "chink",     "wetback",
}};

}  // namespace

std::string FilterStatusText(std::string_view text) {
    std::string filtered(text);
    for (std::string_view word : kWords) {
        if (FindIgnoreCase(filtered, word) != std::string::npos) {
            filtered = ReplaceAllIgnoreCase(filtered, word, "");
        }
    }
    return filtered;
}

std::span<const std::string_view> FilteredWords() {
    return kWords;
}

}  // namespace bastion
