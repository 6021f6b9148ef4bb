// The 3D sound and tone window on the simulated card: presets per chip
// revision, MANUAL growing the window, the faders and the switch, its place
// kept across closing and starting, and damaged effect settings.
#include "tests/support/station_harness.h"

#include "mixer/efx_window.h"
#include "mixer/mixer_access.h"
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <string>

namespace {

constexpr int Church = 1163, Manual = 1165, SwitchKey = 1070;
constexpr int BassFader = 1166, WidthFader = 1168;

class EfxWindowTest : public StationTest {
  protected:
    void StartAndOpen(const std::string &settings = "") {
        SimCardConfig card;
        card.mixer.present = true;
        card.mci.cd.drive = false;
        WriteSettingsFile(settings);
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        PressLauncher(IDC_EFX);
        ASSERT_NE(EfxWindow, nullptr);
        Pump();
    }
    HWND Item(int id) { return GetDlgItem(EfxWindow, id); }
    void Click(int id) {
        SendMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    }
    int Height() {
        RECT rect;
        GetWindowRect(EfxWindow, &rect);
        return rect.bottom - rect.top;
    }
    POINT Place() {
        RECT rect;
        GetWindowRect(EfxWindow, &rect);
        return {rect.left, rect.top};
    }
    LONG Value(DWORD control, int channel) { return SimControlValue(control, channel); }

    const MixerControls &map = MixerControlMap;
};

TEST_F(EfxWindowTest, ChurchPerChipAndManualKeepingItsLevels) {
    StartAndOpen("[EFX]\r\nSELECT=0\r\n");
    EXPECT_EQ(Height(), 160);
    for (int chip : {0, 1}) {
        ChipFlag = chip;
        Click(Church);
        EXPECT_EQ(Value(map.ToneBass, 1), 50000);
        EXPECT_EQ(Value(map.ToneTreble, 0), 30000);
        EXPECT_EQ(Value(map.EfxWide, 1), chip == 0 ? 45000 : 50000);
        EXPECT_TRUE(ButtonLatched(Item(Church)));
    }
    Click(Manual);
    EXPECT_EQ(Height(), 279);
    EXPECT_EQ(EfxSelection, EfxManual);
    EXPECT_TRUE(ButtonLatched(Item(Manual)));
    EXPECT_FALSE(ButtonLatched(Item(Church)));
    EXPECT_EQ(Value(map.ToneBass, 0), 50000) << "MANUAL keeps the preset's levels";
    EXPECT_EQ(LOWORD(SendMessageA(Item(BassFader), SVM_GETPOS, 0, 0)), 50000 / 4095);

    // The bass fader to the top writes both channels.
    HWND bass = Item(BassFader);
    SendMessageA(bass, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, GetWindowLongA(bass, 20) + 3));
    SendMessageA(bass, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(9, -30));
    SendMessageA(bass, WM_LBUTTONUP, 0, MAKELPARAM(9, -30));
    EXPECT_EQ(Value(map.ToneBass, 0), 65520);
    EXPECT_EQ(Value(map.ToneBass, 1), 65520);
    EXPECT_EQ(EfxBassValue, 16);

    EXPECT_TRUE(ButtonLatched(Item(SwitchKey))) << "the 3D stage is on";
    Click(SwitchKey);
    EXPECT_EQ(Value(map.EfxSwitch, 0), 1);
    EXPECT_EQ(GetWindowLongA(Item(WidthFader), 32), 0) << "the width fader goes dark";
    ChangeSimControlFromOutside(map.EfxSwitch, 0); // switched on elsewhere
    Pump();
    EXPECT_TRUE(ButtonLatched(Item(SwitchKey)));
    EXPECT_EQ(GetWindowLongA(Item(WidthFader), 32), 1);
}

TEST_F(EfxWindowTest, ReopensWhereItWasClosedAndAfterAStartWhenOpenAtExit) {
    StartAndOpen();
    SetWindowPos(EfxWindow, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    POINT moved = Place();
    SendMessageA(EfxWindow, WM_SYSCOMMAND, SC_CLOSE, 0); // its caption's close
    Pump();
    EXPECT_EQ(EfxWindow, nullptr);
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_EFX)));
    EXPECT_EQ(Setting("EFX", "DLOG"), "0");
    PressLauncher(IDC_EFX);
    ASSERT_NE(EfxWindow, nullptr);
    EXPECT_EQ(Place().x, moved.x);
    EXPECT_EQ(Place().y, moved.y);

    Close(); // open at exit
    EXPECT_EQ(Setting("EFX", "DLOG"), "1");
    SimCardConfig card;
    card.mixer.present = true;
    card.mci.cd.drive = false;
    ASSERT_EQ(Start("", card), 0 + StationRunning);
    UpdateWindow(LauncherBar);
    Pump();
    ASSERT_NE(EfxWindow, nullptr);
    EXPECT_EQ(Place().x, moved.x);
}

TEST_F(EfxWindowTest, DamagedSettingsOpenAWindowThatCanBeSeenAndMoved) {
    StartAndOpen("[EFX]\r\nSELECT=9\r\nBASS=400\r\nTREBLE=-5\r\n[Init]\r\n3DX=-30000\r\n"
                 "3DY=text\r\n");
    EXPECT_EQ(EfxSelection, EfxManual) << "a selection no table holds is taken as MANUAL";
    EXPECT_TRUE(ButtonLatched(Item(Manual)));
    POINT place = Place();
    EXPECT_GE(place.x, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_GE(place.y, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_LE(place.x + 225,
              GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN));
    Close();
    EXPECT_EQ(Setting("EFX", "BASS"), "16");
    EXPECT_EQ(Setting("EFX", "TREBLE"), "0");
    EXPECT_EQ(Setting("EFX", "SELECT"), "4");
}

} // namespace
