#include "removal/quarantine/QuarantineIndex.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

TEST(QuarantineIndex, RecordsSurviveTornWritesAndOddNamesAndRestoredOnesLeave) {
    const QuarantineItem odd{3, "3/16/2006 1:00:00 PM", QuarantineKind::RegistryValue, "3_v.reg",
                             "HKEY_CURRENT_USER\\Software\\X\\tab\there%0A\r\nline"};
    const QuarantineItem file{4, "3/16/2006", QuarantineKind::File, "4_spy.exe", "C:\\A\\spy.exe"};
    std::string content = FormatIndexRecord(odd) + "\r\n" + FormatIndexRecord(file) + "\r\n";
    // A crash in the middle of a record: the torn line is no record, and the
    // next one starts a line of its own.
    const std::string torn = FormatIndexRecord({9, "d", QuarantineKind::Folder, "9_x", "C:\\x"});
    content += torn.substr(0, torn.size() - 2) + "\r\n";
    EXPECT_EQ(ParseIndex(content), (std::vector<QuarantineItem>{odd, file}));
    EXPECT_EQ(HighestIndexId(content), 4u);

    content += FormatRestoredRecord(3) + "\r\n";
    EXPECT_EQ(ParseIndex(content), std::vector<QuarantineItem>{file});
}

}  // namespace
}  // namespace bastion
