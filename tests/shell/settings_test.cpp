// The settings file: typed reads with defaults, decimal writes, fixed buffers.
#include "shell/settings.h"
#include "tests/support/station_harness.h"

#include <cstring>
#include <string>

using SettingsTest = StationTest;

TEST_F(SettingsTest, MissingFileAndKeysReadAsDefaults) {
    EXPECT_EQ(ReadSettingInt("Mixer", "CDDISPLAY", 3), 3);
    char text[64];
    ReadSettingText("Mixer", "PlayListName", "untitled", text, sizeof text);
    EXPECT_STREQ(text, "untitled");
}

TEST_F(SettingsTest, IntegersAreWrittenAsDecimalTextAndReadBack) {
    EXPECT_TRUE(WriteSettingInt("Init", "X", -120));
    EXPECT_TRUE(WriteSettingInt("Init", "Y", 65535));
    EXPECT_EQ(Setting("Init", "X"), "-120");
    EXPECT_EQ(Setting("Init", "Y"), "65535");
    EXPECT_EQ(ReadSettingInt("Init", "X", 0), -120);
    EXPECT_EQ(ReadSettingInt("Init", "Y", 0), 65535);
}

TEST_F(SettingsTest, ValuesAreReadFreshEveryTime) {
    WriteSettingsFile("[Mixer]\r\nLock=0\r\n");
    EXPECT_EQ(ReadSettingInt("Mixer", "Lock", 1), 0);
    WriteSettingsFile("[Mixer]\r\nLock=1\r\n");
    EXPECT_EQ(ReadSettingInt("Mixer", "Lock", 0), 1);
}

TEST_F(SettingsTest, OverlongTextIsCutToItsBufferAndNothingBeyondIsTouched) {
    std::string longName(300, 'n');
    WriteSettingsFile("[Mixer]\r\nPlayListName=" + longName + "\r\n");
    char buffer[64 + 8];
    std::memset(buffer, '#', sizeof buffer);
    ReadSettingText("Mixer", "PlayListName", "untitled", buffer, 64);
    EXPECT_EQ(std::string(buffer), std::string(63, 'n'));
    for (size_t i = 64; i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], '#') << "byte " << i << " beyond the buffer was written";
}

TEST_F(SettingsTest, GarbageNumbersReadAsThePlatformMakesThem) {
    WriteSettingsFile("[Mixer]\r\nA=garbage\r\nB=12abc\r\nC=\r\n");
    EXPECT_EQ(ReadSettingInt("Mixer", "A", 7), 0);
    EXPECT_EQ(ReadSettingInt("Mixer", "B", 7), 12);
    EXPECT_EQ(ReadSettingInt("Mixer", "C", 7), 7) << "an empty value counts as missing";
}

TEST_F(SettingsTest, WriteToReadOnlyFileReportsFailureAndKeepsTheFile) {
    WriteSettingsFile("[Init]\r\nX=10\r\n");
    MakeSettingsFileReadOnly();
    SettingsWriteFailed();
    EXPECT_FALSE(WriteSettingInt("Init", "X", 20));
    EXPECT_EQ(ReadSettingInt("Init", "X", 0), 10);
    // A dialog's report covers its own writes only: the failure before its
    // mark is still the exit's to tell, the one it reported is not.
    int mark = SettingsWriteMark();
    EXPECT_FALSE(ReportSettingsWritesSince(mark, nullptr));
    EXPECT_TRUE(SettingsWriteFailed());
    mark = SettingsWriteMark();
    WriteSettingInt("Init", "X", 30);
    robot.SetAnswer([](const SeenBox &) { return IDOK; });
    EXPECT_TRUE(ReportSettingsWritesSince(mark, nullptr));
    EXPECT_FALSE(SettingsWriteFailed());
}
