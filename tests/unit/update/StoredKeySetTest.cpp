// The deleted keys' quick look-up against the plain rule it stands for: a
// stored line's key is deleted when its decoded, lower-cased text is one of
// the keys. Random keys of every length around the signature's edges, with
// letters in both cases, accented capitals and the bytes that decode alike.
#include "update/StoredKeySet.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "definitions/DefinitionCodec.h"
#include "update/DefinitionDelta.h"

namespace bastion {
namespace {

TEST(StoredKeySet, AnswersAsTheDecodedLowerCasedKeyDoes) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("aAbBzZ09.\\_ \xC0\xE0\xD7\xF7\xBF\xFF", 19) + '\0';
    auto randomText = [&](std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        return text;
    };
    auto storedLine = [](const std::string& key) { return EncodeDefinitionText(key + "=Threat|folder|Adware"); };

    std::vector<std::string> written;
    std::unordered_set<std::string> deleted;
    std::vector<std::string> deletedList;
    for (std::size_t length : {1, 7, 8, 9, 15, 16, 17, 31, 32, 33, 60}) {
        for (int i = 0; i < 40; ++i) {
            const std::string key = randomText(length);
            written.push_back(key);
            if (i % 3 == 0 && deleted.insert(StoredLineKey(storedLine(key))).second) {
                deletedList.push_back(StoredLineKey(storedLine(key)));
            }
        }
    }
    const StoredKeySet set(deletedList);
    for (const std::string& key : written) {
        // The same key written again with another letter case, and one
        // that differs in a single byte.
        std::string otherCase = key;
        for (char& c : otherCase) {
            const auto u = static_cast<unsigned char>(c);
            if (std::isalpha(u)) c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
            if (u == 0xC0 || u == 0xE0) c = static_cast<char>(u ^ 0x20);
        }
        std::string changed = key;
        changed[random() % changed.size()] ^= 1;
        for (const std::string& probe : {key, otherCase, changed}) {
            const std::string line = storedLine(probe);
            EXPECT_EQ(set.Holds(line), deleted.count(StoredLineKey(line)) != 0) << probe;
        }
    }
    // A stored NUL decodes as the character that 255 stores as.
    const std::vector<std::string> inverted{StoredLineKey(storedLine("a\xBF"))};
    std::string withNul = storedLine("a\xBF");
    withNul[1] = '\0';
    EXPECT_TRUE(StoredKeySet(inverted).Holds(withNul));
}

}  // namespace
}  // namespace bastion
