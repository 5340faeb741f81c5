// Restore points through srclient.dll. Wine's own library refuses every
// request, so the requests themselves are checked against a stand-in
// library that records them: what a removal asks the system for.
#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32SystemRestore.h"
#include "removal/RestorePoints.h"

namespace bastion::win32 {
namespace {

using RecordedRequestsFunction = int(WINAPI*)(RESTOREPOINTINFOW*, int);

TEST(SystemRestoreWineTest, ARemovalsRestorePointIsBegunAsAChangeOfSettingsAndEndedWithItsNumber) {
    const std::wstring recorderPath = Widen(test::ProgramFolder() + "\\RestoreRecorder.dll");
    Win32SystemRestore restore(recorderPath);
    RestorePoint point(restore);
    const std::string description = "Bastion Restore Point " + std::string(400, 'd');
    ASSERT_TRUE(point.BeginRestorePoint(description, kModifySettingsRestorePoint));
    EXPECT_FALSE(point.BeginRestorePoint("again", kModifySettingsRestorePoint)) << "one is open already";
    EXPECT_TRUE(point.EndRestorePoint());
    EXPECT_FALSE(point.Open());
    EXPECT_FALSE(point.BeginRestorePoint("refuse", kModifySettingsRestorePoint)) << "a refusal is no restore point";

    // The library is loaded once and kept: this is the very module that
    // answered.
    UniqueModule recorder(::LoadLibraryW(recorderPath.c_str()));
    ASSERT_TRUE(recorder);
    auto recorded = reinterpret_cast<RecordedRequestsFunction>(
        reinterpret_cast<void*>(::GetProcAddress(recorder.Get(), "RecordedRequests")));
    ASSERT_NE(recorded, nullptr);
    RESTOREPOINTINFOW requests[8] = {};
    ASSERT_EQ(recorded(requests, 8), 3);
    EXPECT_EQ(requests[0].dwEventType, static_cast<DWORD>(BEGIN_SYSTEM_CHANGE));
    EXPECT_EQ(requests[0].dwRestorePtType, static_cast<DWORD>(MODIFY_SETTINGS));
    EXPECT_EQ(requests[0].llSequenceNumber, 0);
    // Cut to the field, with its NUL.
    EXPECT_EQ(std::wstring(requests[0].szDescription), Widen(description.substr(0, MAX_DESC_W - 1)));
    EXPECT_EQ(requests[1].dwEventType, static_cast<DWORD>(END_SYSTEM_CHANGE));
    EXPECT_EQ(requests[1].llSequenceNumber, 41);
    EXPECT_EQ(requests[2].dwEventType, static_cast<DWORD>(BEGIN_SYSTEM_CHANGE));

    // The system's own library, from the system folder: under Wine it makes
    // no restore point, and that is said, not taken for one.
    Win32SystemRestore system;
    EXPECT_FALSE(system.Begin("Bastion Restore Point", kModifySettingsRestorePoint).has_value());
}

}  // namespace
}  // namespace bastion::win32
