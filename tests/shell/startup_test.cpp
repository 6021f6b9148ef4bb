// Start-up of the station: settings read, panels opened in their saved order,
// language and fonts, the command line and the single-instance rule.
#include "panekit/resources/panel_ids.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/shell_integration.h"
#include "shell/startup.h"
#include "shell/station.h"
#include "tests/support/station_harness.h"

#include <string>
#include <vector>

namespace {

using StartupTest = StationTest;

SimCardConfig WithMixer() {
    SimCardConfig card;
    card.mixer.present = true;
    return card;
}

// Records the commands sent to windows of this thread while it is installed.
struct SentCommand {
    HWND window;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<SentCommand> SentCommands;

LRESULT CALLBACK RecordCommand(int code, WPARAM wParam, LPARAM lParam) {
    auto *sent = reinterpret_cast<CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_COMMAND)
        SentCommands.push_back({sent->hwnd, sent->wParam, sent->lParam});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<SentCommand> CommandsSentDuringStart(StationTest &test, const char *commandLine,
                                                 int *result) {
    SentCommands.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordCommand, nullptr, GetCurrentThreadId());
    *result = test.Start(commandLine);
    UnhookWindowsHookEx(hook);
    return SentCommands;
}

std::vector<LPARAM> PlayRequestsToCd(const std::vector<SentCommand> &commands) {
    std::vector<LPARAM> requests;
    for (const SentCommand &command : commands)
        if (command.window == CdPanel && LOWORD(command.wParam) == IDC_PLAY)
            requests.push_back(command.lParam);
    return requests;
}

} // namespace

TEST_F(StartupTest, WithoutSettingsFileWaveMidiAndCdOpenAfterTheNoMixerBox) {
    ASSERT_EQ(Start(), StationRunning);
    auto boxes = robot.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Can't open Mixer");
    EXPECT_EQ(boxes[0].caption, "sonikbay32 error");
    EXPECT_EQ(boxes[0].icon, BoxIcon::Information);

    EXPECT_EQ(StackOrder(), (std::vector<HWND>{WavePanel, MidiPanel, CdPanel}));
    RECT outer;
    GetWindowRect(MainWindow, &outer);
    EXPECT_EQ(outer.right - outer.left, 639);
    char caption[64];
    GetWindowTextA(MainWindow, caption, sizeof caption);
    EXPECT_STREQ(caption, "sonikbay32");
    EXPECT_TRUE(IsWindowVisible(MainWindow));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(LauncherBar, IDC_EFX)));
}

TEST_F(StartupTest, WithMixerTheMixerPanelOpensFourth) {
    ASSERT_EQ(Start("", WithMixer()), StationRunning);
    EXPECT_TRUE(robot.Seen().empty());
    ASSERT_NE(MixerPanel, nullptr);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{WavePanel, MidiPanel, CdPanel, MixerPanel}));
    Close();
    EXPECT_EQ(OpenSimMixers(), 0) << "the mixer is closed at exit";
    EXPECT_EQ(Setting("Mixer", "MIXDISPLAY"), "4");
}

TEST_F(StartupTest, SavedOrderIsRestoredTopToBottom) {
    WriteSettingsFile("[Mixer]\r\nCDDISPLAY=1\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=3\r\n"
                      "MIXDISPLAY=0\r\nMULTIDISPLAY=2\r\n");
    ASSERT_EQ(Start(), StationRunning);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel, PlaylistPanel, MidiPanel}));
    Close();
    EXPECT_EQ(Setting("Mixer", "CDDISPLAY"), "1");
    EXPECT_EQ(Setting("Mixer", "MULTIDISPLAY"), "2");
    EXPECT_EQ(Setting("Mixer", "MIDIDISPLAY"), "3");
    EXPECT_EQ(Setting("Mixer", "WAVEDISPLAY"), "0");
    EXPECT_EQ(Setting("Mixer", "MIXDISPLAY"), "0");
}

TEST_F(StartupTest, AutoPlayOpensOnlyThePlaylistUnlessSelectable) {
    WriteSettingsFile("[Mixer]\r\nAUTOPLAY=1\r\nSELECTABLE=0\r\nWAVEDISPLAY=1\r\n"
                      "MIDIDISPLAY=1\r\nCDDISPLAY=0\r\n");
    ASSERT_EQ(Start(), StationRunning);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{PlaylistPanel}));
    EXPECT_TRUE(AutoPlayStarted);
    Close();
    // With AUTOPLAY the display keys keep the configuration's choices.
    EXPECT_EQ(Setting("Mixer", "WAVEDISPLAY"), "1");
    EXPECT_EQ(Setting("Mixer", "MIDIDISPLAY"), "1");
    EXPECT_EQ(Setting("Mixer", "CDDISPLAY"), "0");
}

TEST_F(StartupTest, AutoPlaySelectableOpensTheTickedComponentsAfterThePlaylist) {
    WriteSettingsFile("[Mixer]\r\nAUTOPLAY=1\r\nSELECTABLE=1\r\nWAVEDISPLAY=0\r\n"
                      "MIDIDISPLAY=1\r\nCDDISPLAY=1\r\nMIXDISPLAY=1\r\n");
    ASSERT_EQ(Start("", WithMixer()), StationRunning);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{PlaylistPanel, MidiPanel, CdPanel, MixerPanel}));
}

TEST_F(StartupTest, DisplayKeysAfterExitFollowTheStack) {
    ASSERT_EQ(Start(), StationRunning);
    PressLauncher(IDC_SHOW_WAVE); // closes WAVE
    PressLauncher(IDC_SHOW_MIDI); // closes MIDI
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel}));
    EXPECT_EQ(Close(), 0);
    EXPECT_EQ(Setting("Mixer", "CDDISPLAY"), "1");
    for (const char *key : {"MIDIDISPLAY", "WAVEDISPLAY", "MIXDISPLAY", "MULTIDISPLAY"})
        EXPECT_EQ(Setting("Mixer", key), "0") << key;
    EXPECT_EQ(Setting("Mixer", "VIDEODISPLAY"), "<missing>");
    EXPECT_EQ(Setting("Mixer", "Lock"), "1");
    EXPECT_EQ(Setting("Mixer", "WaveLock"), "0");
    EXPECT_EQ(Setting("Mixer", "MonoIn"), "0");
    EXPECT_EQ(Setting("Mixer", "PlayListName"), "untitled");
    EXPECT_EQ(Setting("Mixer", "PlayListEntry"), "Listuntitled");
    // Without a mixer none of its keys are written.
    for (const char *key : {"MASTEROUTL", "MUTE_OUTDAC", "RECSOURCE", "RECINL"})
        EXPECT_EQ(Setting("Mixer", key), "<missing>") << key;
}

TEST_F(StartupTest, WindowPositionIsKeptAndNegativeValuesAreClampedOnNt) {
    if (PlatformFamilyOfThisPrefix() != 40)
        GTEST_SKIP() << "this prefix reports the 95 family";
    WriteSettingsFile("[Init]\r\nX=-50\r\nY=-20\r\n");
    ASSERT_EQ(Start(), StationRunning);
    EXPECT_EQ(WindowX, 0);
    EXPECT_EQ(WindowY, 0);
    MoveWindow(MainWindow, 120, 80, 639, ClientHeight + 60, TRUE);
    Pump();
    Close();
    EXPECT_EQ(Setting("Init", "X"), "120");
    EXPECT_EQ(Setting("Init", "Y"), "80");
}

TEST_F(StartupTest, MinimisingChangesNeitherPositionNorClientHeight) {
    WriteSettingsFile("[Init]\r\nX=40\r\nY=30\r\n");
    ASSERT_EQ(Start(), StationRunning);
    unsigned short height = ClientHeight;
    ShowWindow(MainWindow, SW_MINIMIZE);
    Pump();
    EXPECT_EQ(WindowX, 40);
    EXPECT_EQ(WindowY, 30);
    EXPECT_EQ(ClientHeight, height);
    ShowWindow(MainWindow, SW_RESTORE);
    Pump();
}

TEST_F(StartupTest, DamagedSettingsFileStartsWithDefaultsAndOverrunsNothing) {
    std::string longName(400, 'L');
    WriteSettingsFile("garbage line\r\n[Mixer\r\n[Mixer]\r\nCDDISPLAY=zz\r\n"
                      "WAVEDISPLAY=999999999999999999\r\nMIDIDISPLAY=-3\r\nLock=\r\n"
                      "PlayListName=" +
                      longName + "\r\nPlayListEntry=" + longName +
                      "\r\n[Init]\r\nX=70000\r\nY=abc\r\n");
    ASSERT_EQ(Start(), StationRunning);
    EXPECT_EQ(std::string(PlayListName), std::string(63, 'L'));
    EXPECT_EQ(std::string(PlayListEntry), std::string(63, 'L'));
    EXPECT_EQ(WindowX, static_cast<short>(70000));
    EXPECT_EQ(WindowY, 0);
    EXPECT_TRUE(StackOrder().size() <= 5u);
    EXPECT_EQ(Close(), 0);
}

TEST_F(StartupTest, ReadOnlySettingsFileIsLeftAsItWas) {
    const std::string before = "[Mixer]\r\nCDDISPLAY=1\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=0\r\n"
                               "MIXDISPLAY=0\r\n";
    WriteSettingsFile(before);
    MakeSettingsFileReadOnly();
    ASSERT_EQ(Start(), StationRunning);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel}));
    PressLauncher(IDC_SHOW_MIDI);
    robot.Forget();
    EXPECT_EQ(Close(), 0);
    EXPECT_EQ(SettingsFileContents(), before);
    auto boxes = robot.Seen();
    ASSERT_EQ(boxes.size(), 1u) << "the user is told once that nothing could be saved";
    EXPECT_EQ(boxes[0].text, "Can't save settings");
    EXPECT_EQ(boxes[0].caption, "sonikbay32 error");
    EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
}

TEST_F(StartupTest, LanguageValues) {
    EXPECT_EQ(LanguageCodeOf("fra"), 3);
    EXPECT_EQ(LanguageCodeOf("FRx"), 3);
    EXPECT_EQ(LanguageCodeOf("de-DE"), 4);
    EXPECT_EQ(LanguageCodeOf("ita"), 5);
    EXPECT_EQ(LanguageCodeOf("ESP"), 6);
    EXPECT_EQ(LanguageCodeOf("jpn"), 81);
    EXPECT_EQ(LanguageCodeOf("JPN"), 81);
    EXPECT_EQ(LanguageCodeOf("JPNX"), 1);
    EXPECT_EQ(LanguageCodeOf("enu"), 1);
    EXPECT_EQ(LanguageCodeOf(""), 1);
}

TEST_F(StartupTest, LanguageIsTakenFromThePlatformProfile) {
    char saved[64];
    GetProfileStringA("intl", "sLanguage", "", saved, sizeof saved);
    WriteProfileStringA("intl", "sLanguage", "fra");
    int result = Start();
    int language = LanguageCode;
    WriteProfileStringA("intl", "sLanguage", saved[0] != '\0' ? saved : nullptr);
    ASSERT_EQ(result, StationRunning);
    EXPECT_EQ(language, 3);
}

TEST_F(StartupTest, FontHeightsFollowAscentAndLanguage) {
    struct Case {
        int ascent, language, shell;
        int panel, mixer, playlist;
        BYTE panelSet, mixerSet, playlistSet;
    };
    const Case cases[] = {
        // a = 13, English: panel 13*6/5; mixer h = 13*8/5 = 20 -> 10; playlist 20*14/10 = 28 -> 16
        {13, 1, 95, 15, 10, 16, DEFAULT_CHARSET, OEM_CHARSET, DEFAULT_CHARSET},
        // a = 20, French: panel 18*8/10; mixer h = 20*9/10 = 18 -> 10; playlist 18*11/10 = 19,
        // 19*12/10 = 22 -> 17
        {20, 3, 95, 14, 10, 17, DEFAULT_CHARSET, OEM_CHARSET, OEM_CHARSET},
        // a = 16, Japanese on the older shell: h = 25 -> 25*7/5 = 35 -> 10; playlist 35*11/10
        {16, 81, 31, 19, 10, 19, SHIFTJIS_CHARSET, SHIFTJIS_CHARSET, SHIFTJIS_CHARSET},
        // a = 16, Spanish: mixer 25*5/10; playlist 25*11/10 = 27 -> 16, OEM
        {16, 6, 95, 19, 12, 16, DEFAULT_CHARSET, DEFAULT_CHARSET, OEM_CHARSET},
        // a = 20, Italian: mixer 20*5/10; playlist 22*7/10
        {20, 5, 95, 18, 10, 15, DEFAULT_CHARSET, OEM_CHARSET, DEFAULT_CHARSET},
    };
    for (const Case &c : cases) {
        SharedFontSizes sizes = ComputeSharedFontSizes(c.ascent, c.language, c.shell);
        SCOPED_TRACE(testing::Message() << "ascent " << c.ascent << " language " << c.language);
        EXPECT_EQ(sizes.panel.height, c.panel);
        EXPECT_EQ(sizes.mixer.height, c.mixer);
        EXPECT_EQ(sizes.playlist.height, c.playlist);
        EXPECT_EQ(sizes.panel.charset, c.panelSet);
        EXPECT_EQ(sizes.mixer.charset, c.mixerSet);
        EXPECT_EQ(sizes.playlist.charset, c.playlistSet);
    }
}

TEST_F(StartupTest, PlayCommandLineParsing) {
    EXPECT_EQ(PlayTrackOfCommandLine("/play"), 1);
    EXPECT_EQ(PlayTrackOfCommandLine("/play %3"), 3);
    EXPECT_EQ(PlayTrackOfCommandLine("  /play D:\\Track%  12.cda"), 12);
    EXPECT_EQ(PlayTrackOfCommandLine("/play %abc"), 1);
    EXPECT_EQ(PlayTrackOfCommandLine("/play %0"), 1);
    EXPECT_EQ(PlayTrackOfCommandLine("/play %99999999999999999999"), 0xFFFF);
    EXPECT_EQ(PlayTrackOfCommandLine("/PLAY %3"), 0);
    EXPECT_EQ(PlayTrackOfCommandLine("/player"), 0);
    EXPECT_EQ(PlayTrackOfCommandLine(""), 0);
    EXPECT_EQ(PlayTrackOfCommandLine(("/play " + std::string(5000, 'x') + "%7").c_str()), 7);
}

TEST_F(StartupTest, PlayCommandLineReachesTheCdPanelAfterStartUp) {
    int result = 0;
    auto requests = PlayRequestsToCd(CommandsSentDuringStart(*this, "/play %3", &result));
    ASSERT_EQ(result, StationRunning);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(LOWORD(requests[0]), 3);
    EXPECT_EQ(HIWORD(requests[0]), PLAY_TRACK_REQUEST);
}

TEST_F(StartupTest, PlayAloneAsksForTrackOneAndCapitalsAskForNothing) {
    int result = 0;
    auto requests = PlayRequestsToCd(CommandsSentDuringStart(*this, "/play", &result));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], MAKELPARAM(1, PLAY_TRACK_REQUEST));
    Close();
    requests = PlayRequestsToCd(CommandsSentDuringStart(*this, "/PLAY", &result));
    EXPECT_TRUE(requests.empty());
}

TEST_F(StartupTest, SecondStartOnlyRaisesTheFirstWindow) {
    ASSERT_EQ(Start(), StationRunning);
    ShowWindow(MainWindow, SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(IsIconic(MainWindow));
    robot.Forget();

    EXPECT_EQ(RunProgram(BuildFile("sbay32.exe"), "/play %2"), 1u);
    EXPECT_FALSE(IsIconic(MainWindow));
    EXPECT_EQ(FindWindowA("sonikbay", nullptr), MainWindow);
    EXPECT_TRUE(robot.Seen().empty()) << "the second start shows nothing";
}

TEST_F(StartupTest, WithoutItsLibraryTheProgramSaysItCannotOpenItsWindow) {
    // A copy of the program in a directory of its own, without panekit32.dll.
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    std::string lonely =
        std::string(directory) + "sbay_lonely_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(lonely.c_str(), nullptr);
    std::string program = lonely + "\\sbay32.exe";
    ASSERT_TRUE(CopyFileA(BuildFile("sbay32.exe").c_str(), program.c_str(), FALSE));

    DWORD exitCode = RunProgram(program, "");
    DeleteFileA(program.c_str());
    RemoveDirectoryA(lonely.c_str());

    EXPECT_EQ(exitCode, 0u);
    auto boxes = robot.Seen();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text, "Can't Open Window");
    EXPECT_EQ(boxes.back().caption, "sonikbay32");
}

TEST_F(StartupTest, EndOfSessionClosesTheStationAndSavesItsSettings) {
    ASSERT_EQ(Start(), StationRunning);
    PressLauncher(IDC_SHOW_CD);
    EXPECT_EQ(SendMessageA(MainWindow, WM_ENDSESSION, FALSE, 0), 1);
    EXPECT_EQ(RunMessageLoop(), 0);
    EndStation();
    running = false;
    EXPECT_EQ(Setting("Mixer", "CDDISPLAY"), "0");
    EXPECT_EQ(Setting("Mixer", "WAVEDISPLAY"), "1");
    EXPECT_EQ(Setting("Mixer", "MIDIDISPLAY"), "2");
}

namespace {

// Whether the main window was on screen each time it was activated.
std::vector<bool> MainActivations;

LRESULT CALLBACK RecordActivation(int code, WPARAM wParam, LPARAM lParam) {
    auto *sent = reinterpret_cast<CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_ACTIVATE && LOWORD(sent->wParam) != WA_INACTIVE &&
        sent->hwnd == MainWindow)
        MainActivations.push_back(IsWindowVisible(sent->hwnd) != FALSE);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// The playlist's list asks for the focus when the panel opens at start-up;
// it (1061) has it once the station is shown, and the main window is activated
// only when it is on screen.
TEST_F(StartupTest, PlaylistListHasTheFocusOnceShownAndTheWindowIsActivatedShown) {
    WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=0\r\n"
                      "MIXDISPLAY=0\r\nMULTIDISPLAY=1\r\n");
    MainActivations.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordActivation, nullptr, GetCurrentThreadId());
    int result = Start();
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(result, StationRunning);
    ASSERT_NE(PlaylistPanel, nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(PlaylistPanel, 1061));
    ASSERT_FALSE(MainActivations.empty());
    for (bool shown : MainActivations)
        EXPECT_TRUE(shown) << "the main window was activated while hidden";
}
