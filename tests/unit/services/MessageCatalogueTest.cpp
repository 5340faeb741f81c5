#include "services/messages/MessageCatalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "services/messages/DefaultMessages.h"
#include "services/messages/MessageKeys.h"
#include "support/TestIdentity.h"

namespace bastion::services {
namespace {

class MessageCatalogueTest : public ::testing::Test {
protected:
    MessageCatalogue catalogue{testing::TestIdentity()};
};

TEST_F(MessageCatalogueTest, DefaultsFillTheTableInOrderWithPlaceholdersFilled) {
    FillDefaultMessages(catalogue);
    // The first seventy keep the slots translations name them by.
    ASSERT_GT(catalogue.UsedCount(), 69u);
    EXPECT_EQ(catalogue.KeyAt(0), "MSG_THANK1");
    EXPECT_EQ(catalogue.KeyAt(69), "MSG_FALSE_POS5");
    EXPECT_EQ(catalogue.TextAt(0), "Thank you for using [ProgramName]!");

    EXPECT_EQ(catalogue.getMessages(msg::kThank1), "Thank you for using Testwall!");
    EXPECT_EQ(catalogue.getMessages(msg::kCaption), "Testwall by Testwall Labs");
    EXPECT_EQ(catalogue.getMessages(msg::kPaused), "Testwall has been paused.  Click OK to resume.");
    EXPECT_EQ(catalogue.getMessages(msg::kFound2), "] using you system memory. Click YES to stop [");
    EXPECT_EQ(catalogue.getMessages(msg::kWebsite), "Visit [Website]") << "messages leave the website alone";
    EXPECT_FALSE(catalogue.getMessages(msg::kTitleLanguage).empty());
    EXPECT_FALSE(catalogue.getMessages(msg::kDownloaded).empty());
}

TEST_F(MessageCatalogueTest, LowerCaseTextsComeBackWithAnUpperCaseFirstLetter) {
    FillDefaultMessages(catalogue);
    EXPECT_EQ(catalogue.getMessages(msg::kErrorStopped),
              "Could not be stopped.  You should try again after saving your work and closing any open "
              "applications.");
    EXPECT_EQ(catalogue.getMessages(msg::kComplete), "Complete");
    EXPECT_EQ(catalogue.TextAt(64), "complete") << "the stored text is unchanged";
}

TEST_F(MessageCatalogueTest, KeysAndPlaceholdersMatchIgnoringCase) {
    FillDefaultMessages(catalogue);
    EXPECT_EQ(catalogue.getMessages("msg_sure"), "Are you sure?");
    catalogue.setMessage("MSG_MIXED", "[programNAME] - [COMPANYname] - [programname]");
    EXPECT_EQ(catalogue.getMessages("Msg_Mixed"), "Testwall - Testwall Labs - Testwall");
}

TEST_F(MessageCatalogueTest, UnknownKeysAndEmptyTextsGiveEmptyText) {
    EXPECT_EQ(catalogue.getMessages(msg::kSure), "") << "an empty table";
    catalogue.setMessage("MSG_EMPTY", "");
    EXPECT_EQ(catalogue.getMessages("MSG_EMPTY"), "");
    EXPECT_EQ(catalogue.getMessages("MSG_NOT_THERE"), "");
}

TEST_F(MessageCatalogueTest, ARepeatedKeyTakesAnotherSlotAndTheFirstWins) {
    catalogue.setMessage("MSG_TWICE", "first");
    catalogue.setMessage("msg_twice", "second");
    EXPECT_EQ(catalogue.UsedCount(), 2u);
    EXPECT_EQ(catalogue.getMessages("MSG_TWICE"), "First");
}

TEST_F(MessageCatalogueTest, AFullTableIgnoresFurtherMessages) {
    for (std::size_t i = 0; i < MessageCatalogue::kSlotCount; ++i)
        catalogue.setMessage("MSG_" + std::to_string(i), "text " + std::to_string(i));
    catalogue.setMessage("MSG_LATE", "late");
    EXPECT_EQ(catalogue.UsedCount(), 201u);
    EXPECT_EQ(catalogue.getMessages("MSG_200"), "Text 200");
    EXPECT_EQ(catalogue.getMessages("MSG_LATE"), "");
}

TEST_F(MessageCatalogueTest, TranslationReplacesUsedSlotsOnly) {
    catalogue.setMessage(msg::kSure, "Are you sure?");
    catalogue.SetTextAt(0, "Sind Sie sicher, [ProgramName]?");
    catalogue.SetTextAt(1, "nowhere");
    EXPECT_EQ(catalogue.getMessages(msg::kSure), "Sind Sie sicher, Testwall?");
    EXPECT_EQ(catalogue.UsedCount(), 1u);
}

}  // namespace
}  // namespace bastion::services
