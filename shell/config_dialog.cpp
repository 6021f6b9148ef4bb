// The configuration dialog on template "CONFIG": auto play, the display
// mode and the components opened at start-up, the recording mode and format
// of new WAVE recordings, and whether the mixer shows its Mono channel. The
// live values change while the dialog is open; OK writes the settings file,
// Cancel puts the live values back as they were.
#include "shell/config_dialog.h"

#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <windows.h>

#include <initializer_list>

namespace {

constexpr int IDC_AUTOPLAY_ON = 1073;
constexpr int IDC_AUTOPLAY_OFF = 1074;
constexpr int IDC_SELECT = 1075;
constexpr int IDC_NOW_PLAYING = 1076;
constexpr int IDC_WAVE_COMPONENT = 1070;
constexpr int IDC_MIDI_COMPONENT = 1071;
constexpr int IDC_CD_COMPONENT = 1072;
constexpr int IDC_MIX_COMPONENT = 1077;
constexpr int IDC_VIDEO_COMPONENT = 1078;
constexpr int IDC_MONO = 300;
constexpr int IDC_STEREO = 301;
constexpr int IDC_11025 = 302;
constexpr int IDC_22050 = 303;
constexpr int IDC_44100 = 304;
constexpr int IDC_8BIT = 305;
constexpr int IDC_16BIT = 306;
constexpr int IDC_OVERWRITE = 307;
constexpr int IDC_APPEND = 308;
constexpr int IDC_NEW = 309;
constexpr int IDC_MONO_IN = 1015;
constexpr int IDC_CD_DETECT_GROUP = 1016;
constexpr int IDC_CD_DETECT = 1017;

// The mixer panel's Mono channel: its mute key, label and fader.
constexpr int MonoChannelControls[] = {40, 1008, 28};

constexpr int IDS_CONFIG = 528;
constexpr int IDS_NOTICE = 570;
constexpr int IDS_MONO_IN = 573;

constexpr int RecordOverwrite = 0;
constexpr int RecordAppend = 1;
constexpr int RecordNew = 2;

struct Label {
    int id, text;
};

const Label Labels[] = {
    {1122, 501},
    {IDC_AUTOPLAY_ON, 502},
    {IDC_AUTOPLAY_OFF, 503},
    {7000, 504},
    {IDC_SELECT, 505},
    {IDC_NOW_PLAYING, 506},
    {7001, 507},
    {IDC_WAVE_COMPONENT, 508},
    {IDC_MIDI_COMPONENT, 509},
    {IDC_CD_COMPONENT, 510},
    {IDC_MIX_COMPONENT, 511},
    {7002, 512},
    {7006, 513},
    {IDC_NEW, 514},
    {IDC_OVERWRITE, 515},
    {IDC_APPEND, 516},
    {7005, 517},
    {IDC_11025, 518},
    {IDC_22050, 519},
    {IDC_44100, 520},
    {209, 521},
    {IDC_MONO, 522},
    {IDC_STEREO, 523},
    {7004, 524},
    {IDC_8BIT, 525},
    {IDC_16BIT, 526},
    {7003, 527},
    {7007, IDS_NOTICE},
    {IDC_MONO_IN, IDS_MONO_IN},
};

// The format of new recordings, kept by this dialog alone.
int Channels;   // 1 mono, 2 stereo
int Bits;       // 8, 16
int SampleRate; // 11025, 22050, 44100

// The live values as they were at opening, for Cancel.
DisplaySettings KeptDisplay;
int KeptRecordMode;

void Enable(HWND dialog, std::initializer_list<int> ids, bool on) {
    for (int id : ids)
        EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

void EnableFormat(HWND dialog, bool on) {
    Enable(dialog, {IDC_MONO, IDC_STEREO, IDC_11025, IDC_22050, IDC_44100, IDC_8BIT, IDC_16BIT},
           on);
}

void EnableComponents(HWND dialog, bool on) {
    Enable(dialog,
           {IDC_WAVE_COMPONENT, IDC_MIDI_COMPONENT, IDC_CD_COMPONENT, IDC_MIX_COMPONENT,
            IDC_VIDEO_COMPONENT},
           on);
}

void EnableDisplayMode(HWND dialog, bool on) {
    Enable(dialog, {IDC_SELECT, IDC_NOW_PLAYING}, on);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// ---- opening ----

// Every value stands for the choice that shows checked, so that what OK
// writes is what the user saw, whatever the file held.
void ShowFormat(HWND dialog) {
    Channels = ReadSettingInt("Mixer", "Mono", 1) == 1 ? 1 : 2;
    CheckRadioButton(dialog, IDC_MONO, IDC_STEREO, Channels == 1 ? IDC_MONO : IDC_STEREO);
    Bits = ReadSettingInt("Mixer", "Bits", 8) == 8 ? 8 : 16;
    CheckRadioButton(dialog, IDC_8BIT, IDC_16BIT, Bits == 8 ? IDC_8BIT : IDC_16BIT);
    SampleRate = ReadSettingInt("Mixer", "SampleRate", 22050);
    if (SampleRate != 22050 && SampleRate != 44100)
        SampleRate = 11025;
    CheckRadioButton(dialog, IDC_11025, IDC_44100,
                     SampleRate == 22050   ? IDC_22050
                     : SampleRate == 44100 ? IDC_44100
                                           : IDC_11025);
}

void ShowRecordMode(HWND dialog) {
    if (WaveRecordMode != RecordOverwrite && WaveRecordMode != RecordAppend)
        WaveRecordMode = RecordNew;
    CheckRadioButton(dialog, IDC_OVERWRITE, IDC_NEW,
                     WaveRecordMode == RecordOverwrite ? IDC_OVERWRITE
                     : WaveRecordMode == RecordAppend  ? IDC_APPEND
                                                       : IDC_NEW);
    EnableFormat(dialog, WaveRecordMode == RecordNew);
}

void ShowStartUp(HWND dialog) {
    Check(dialog, IDC_WAVE_COMPONENT, Display.waveDisplay != 0);
    Check(dialog, IDC_MIDI_COMPONENT, Display.midiDisplay != 0);
    Check(dialog, IDC_CD_COMPONENT, Display.cdDisplay != 0);
    Check(dialog, IDC_MIX_COMPONENT, Display.mixDisplay != 0);
    Check(dialog, IDC_VIDEO_COMPONENT, Display.videoDisplay != 0);
    Display.selectable = Display.selectable == 1 ? 1 : 0;
    CheckRadioButton(dialog, IDC_SELECT, IDC_NOW_PLAYING,
                     Display.selectable == 1 ? IDC_SELECT : IDC_NOW_PLAYING);
    Display.autoPlay = Display.autoPlay != 0 ? 1 : 0;
    CheckRadioButton(dialog, IDC_AUTOPLAY_ON, IDC_AUTOPLAY_OFF,
                     Display.autoPlay == 1 ? IDC_AUTOPLAY_ON : IDC_AUTOPLAY_OFF);
    EnableDisplayMode(dialog, Display.autoPlay == 1);
    EnableComponents(dialog, Display.autoPlay == 1 && Display.selectable == 1);
}

BOOL OnInitDialog(HWND dialog) {
    KeptDisplay = Display;
    KeptRecordMode = WaveRecordMode;
    SetWindowTextA(dialog, Text(IDS_CONFIG));
    for (const Label &label : Labels)
        SetDlgItemTextA(dialog, label.id, Text(label.text));
    for (int id : {IDC_CD_DETECT_GROUP, IDC_CD_DETECT})
        ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    ShowFormat(dialog);
    Check(dialog, IDC_MONO_IN, MonoInOption != 0);
    Check(dialog, IDC_CD_DETECT, ReadSettingInt("Mixer", "CDAutoPlay", 0) != 0);
    ShowRecordMode(dialog);
    ShowStartUp(dialog);
    return TRUE;
}

// ---- choices ----

void FlipComponent(HWND dialog, int id, int *flag) {
    *flag = *flag == 0 ? 1 : 0;
    Check(dialog, id, *flag != 0);
}

void ChooseAutoPlay(HWND dialog, bool on) {
    CheckRadioButton(dialog, IDC_AUTOPLAY_ON, IDC_AUTOPLAY_OFF,
                     on ? IDC_AUTOPLAY_ON : IDC_AUTOPLAY_OFF);
    Display.autoPlay = on ? 1 : 0;
    EnableDisplayMode(dialog, on);
    EnableComponents(dialog, on && Display.selectable == 1);
}

void ChooseDisplayMode(HWND dialog, int mode) {
    CheckRadioButton(dialog, IDC_SELECT, IDC_NOW_PLAYING, mode == 1 ? IDC_SELECT : IDC_NOW_PLAYING);
    Display.selectable = mode;
    EnableComponents(dialog, mode == 1);
}

void ChooseRecordMode(HWND dialog, int mode) {
    WaveRecordMode = mode;
    EnableFormat(dialog, mode == RecordNew);
}

// ---- leaving ----

void ShowMonoChannel(bool shown) {
    if (MixerPanel == nullptr)
        return;
    for (int id : MonoChannelControls)
        ShowWindow(GetDlgItem(MixerPanel, id), shown ? SW_SHOW : SW_HIDE);
}

int CheckState(HWND dialog, int id) {
    return Checked(dialog, id) ? 1 : 0;
}

void OnOk(HWND dialog) {
    int mark = SettingsWriteMark();
    WriteSettingInt("Mixer", "RECMODE", WaveRecordMode);
    // Appending keeps the format of the file appended to.
    if (WaveRecordMode != RecordAppend) {
        WriteSettingInt("Mixer", "Mono", Channels);
        WriteSettingInt("Mixer", "Bits", Bits);
        WriteSettingInt("Mixer", "SampleRate", SampleRate);
    }
    WriteSettingInt("Mixer", "AUTOPLAY", Display.autoPlay);
    WriteSettingInt("Mixer", "SELECTABLE", Display.selectable);
    Display.waveDisplay = CheckState(dialog, IDC_WAVE_COMPONENT);
    Display.midiDisplay = CheckState(dialog, IDC_MIDI_COMPONENT);
    Display.cdDisplay = CheckState(dialog, IDC_CD_COMPONENT);
    Display.mixDisplay = CheckState(dialog, IDC_MIX_COMPONENT);
    Display.videoDisplay = CheckState(dialog, IDC_VIDEO_COMPONENT);
    WriteSettingInt("Mixer", "WAVEDISPLAY", Display.waveDisplay);
    WriteSettingInt("Mixer", "MIDIDISPLAY", Display.midiDisplay);
    WriteSettingInt("Mixer", "CDDISPLAY", Display.cdDisplay);
    WriteSettingInt("Mixer", "MIXDISPLAY", Display.mixDisplay);
    WriteSettingInt("Mixer", "VIDEODISPLAY", Display.videoDisplay);
    WriteSettingInt("Mixer", "CDAutoPlay", CheckState(dialog, IDC_CD_DETECT));
    MonoInOption = CheckState(dialog, IDC_MONO_IN);
    ShowMonoChannel(MonoInOption != 0);
    // Over a failed write the dialog stays, with the choices as they are.
    if (!ReportSettingsWritesSince(mark, dialog))
        EndDialog(dialog, 0);
}

void OnCancel(HWND dialog) {
    Display = KeptDisplay;
    WaveRecordMode = KeptRecordMode;
    EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, WPARAM command) {
    switch (command) {
    case IDC_WAVE_COMPONENT: FlipComponent(dialog, IDC_WAVE_COMPONENT, &Display.waveDisplay); break;
    case IDC_MIDI_COMPONENT: FlipComponent(dialog, IDC_MIDI_COMPONENT, &Display.midiDisplay); break;
    case IDC_CD_COMPONENT: FlipComponent(dialog, IDC_CD_COMPONENT, &Display.cdDisplay); break;
    case IDC_MIX_COMPONENT: FlipComponent(dialog, IDC_MIX_COMPONENT, &Display.mixDisplay); break;
    case IDC_AUTOPLAY_ON: ChooseAutoPlay(dialog, true); break;
    case IDC_AUTOPLAY_OFF: ChooseAutoPlay(dialog, false); break;
    case IDC_SELECT: ChooseDisplayMode(dialog, 1); break;
    case IDC_NOW_PLAYING: ChooseDisplayMode(dialog, 0); break;
    case IDC_MONO: Channels = 1; break;
    case IDC_STEREO: Channels = 2; break;
    case IDC_11025: SampleRate = 11025; break;
    case IDC_22050: SampleRate = 22050; break;
    case IDC_44100: SampleRate = 44100; break;
    case IDC_8BIT: Bits = 8; break;
    case IDC_16BIT: Bits = 16; break;
    case IDC_OVERWRITE: ChooseRecordMode(dialog, RecordOverwrite); break;
    case IDC_APPEND: ChooseRecordMode(dialog, RecordAppend); break;
    case IDC_NEW: ChooseRecordMode(dialog, RecordNew); break;
    case IDOK: OnOk(dialog); break;
    case IDCANCEL: OnCancel(dialog); break;
    default: break;
    }
    return FALSE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, wParam);
    default: return FALSE;
    }
}

} // namespace

void RunConfigDialog() {
    DialogBoxParamA(LibraryInstance, "CONFIG", MainWindow, ConfigDialogProc, 0);
}
