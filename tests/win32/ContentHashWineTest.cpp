// SHA-256 with the processor's SHA extensions against Windows' own (CNG),
// and files hashed for the content definitions on Wine's drive C: exactly
// the bytes the file had when opened, whether it grows or shrinks meanwhile.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "WineTestSupport.h"
#include "platform/Sha256.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32FileSystem.h"

namespace bastion::win32 {
namespace {

using platform::ContentDigest;
using platform::ContentHashEnd;
using platform::kContentHashPiece;

std::optional<platform::Sha256Digest> Hash(Sha256Stream::Engine engine, const std::string& bytes,
                                           std::mt19937& random) {
    Sha256Stream stream(engine);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - at, random() % 5000);
        if (!stream.Add(bytes.data() + at, piece)) return std::nullopt;
        at += piece;
    }
    return stream.Finish();
}

std::string RandomBytes(std::size_t size, std::mt19937& random) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

TEST(ContentHashWineTest, TheProcessorsShaExtensionsHashAsWindowsDoes) {
    if (!platform::ProcessorHasShaExtensions()) {
        GTEST_SKIP() << "this processor has no SHA extensions: CNG hashes";
    }
    EXPECT_TRUE(Sha256Stream().UsesShaExtensions());
    EXPECT_FALSE(Sha256Stream(Sha256Stream::Engine::Cng).UsesShaExtensions());
    std::mt19937 random(36);
    for (int round = 0; round < 200; ++round) {
        const std::size_t size = round < 70 ? static_cast<std::size_t>(round) : random() % 300'000;
        const std::string bytes = RandomBytes(size, random);
        const auto own = Hash(Sha256Stream::Engine::Fastest, bytes, random);
        const auto cng = Hash(Sha256Stream::Engine::Cng, bytes, random);
        ASSERT_TRUE(own && cng);
        ASSERT_EQ(*own, *cng) << "size " << size;
    }
}

class ContentFileWineTest : public ::testing::Test {
protected:
    ContentDigest HashFile(const std::string& path, const std::function<bool()>& between = nullptr) {
        return files.ContentSha256(
            path, [](std::uint64_t) { return true; }, between);
    }

    Win32FileSystem files;
    test::ScratchFolder scratch;
    std::mt19937 random{2024};
};

TEST_F(ContentFileWineTest, FilesOfEverySizeAreHashedAsTheirBytesAre) {
    // Within one piece, at its edges, and over several, which are read while
    // the ones before are hashed.
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, kContentHashPiece - 1, kContentHashPiece,
                             kContentHashPiece + 1, 7 * kContentHashPiece / 2}) {
        SCOPED_TRACE(size);
        const std::string bytes = RandomBytes(size, random);
        ASSERT_TRUE(files.WriteFile(scratch / "file.bin", bytes));
        int pieces = 0;
        const ContentDigest digest = HashFile(scratch / "file.bin", [&] { return ++pieces > 0; });
        EXPECT_EQ(digest.end, ContentHashEnd::Hashed);
        EXPECT_EQ(digest.size, size);
        EXPECT_EQ(digest.sha256, platform::Sha256Of(bytes, platform::Sha256Hasher::Method::Portable));
        EXPECT_EQ(static_cast<std::size_t>(pieces), size == 0 ? 0 : (size - 1) / kContentHashPiece);

        const auto pending = files.StartContentSha256(scratch / "file.bin", size);
        ASSERT_TRUE(pending);
        std::optional<ContentDigest> later;
        const ULONGLONG deadline = ::GetTickCount64() + 60'000;
        while (!(later = pending->Result()) && ::GetTickCount64() < deadline) ::Sleep(1);
        ASSERT_TRUE(later);
        EXPECT_EQ(later->sha256, digest.sha256);
    }
    EXPECT_EQ(HashFile(scratch / "absent.bin").end, ContentHashEnd::Unreadable);
    EXPECT_EQ(files.ContentSha256(scratch / "file.bin", [](std::uint64_t) { return false; }, nullptr).end,
              ContentHashEnd::OtherSize);
}

TEST_F(ContentFileWineTest, AFileThatGrowsIsHashedToItsSizeWhenOpenedAndOneThatShrinksIsUnreadable) {
    // More pieces than the reader reads ahead, so that what happens to the
    // file after the first piece is hashed meets reads still to come.
    const std::string bytes = RandomBytes(8 * kContentHashPiece, random);
    const std::string path = scratch / "growing.log";
    ASSERT_TRUE(files.WriteFile(path, bytes));
    // Another program appends a piece for every piece hashed: a hash that
    // read to the end would never end.
    const std::string more(kContentHashPiece, 'm');
    int appended = 0;
    const ContentDigest grown = HashFile(path, [&] {
        ++appended;
        return files.AppendFile(path, more);
    });
    EXPECT_EQ(grown.end, ContentHashEnd::Hashed);
    EXPECT_EQ(grown.size, bytes.size());
    EXPECT_EQ(grown.sha256, platform::Sha256Of(bytes));
    EXPECT_EQ(appended, 7);

    ASSERT_TRUE(files.WriteFile(path, bytes));
    const ContentDigest shrunk = HashFile(path, [&] { return files.WriteFile(path, "cut"); });
    EXPECT_EQ(shrunk.end, ContentHashEnd::Unreadable);

    ASSERT_TRUE(files.WriteFile(path, bytes));
    EXPECT_EQ(HashFile(path, [] { return false; }).end, ContentHashEnd::Abandoned);
}

TEST_F(ContentFileWineTest, AHashStoppedAfterAnyPieceLeavesTheReaderReadyForTheNextFile) {
    // The reader keeps its thread and its pieces from file to file: stopped
    // while it reads ahead, waits for room or has read to the end, it must
    // neither hand the next file a piece of this one nor miss its wake-up.
    const std::string first = RandomBytes(9 * kContentHashPiece, random);
    const std::string second = RandomBytes(9 * kContentHashPiece + 5, random);
    ASSERT_TRUE(files.WriteFile(scratch / "first.bin", first));
    ASSERT_TRUE(files.WriteFile(scratch / "second.bin", second));
    for (int stopAfter = 1; stopAfter < 9; ++stopAfter) {
        SCOPED_TRACE(stopAfter);
        int hashed = 0;
        EXPECT_EQ(HashFile(scratch / "first.bin", [&] { return ++hashed < stopAfter; }).end,
                  ContentHashEnd::Abandoned);
        const ContentDigest next = HashFile(scratch / "second.bin");
        EXPECT_EQ(next.end, ContentHashEnd::Hashed);
        EXPECT_EQ(next.sha256, platform::Sha256Of(second));
    }
}

}  // namespace
}  // namespace bastion::win32
