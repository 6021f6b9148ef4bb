// The configuration dialog opened by its launcher key and clicked through as
// a person does: what it enables, what OK writes, what Cancel leaves, the
// mixer's Mono channel, and settings files holding nonsense.
#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

namespace {

// A hand on the open dialog, on the robot's thread.
struct ConfigHand {
    HWND dialog;
    void Click(int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    bool Checked(int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
};

class ConfigDialogTest : public StationTest {
  protected:
    // The script runs in the open dialog and answers the key that leaves it.
    void Configure(std::function<int(ConfigHand &)> script) {
        robot.SetAnswer([script](const SeenBox &box) -> int {
            ConfigHand hand{FindWindowA("#32770", "Config")};
            return box.caption == "Config" ? script(hand) : 0;
        });
        PressLauncher(IDC_CONFIG);
        robot.SetAnswer(nullptr);
    }
    // Values of keys of section "Mixer", one blank between each.
    std::string Values(std::initializer_list<const char *> keys) {
        std::string values;
        for (const char *key : keys)
            values += (values.empty() ? "" : " ") + Setting("Mixer", key);
        return values;
    }
};

TEST_F(ConfigDialogTest, NewKeepsTheChosenFormatAndAppendLeavesItAsItWas) {
    ASSERT_EQ(Start(), 0 + StationRunning);
    Configure([](ConfigHand &hand) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(hand.dialog, 1017)));
        EXPECT_TRUE(hand.Checked(309) && hand.Checked(300) && hand.Checked(303) &&
                    hand.Checked(305));
        for (int key : {301, 304, 306})
            hand.Click(key);
        return IDOK;
    });
    // What a new recording takes its format from.
    EXPECT_EQ(Values({"RECMODE", "Mono", "Bits", "SampleRate"}), "2 2 16 44100");

    Configure([](ConfigHand &hand) {
        for (int key : {300, 302, 305, 308}) // a format first, then Append
            hand.Click(key);
        for (int key = 300; key <= 306; ++key)
            EXPECT_FALSE(hand.Enabled(key)) << key;
        EXPECT_EQ(WaveRecordMode, 1) << "the live mode changes at once";
        return IDOK;
    });
    EXPECT_EQ(Values({"RECMODE", "Mono", "Bits", "SampleRate"}), "1 2 16 44100");
}

TEST_F(ConfigDialogTest, CancelPutsEveryLiveValueBackAndWritesNothing) {
    WriteSettingsFile("[Mixer]\r\nAUTOPLAY=1\r\nSELECTABLE=1\r\nMIDIDISPLAY=0\r\n");
    ASSERT_EQ(Start(), 0 + StationRunning);
    DisplaySettings before = Display;
    int mode = WaveRecordMode;
    std::string file = SettingsFileContents();
    Configure([](ConfigHand &hand) {
        for (int key : {1070, 1071, 1076, 1074, 307})
            hand.Click(key);
        EXPECT_EQ(Display.autoPlay, 0);
        EXPECT_EQ(Display.midiDisplay, 1);
        return IDCANCEL;
    });
    EXPECT_EQ(std::memcmp(&Display, &before, sizeof before), 0);
    EXPECT_EQ(WaveRecordMode, mode);
    EXPECT_EQ(SettingsFileContents(), file);
}

// A settings file that cannot be written: OK says so at once and the dialog
// stays open, with the choices as they were made.
TEST_F(ConfigDialogTest, AFailedWriteIsToldAndKeepsTheDialogOpen) {
    ASSERT_EQ(Start(), 0 + StationRunning);
    MakeSettingsFileReadOnly();
    std::string told;
    bool stillOpen = false, kept = false;
    Configure([&](ConfigHand &hand) {
        hand.Click(301);
        PostMessageA(GetDlgItem(hand.dialog, IDOK), BM_CLICK, 0, 0);
        told = AnswerBoxInDialog("sonikbay32 error", IDOK);
        Sleep(100);
        stillOpen = IsWindow(hand.dialog) != FALSE;
        kept = hand.Checked(301);
        return IDCANCEL;
    });
    EXPECT_EQ(told, "Can't save settings");
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(kept);
}

TEST_F(ConfigDialogTest, OkWritesChoicesThatTheNextExitTurnsIntoPositionsAndHidesMonoAtOnce) {
    SimCardConfig card;
    card.mixer.present = true;
    WriteSettingsFile("[Mixer]\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=2\r\nCDDISPLAY=1\r\nMonoIn=1\r\n");
    ASSERT_EQ(Start("", card), 0 + StationRunning);
    ASSERT_NE(MixerPanel, nullptr);
    for (int id : {40, 1008, 28})
        ASSERT_TRUE(IsWindowVisible(GetDlgItem(MixerPanel, id))) << id;
    Configure([](ConfigHand &hand) {
        for (int key : {1070, 1071, 1072, 1077, 1075, 1076})
            EXPECT_FALSE(hand.Enabled(key)) << "auto play is off";
        EXPECT_TRUE(!hand.Checked(1070) && hand.Checked(1071) && hand.Checked(1077));
        hand.Click(1015);
        return IDOK;
    });
    for (int id : {40, 1008, 28})
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(MixerPanel, id))) << id;
    EXPECT_EQ(Values({"WAVEDISPLAY", "MIDIDISPLAY", "CDDISPLAY", "MIXDISPLAY"}), "0 1 1 1");
    Close();
    EXPECT_EQ(Values({"WAVEDISPLAY", "MIDIDISPLAY", "CDDISPLAY", "MIXDISPLAY", "MonoIn"}),
              "0 2 1 3 0");
}

TEST_F(ConfigDialogTest, NonsenseInTheFileOpensWithSaneChoicesAndWritesThem) {
    WriteSettingsFile("[Mixer]\r\nAUTOPLAY=1\r\nSELECTABLE=7\r\nMono=9\r\nBits=-3\r\n"
                      "SampleRate=12345x\r\nWAVEDISPLAY=zz\r\n");
    ASSERT_EQ(Start(), 0 + StationRunning);
    WaveRecordMode = 42;
    Configure([](ConfigHand &hand) {
        EXPECT_TRUE(hand.Checked(1073) && hand.Checked(1076) && hand.Checked(309));
        EXPECT_TRUE(hand.Checked(301) && hand.Checked(306) && hand.Checked(302));
        EXPECT_FALSE(hand.Enabled(1071)) << "Now Playing leaves the components off";
        return IDOK;
    });
    EXPECT_EQ(Values({"SELECTABLE", "RECMODE", "Mono", "Bits", "SampleRate", "WAVEDISPLAY"}),
              "0 2 2 16 11025 0");
}

} // namespace
