#include "scan/ScanOptions.h"

#include <gtest/gtest.h>

#include "services/settings/SettingKeys.h"
#include "support/FakeRegistry.h"

namespace bastion {
namespace {

namespace keys = services::settings;

TEST(ScanOptionsTest, StoredOptionsReadEitherFormAndOverridesWinWithoutBeingStored) {
    testing::FakeRegistry registry;
    services::SettingsStore settings{registry, "Testwall"};
    StoredScanOptions options{settings};

    ScanOptions defaults = options.Current();
    EXPECT_TRUE(defaults.scanCookies && defaults.sweepMemory && defaults.scanRegistry && defaults.makeLog);
    EXPECT_EQ(defaults.walkThreads, 0) << "as many listing threads as the processor runs";

    settings.Write(keys::kChkScanCookies, "0");
    settings.Write(keys::kChkSweepMemory, "False");
    settings.Write(keys::kChkScanRegistry, "True");
    settings.Write(keys::kChkMakeLog, "1");
    ScanOptions stored = options.Current();
    EXPECT_FALSE(stored.scanCookies);
    EXPECT_FALSE(stored.sweepMemory);
    EXPECT_TRUE(stored.scanRegistry);
    EXPECT_TRUE(stored.makeLog);
    settings.Write(keys::kChkParallelWalk, "0");
    EXPECT_EQ(options.Current().walkThreads, 1) << "one thread, for slow network drives";

    options.overrides.scanRegistry = false;
    options.overrides.sweepMemory = true;
    options.overrides.walkThreads = 3;
    ScanOptions overridden = options.Current();
    EXPECT_FALSE(overridden.scanRegistry);
    EXPECT_TRUE(overridden.sweepMemory);
    EXPECT_EQ(overridden.walkThreads, 3);
    EXPECT_EQ(settings.Read(keys::kChkScanRegistry), "True");
    EXPECT_EQ(settings.Read(keys::kChkSweepMemory), "False");
}

}  // namespace
}  // namespace bastion
