// The mixer panel on the simulated card's variants and on Wine's own mixer:
// the channels shown, the fader scales, Lock and the linked mic pair under a
// real pointer, the source keys, mutes from outside, and the order of the
// notifications the change tracker follows.
#include "tests/support/station_harness.h"

#include "mixer/mixer_access.h"
#include "mixer/mixer_panel.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mixer.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int MasterLeft = 23, MasterRight = 24, WaveLeft = 16, WaveRight = 17;
constexpr int RecLeft = 25, RecRight = 26;
constexpr int LockKey = 1030, LoopKey = 9, WaveMuteKey = 4;
constexpr int LoopSourceKey = 7020, CdSourceKey = 7017, MicSourceKey = 7019;
constexpr int SliderLitSlot = 32;

// Every MM_MIXM_CONTROL_CHANGE the main window gets, in order.
std::vector<DWORD> Notices;
WNDPROC MainProc;

LRESULT CALLBACK RecordNotices(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MIXM_CONTROL_CHANGE)
        Notices.push_back(static_cast<DWORD>(lParam));
    return CallWindowProcA(MainProc, window, message, wParam, lParam);
}

// Every IDC_RECSOURCE the WAVE panel gets: the source in the high word.
std::vector<int> SourcesToWave;
WNDPROC WaveProc;

LRESULT CALLBACK RecordSources(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_RECSOURCE && LOWORD(lParam) == 0)
        SourcesToWave.push_back(HIWORD(lParam));
    return CallWindowProcA(WaveProc, window, message, wParam, lParam);
}

class MixerPanelTest : public StationTest {
  protected:
    void TearDown() override {
        Notices.clear();
        SourcesToWave.clear();
        StationTest::TearDown();
    }

    void StartWithMixer(SimMixerConfig mixer = {}, const std::string &settings = "") {
        mixer.present = true;
        SimCardConfig card;
        card.mixer = mixer;
        card.mci.cd.drive = false;
        WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=0\r\n"
                          "MIXDISPLAY=0\r\n" +
                          settings);
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        MainProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordNotices)));
        WaveProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(WavePanel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordSources)));
    }
    // The device's state before the panel opens, as another program left it.
    void Device(DWORD control, LONG left, LONG right) {
        SetSimControlValue(control, 0, 0, left);
        SetSimControlValue(control, 1, 0, right);
    }
    void OpenPanel() {
        PressLauncher(IDC_SHOW_MIXER);
        ASSERT_NE(MixerPanel, nullptr);
        Pump(100);
        Notices.clear();
        SourcesToWave.clear();
    }

    HWND Item(int id) { return GetDlgItem(MixerPanel, id); }
    bool Shown(int id) { return IsWindowVisible(Item(id)) != FALSE; }
    int Fader(int id) { return LOWORD(SendMessageA(Item(id), SVM_GETPOS, 0, 0)); }
    bool Lit(int id) { return GetWindowLongA(Item(id), SliderLitSlot) == 1; }
    bool Latched(int id) { return ButtonLatched(Item(id)); }
    std::string Label(int id) {
        char text[32] = "";
        GetDlgItemTextA(MixerPanel, id, text, sizeof text);
        return text;
    }
    void Click(int id) {
        SendMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    }
    // A drag of a fader's thumb by dy pixels through window messages.
    void Slide(int id, int dy) {
        HWND fader = Item(id);
        int top = GetWindowLongA(fader, 20);
        SendMessageA(fader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, top + 3));
        SendMessageA(fader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(9, top + 3 + dy));
        SendMessageA(fader, WM_LBUTTONUP, 0, MAKELPARAM(9, top + 3 + dy));
        Pump();
    }
    // The same drag with the system's own pointer; false where the display
    // does not let the pointer be placed.
    bool Drag(int id, int dy) {
        HWND fader = Item(id);
        POINT p = {9, GetWindowLongA(fader, 20) + 3};
        ClientToScreen(fader, &p);
        SetCursorPos(p.x, p.y);
        Pump(30);
        POINT now;
        GetCursorPos(&now);
        if (now.x != p.x || now.y != p.y || WindowFromPoint(p) != fader)
            return false;
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        SendInput(1, &in, sizeof in);
        Pump(30);
        for (int step = 1; step <= 2; ++step) {
            SetCursorPos(p.x, p.y + dy * step / 2);
            Pump(30);
        }
        in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &in, sizeof in);
        Pump(100);
        SetCursorPos(1100, 1000);
        return true;
    }

    const MixerControls &map = MixerControlMap;
};

TEST_F(MixerPanelTest, ShowsTheChannelsOfEachCardAndTheDeviceInItsScales) {
    struct Variant {
        const char *name;
        int family;
        bool line, aux;
        const char *monoIn;
        std::vector<int> shown, hidden;
    };
    const Variant variants[] = {
        {"full card, NT",
         40,
         true,
         true,
         "MonoIn=1\r\n",
         {23, 16, 18, 14, 20, 22, 28, 40},
         {29, 30, 41}},
        {"full card, 95 family",
         95,
         true,
         true,
         "",
         {23, 16, 18, 14, 20, 22, 29, 30, 41},
         {28, 40, 1008}},
        // The compact disc stands in for the line, on output and record side.
        {"no line source", 40, false, true, "", {14, 15, 3, 20, 21, 6}, {}},
        // ... and then cannot stand in for the auxiliary input as well.
        {"neither line nor aux", 40, false, false, "", {20, 21, 6}, {14, 15, 3, 1010}},
    };
    for (const Variant &v : variants) {
        SCOPED_TRACE(v.name);
        SimMixerConfig mixer;
        mixer.family = v.family;
        mixer.lineSource = v.line;
        mixer.auxSource = v.aux;
        StartWithMixer(mixer, v.monoIn);
        if (v.family != PlatformFamily) {
            // The probe as that family makes it.
            PlatformFamily = v.family;
            CloseMixer();
            SimCardConfig card;
            card.mixer = mixer;
            card.mixer.present = true;
            card.mci.cd.drive = false;
            InstallSimulatedCard(card);
            OpenMixer(MainWindow);
            ProbeMixer();
        }
        Device(map.MasterVolume, 65535, 4094);
        Device(map.WaveVolume, 65535, 1022);
        OpenPanel();
        for (int id : v.shown)
            EXPECT_TRUE(Shown(id)) << id;
        for (int id : v.hidden)
            EXPECT_FALSE(Shown(id)) << id;
        EXPECT_EQ(Label(10), "CD") << "the CD recording source is there all the same";
        EXPECT_EQ(Fader(MasterLeft), 16);
        EXPECT_EQ(Fader(MasterRight), 0);
        EXPECT_EQ(Fader(WaveLeft), 64);
        EXPECT_EQ(Fader(WaveRight), 0);
        Close();
    }
}

TEST_F(MixerPanelTest, FadersWriteTheDeviceInItsScales) {
    StartWithMixer({}, "Lock=0\r\n");
    Device(map.MasterVolume, 0, 0);
    Device(map.WaveVolume, 0, 0);
    OpenPanel();
    Slide(MasterLeft, -60); // to the top: 16
    EXPECT_EQ(SimControlValue(map.MasterVolume, 0), 65520);
    EXPECT_EQ(SimControlValue(map.MasterVolume, 1), 0) << "Lock is off";
    Slide(WaveRight, -60);
    EXPECT_EQ(SimControlValue(map.WaveVolume, 1), 65472);
}

TEST_F(MixerPanelTest, LockMovesThePairTogetherUnderARealPointer) {
    StartWithMixer();
    Device(map.MasterVolume, 12 * 4095, 8 * 4095);
    OpenPanel();
    ASSERT_TRUE(Latched(LockKey));
    if (!Drag(MasterLeft, -10))
        GTEST_SKIP() << "the pointer cannot reach the fader on this display";
    EXPECT_EQ(Fader(MasterLeft), 16);
    EXPECT_EQ(Fader(MasterRight), 12) << "moved by the same 10 pixels";
    EXPECT_EQ(SimControlValue(map.MasterVolume, 1), 12 * 4095);
    ASSERT_TRUE(Drag(MasterLeft, -10)); // the left one is at the end already
    EXPECT_EQ(Fader(MasterLeft), 16);
    EXPECT_EQ(Fader(MasterRight), 16);

    Click(LockKey);
    EXPECT_EQ(LockOption, 0);
    ASSERT_TRUE(Drag(MasterRight, 20));
    EXPECT_EQ(Fader(MasterLeft), 16);
    EXPECT_EQ(Fader(MasterRight), 8);
}

TEST_F(MixerPanelTest, TheMicRecordPairIsAlwaysLinked) {
    StartWithMixer({}, "Lock=0\r\n");
    SetSimControlValue(map.RecSelector, 0, 0, 0);
    SetSimControlValue(map.RecSelector, 0, 1, 1); // the mic is the recording source
    Device(map.RecMicLevel, 4 * 4095, 0);
    OpenPanel();
    EXPECT_EQ(RecordSource, 1);
    EXPECT_TRUE(Latched(MicSourceKey));
    EXPECT_EQ(Fader(RecRight), 4) << "a one-channel level shows on both faders";
    Slide(RecLeft, -10);
    EXPECT_EQ(Fader(RecLeft), 8);
    EXPECT_EQ(Fader(RecRight), 8);
    EXPECT_EQ(SimControlValue(map.RecMicLevel, 0), 8 * 4095);
}

TEST_F(MixerPanelTest, SourceKeysTellTheWavePanelAndLoopMutesItsReturn) {
    StartWithMixer();
    SetSimControlValue(map.LoopMute, 0, 0, 0);
    OpenPanel();
    EXPECT_TRUE(Shown(LoopKey));
    EXPECT_TRUE(Latched(LoopKey));
    Click(LoopSourceKey);
    EXPECT_EQ(SimControlValue(map.LoopMute, 0), 1);
    EXPECT_FALSE(Shown(LoopKey));
    EXPECT_FALSE(Latched(LoopKey));
    EXPECT_TRUE(Latched(LoopSourceKey));
    SendMessageA(MixerPanel, WM_COMMAND, MAKEWPARAM(10, STN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(10))); // the "CD" label
    EXPECT_TRUE(Shown(LoopKey));
    EXPECT_TRUE(Latched(CdSourceKey));
    EXPECT_FALSE(Latched(LoopSourceKey));
    EXPECT_EQ(SourcesToWave, (std::vector<int>{3, 0}));

    // Another program picks the mic: keys and record pair follow.
    Device(map.RecMicLevel, 5 * 4095, 0);
    SetSimControlValue(map.RecSelector, 0, 0, 0);
    ChangeSimControlFromOutside(map.RecSelector, 1, 1);
    Pump();
    EXPECT_EQ(RecordSource, 1);
    EXPECT_TRUE(Latched(MicSourceKey));
    EXPECT_FALSE(Latched(CdSourceKey));
    EXPECT_EQ(Fader(RecLeft), 5);
}

TEST_F(MixerPanelTest, TheTrackerFollowsTheCardsNotificationsInOrder) {
    StartWithMixer();
    Device(map.MasterVolume, 0, 0);
    OpenPanel();
    Pump(400); // the master poll has seen the level
    Notices.clear();

    ChangeSimControlFromOutside(map.WaveMute, 1); // another program mutes Wave
    Pump();
    EXPECT_FALSE(Latched(WaveMuteKey));
    EXPECT_FALSE(Lit(WaveLeft));
    EXPECT_FALSE(Lit(WaveRight));
    Click(WaveMuteKey); // the user lets it sound again
    EXPECT_TRUE(Latched(WaveMuteKey));
    EXPECT_TRUE(Lit(WaveLeft));
    EXPECT_EQ(SimControlValue(map.WaveMute, 0), 0);

    Slide(MasterLeft, -20); // Lock on: both move to 8
    Pump(400);
    EXPECT_EQ(Fader(MasterRight), 8);
    // The card's notice of the master write, then the poll's own.
    EXPECT_EQ(Notices,
              (std::vector<DWORD>{map.WaveMute, map.WaveMute, map.MasterVolume, map.MasterVolume}));
}

// Wine's own mixer: one master control, no notifications; the poll keeps
// the panel honest and the uniform master is kept on both channels.
TEST_F(MixerPanelTest, OnWinesOwnMixer) {
    StartWithMixer();
    CloseMixer();
    RemoveSimulatedCard();
    if (Mixer.getNumDevs() == 0 || !OpenMixer(MainWindow))
        GTEST_SKIP() << "no sound server: Wine offers no mixer";
    ProbeMixer();
    DWORD before = ReadLevel(map.MasterVolume);
    WriteLevel(map.MasterVolume, MAKELONG(4 * 4095, 4 * 4095));
    OpenPanel();
    EXPECT_TRUE(Shown(MasterLeft));
    EXPECT_TRUE(Shown(MasterRight));
    for (int id : {18, 14, 20, 22, 28, 29})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_EQ(Fader(MasterRight), 4);
    bool dragged = Drag(MasterLeft, -10);
    if (dragged) {
        EXPECT_EQ(Fader(MasterLeft), 8);
        EXPECT_NEAR(LOWORD(ReadLevel(map.MasterVolume)), 8 * 4095, 1);
    }
    // Set behind the panel's back: the poll shows it, as Wine tells nobody.
    WriteLevel(map.MasterVolume, MAKELONG(12 * 4095, 12 * 4095));
    Pump(600);
    EXPECT_EQ(Fader(MasterLeft), 12);
    EXPECT_EQ(Fader(MasterRight), 12);
    if (dragged) {
        Drag(MasterLeft, 10);
        EXPECT_EQ(Fader(MasterLeft), 8);
        Pump(600);
        EXPECT_EQ(Fader(MasterLeft), 8) << "the device's answer does not drop a step";
    }
    int saved = LOWORD(ReadLevel(map.MasterVolume));
    Close();
    EXPECT_EQ(Setting("Mixer", "MASTEROUTL"), std::to_string(saved));
    EXPECT_EQ(Setting("Mixer", "MASTEROUTR"), std::to_string(saved)) << "a uniform master";
    if (dragged) {
        EXPECT_EQ(saved, 8 * 4095);
    }
    if (OpenMixer(nullptr)) {
        ProbeMixer();
        WriteLevel(map.MasterVolume, before);
        CloseMixer();
    }
    if (!dragged)
        GTEST_SKIP() << "the pointer cannot reach the fader on this display";
}

} // namespace
