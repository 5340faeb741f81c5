// A restore and the quarantine against folder links another program running
// as the user plants in the user's own folders, over the fake file system
// (Wine makes no junctions): a restore writes only through folders opened
// from the drive root with no link on the way, asks before writing
// anywhere outside the user's profile, and the quarantine's copies go only
// into the quarantine folder itself.
#include <gtest/gtest.h>

#include <functional>

#include "removal/RemovalMessages.h"
#include "removal/quarantine/Quarantine.h"
#include "removal/quarantine/QuarantineRestore.h"
#include "support/FakeClock.h"
#include "support/FakePlatform.h"

namespace bastion {
namespace {

using testing::FakeShell;
using Names = std::vector<std::string>;

struct ThroughLinksTest : ::testing::Test {
    ThroughLinksTest() {
        machine.CreateSpecialFolders();
        machine.files.AddFile("C:\\Admin\\keep.txt", "admin");
        quarantine.EnsureFolder();
    }
    // A file as a removal stores it: its copy in the quarantine, recorded.
    QuarantineItem Stored(const std::string& location) {
        const std::string name = location.substr(location.rfind('\\') + 1);
        const std::uint64_t id = ++lastId;
        const QuarantineItem item{id, "3/16/2006", QuarantineKind::File, std::to_string(id) + "_" + name, location};
        machine.files.AddFile(quarantine.Folder() + "\\" + item.storedName, "copy of " + name);
        return item;
    }

    testing::FakePlatform machine;
    Quarantine quarantine{machine.files, machine.Bundle().codePage, machine.clock,
                          FakeShell::kUserProfile + "\\Application Data\\DovuVedivazIVE"};
    std::uint64_t lastId = 0;
};

TEST_F(ThroughLinksTest, ARestoreWritesOnlyThroughPlainFoldersAndAsksOutsideTheUsersProfile) {
    const std::string profile = FakeShell::kUserProfile;
    const struct {
        const char* what;
        std::string location;
        std::function<void(testing::FakeFileSystem&)> arrange;  // before the restore
        std::function<void(testing::FakeFileSystem&)> onQuestion;  // while the user is asked
        bool asked;
        std::string_view reason;  // empty: restored
    } cases[] = {
        {"a folder of the profile", profile + "\\Foo\\a.txt", {}, {}, false, {}},
        {"a folder of the profile that is a junction", profile + "\\Foo\\b.txt",
         [](auto& files) { files.AddJunction(FakeShell::kUserProfile + "\\Foo", "C:\\Admin"); }, {}, false,
         msg::kRestoreThroughLink},
        {"a folder deeper down that is a junction", profile + "\\Bar\\Sub\\c.txt",
         [](auto& files) {
             files.AddFolder(FakeShell::kUserProfile + "\\Bar");
             files.AddJunction(FakeShell::kUserProfile + "\\Bar\\Sub", "C:\\Admin");
         },
         {}, false, msg::kRestoreThroughLink},
        {"a place outside the profile", "C:\\Data\\d.txt", {}, {}, true, {}},
        {"a place outside the profile that becomes a link once agreed to", "C:\\Data2\\e.txt",
         [](auto& files) { files.AddFolder("C:\\Data2"); },
         [](auto& files) {
             files.DeleteFolderTree("C:\\Data2");
             files.AddJunction("C:\\Data2", "C:\\Admin");
         },
         true, msg::kRestoreThroughLink},
    };
    const MachineWidePlaces places(machine.files, machine.shell, quarantine.Folder());
    for (const auto& c : cases) {
        machine.files.DeleteFolderTree(profile + "\\Foo");
        if (c.arrange) c.arrange(machine.files);
        bool asked = false;
        const RestoreQuestions questions{{}, [&](const std::string&) {
                                             asked = true;
                                             if (c.onQuestion) c.onQuestion(machine.files);
                                             return true;
                                         }};
        const RestoreOutcome outcome =
            RestoreFromQuarantine(quarantine, machine.registry, places, Stored(c.location), questions);
        EXPECT_EQ(asked, c.asked) << c.what;
        EXPECT_EQ(outcome.reason, c.reason) << c.what;
        EXPECT_EQ(machine.files.Content(c.location).has_value(), c.reason.empty()) << c.what;
        EXPECT_EQ(machine.files.Tree("C:\\Admin"), Names{"C:\\Admin\\keep.txt"}) << c.what;
    }
}

TEST_F(ThroughLinksTest, TheQuarantineTakesNoCopyWhenItsFolderIsALinkOrTheSlotIsTaken) {
    // Another program put a slot's name in place first: the next id is used.
    machine.files.AddFile(quarantine.Folder() + "\\1_spy.exe", "planted");
    std::optional<OpenQuarantineSlot> open = quarantine.Reserve("spy.exe");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->slot.storedName, "2_spy.exe");
    open->file->Write("copy", 4);
    open.reset();
    EXPECT_EQ(machine.files.Content(quarantine.Folder() + "\\1_spy.exe"), "planted");
    EXPECT_EQ(machine.files.Content(quarantine.Folder() + "\\2_spy.exe"), "copy");

    // The quarantine folder swapped for a link to a folder of the system's.
    machine.files.MoveReplace(quarantine.Folder(), quarantine.Folder() + ".old");
    machine.files.AddJunction(quarantine.Folder(), "C:\\Admin");
    EXPECT_FALSE(quarantine.Reserve("spy.exe"));
    EXPECT_FALSE(quarantine.Reserve("SpyCo", Quarantine::SlotKind::Folder));
    EXPECT_EQ(machine.files.Tree("C:\\Admin"), Names{"C:\\Admin\\keep.txt"});
}

}  // namespace
}  // namespace bastion
