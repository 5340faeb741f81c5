#include "update/DefinitionDelta.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>

#include "common/Lines.h"
#include "common/Text.h"
#include "definitions/DefinitionCodec.h"
#include "support/DeltaRecords.h"

namespace bastion {
namespace {

using testing::DeltaRecord;

std::vector<std::string> Decoded(const std::string& content) {
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(content)) lines.push_back(DecodeDefinitionText(line));
    return lines;
}

std::string Stored(const std::vector<std::string>& lines) {
    std::string content;
    // Blank lines stay blank, as they stand in a file.
    for (const std::string& line : lines) {
        content += (line.empty() || line == " " ? line : EncodeDefinitionText(line)) + "\r\n";
    }
    return content;
}

// The decoded lines of one file after the delta, starting from content.
std::vector<std::string> After(const std::string& delta, std::size_t file, const std::string& content = "") {
    return Decoded(ApplyFileChange(PlanFileChange(ParseDefinitionDelta(delta), file), content).content);
}

constexpr std::size_t kFiles = 0, kExe = 1, kRegistry = 2, kCookies = 3, kDirs = 4, kSafety = 5;

TEST(DefinitionDelta, EachKindLandsInItsFilesInTheShapeTheReadersExpect) {
    const std::string delta = DeltaRecord("EXE", "ADD", "bad.exe=Bad|[windir]") + "[br]" +
                              DeltaRecord("REG", "ADD", "1^Key^V^=Threat|1^Key^V|Adware") + "[BR]" +
                              DeltaRecord("COOK", "ADD", "tracker.example=ignored") + "[BR]" +
                              DeltaRecord("DIR", "ADD", "D=Threat|[progfil]D|Adware") + "[BR]" +
                              DeltaRecord("SFILE", "ADD", "safe.exe=Safe|[windir]") + "[BR]" +
                              DeltaRecord("FILE", "NOPE", "x=y");
    EXPECT_EQ(After(delta, kFiles), std::vector<std::string>{"bad.exe=Bad|[windir]"});
    EXPECT_EQ(After(delta, kExe), std::vector<std::string>{"bad.exe=Bad|[windir]"});
    EXPECT_EQ(After(delta, kRegistry), std::vector<std::string>{"1^Key^V^=Threat|Adware"});
    EXPECT_EQ(After(delta, kCookies), std::vector<std::string>{"tracker.example"});
    EXPECT_EQ(After(delta, kDirs), std::vector<std::string>{"D=Threat|[progfil]D|Adware"});
    EXPECT_EQ(After(delta, kSafety), std::vector<std::string>{"SFILE|safe.exe=Safe|[windir]"});
    EXPECT_EQ(ApplyFileChange(PlanFileChange(ParseDefinitionDelta(delta), kFiles), "").changes, 1);
}

TEST(DefinitionDelta, EveryDeletionTakesEffectInAnyCaseAndAnAddAfterItReplacesTheDefinition) {
    const std::string existing = Stored({"one=1", "", "Two=2", " ", "three=3"});
    for (std::size_t file : {kFiles, kExe, kDirs}) {
        const std::string kind = file == kFiles ? "FILE" : file == kExe ? "EXE" : "DIR";
        const std::string delta = DeltaRecord(kind, "DEL", "ONE") + "[BR]" + DeltaRecord(kind, "DEL", "two=whatever") + "[BR]" +
                                  DeltaRecord(kind, "DEL", "three") + "[BR]" + DeltaRecord(kind, "ADD", "THREE=back");
        // Blank lines go with a file's deletions; "three" was deleted and
        // added again: only its new line stands.
        const AppliedFileChange applied = ApplyFileChange(PlanFileChange(ParseDefinitionDelta(delta), file), existing);
        EXPECT_EQ(Decoded(applied.content), std::vector<std::string>{"THREE=back"}) << kind;
        EXPECT_EQ(applied.changes, 4) << "three definitions gone, one new";
    }
    EXPECT_EQ(After(DeltaRecord("SREG", "DEL", "Key"), kSafety, Stored({"SREG|key=x|1^Key", "SFILE|key=y"})),
              std::vector<std::string>{"SFILE|key=y"});
}

TEST(DefinitionDelta, RecordsTakeEffectOneByOneInTheirOrder) {
    // A replay from the first day: what was added, deleted and added again.
    const std::string replay = DeltaRecord("FILE", "ADD", "x=A") + "[BR]" + DeltaRecord("FILE", "DEL", "x") + "[BR]" +
                               DeltaRecord("FILE", "ADD", "x=B");
    EXPECT_EQ(After(replay, kFiles), std::vector<std::string>{"x=B"});
    EXPECT_EQ(After(replay, kFiles, Stored({"x=A", "x=B"})), std::vector<std::string>{"x=B"});
    // An add that a later deletion of its key undoes, in any letter case.
    EXPECT_TRUE(After(DeltaRecord("FILE", "ADD", "Y=1") + "[BR]" + DeltaRecord("FILE", "DEL", "y"), kFiles).empty());

    // Against the records applied one at a time: random keys in both
    // letter cases, adds and deletions in random order, on random files.
    std::mt19937 random(22);
    auto pick = [&](std::initializer_list<const char*> options) {
        return std::string(*(options.begin() + random() % options.size()));
    };
    auto keyOf = [](const std::string& line) { return ToLower(line.substr(0, line.find('='))); };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines;
        std::set<std::string> initial;
        for (int i = 0; i < static_cast<int>(random() % 5); ++i) {
            const std::string line = pick({"a", "b", "c", "d"}) + "=" + pick({"1", "2"}) + "|f|t";
            if (initial.insert(line).second) lines.push_back(line);
        }
        const std::string content = Stored(lines);
        std::string delta;
        std::vector<std::string> expected = lines;
        bool deletes = false;
        for (int i = 0; i < static_cast<int>(random() % 8); ++i) {
            const std::string key = pick({"a", "A", "b", "c", "C", "d"});
            if (!delta.empty()) delta += "[BR]";
            if (random() % 3 == 0) {
                delta += DeltaRecord("FILE", "DEL", key + pick({"", "=anything"}));
                std::erase_if(expected, [&](const std::string& line) { return keyOf(line) == ToLower(key); });
                deletes = true;
            } else {
                const std::string line = key + "=" + pick({"1", "2"}) + "|f|t";
                delta += DeltaRecord("FILE", "ADD", line);
                if (std::find(expected.begin(), expected.end(), line) == expected.end()) expected.push_back(line);
            }
        }
        const FileChange change = PlanFileChange(ParseDefinitionDelta(delta), kFiles);
        const AppliedFileChange once = ApplyFileChange(change, content);
        std::vector<std::string> got = Decoded(once.content);
        std::vector<std::string> sortedExpected = expected;
        // The order of the lines does not matter to the readers.
        std::sort(got.begin(), got.end());
        std::sort(sortedExpected.begin(), sortedExpected.end());
        ASSERT_EQ(got, sortedExpected) << round << ": " << (deletes ? "with" : "without") << " deletions";
        const AppliedFileChange twice = ApplyFileChange(change, once.content);
        EXPECT_EQ(twice.content, once.content) << round;
        EXPECT_EQ(twice.changes, 0) << round;
        const std::set<std::string> final(expected.begin(), expected.end());
        std::vector<std::string> differing;
        std::set_symmetric_difference(initial.begin(), initial.end(), final.begin(), final.end(),
                                      std::back_inserter(differing));
        EXPECT_EQ(once.changes, static_cast<int>(differing.size())) << round;
    }
}

TEST(DefinitionDelta, AppliedTwiceIsAppliedOnce) {
    const std::string delta = DeltaRecord("FILE", "ADD", "a=1|f|t") + "[BR]" + DeltaRecord("FILE", "ADD", "a=1|f|t") + "[BR]" +
                              DeltaRecord("FILE", "ADD", "b=2|f|t") + "[BR]" + DeltaRecord("FILE", "DEL", "b");
    const FileChange change = PlanFileChange(ParseDefinitionDelta(delta), kFiles);
    const std::string once = ApplyFileChange(change, Stored({"old=0"})).content;
    EXPECT_EQ(Decoded(once), (std::vector<std::string>{"old=0", "a=1|f|t"}));
    EXPECT_EQ(ApplyFileChange(change, once).content, once);
    // A file that does not end with a line end keeps its last line whole.
    EXPECT_EQ(Decoded(ApplyFileChange(change, EncodeDefinitionText("old=0")).content),
              (std::vector<std::string>{"old=0", "a=1|f|t"}));
}

TEST(DefinitionDelta, MalformedRecordsAreSkippedAndTheRestApplied) {
    const std::string delta = EncodeDefinitionText("FILE") + "|ADD[def]" + "lower=case|x|y" + "[BR]" +  // no [DEF]
                              EncodeDefinitionText("FILE") + "[DEF]noaction" + "[BR]" +                 // no action
                              EncodeDefinitionText("FILE") + "|ADD[DEF]" + "[BR]" +                     // no body
                              DeltaRecord("FILE", "ADD", "=no key|x|y") + "[BR]" +                           // empty key
                              EncodeDefinitionText("FILE") + "|ADD[DEF]" + "bad\n=x" +
                              "[BR]" +                                                                   // holds LF
                              DeltaRecord("REG", "ADD", "K=V") + "[BR]" +                                     // no P1, P2
                              DeltaRecord("FILE", "ADD", "good=1|x|y");
    const ParsedDelta parsed = ParseDefinitionDelta(delta);
    EXPECT_EQ(parsed.malformed, 3u);
    EXPECT_EQ(After(delta, kFiles), std::vector<std::string>{"good=1|x|y"});
    EXPECT_EQ(PlanFileChange(parsed, kFiles).skipped, 2u);
    EXPECT_TRUE(After(delta, kRegistry).empty());
}

}  // namespace
}  // namespace bastion
