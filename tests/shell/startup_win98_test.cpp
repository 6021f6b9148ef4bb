// Start-up as the Windows 95 family sees it.
#include "shell/station.h"
#include "tests/support/station_harness.h"

using Win98StartupTest = StationTest;

TEST_F(Win98StartupTest, NegativeSavedPositionIsUsedAsItIs) {
    ASSERT_EQ(PlatformFamilyOfThisPrefix(), 95) << "the prefix must report the 95 family";
    WriteSettingsFile("[Init]\r\nX=-50\r\nY=-20\r\n");
    ASSERT_EQ(Start(), -1);
    EXPECT_EQ(PlatformFamily, 95);
    EXPECT_EQ(WindowX, -50);
    EXPECT_EQ(WindowY, -20);
    RECT outer;
    GetWindowRect(MainWindow, &outer);
    EXPECT_EQ(outer.left, -50);
    EXPECT_EQ(outer.top, -20);
    Close();
    EXPECT_EQ(Setting("Init", "X"), "-50");
    EXPECT_EQ(Setting("Init", "Y"), "-20");
}
