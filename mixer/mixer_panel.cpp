// The mixer panel: a fader pair (or single fader) and a mute key for every
// channel the card has, the record-level pair of the selected source, the
// Lock key and the four source keys. Faders write the device at once; what
// the panel shows comes back from the device through the change tracker,
// which the main window runs for every mixer notification and which also
// keeps the 3D window and the WAVE panel's source indicators up to date.
#include "mixer/mixer_panel.h"

#include "mixer/mixer_access.h"
#include "panekit/resources/panel_ids.h"
#include "shell/control_names.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <initializer_list>
#include <iterator>

namespace {

constexpr UINT_PTR MasterPollTimer = 6;
constexpr UINT MasterPollMs = 250;
constexpr int LockKey = 1030;
constexpr int LoopKey = 9;
constexpr int LoopFader = 27;
constexpr int LoopFaderPosition = 48;
constexpr int SourceCaption = 1157;
constexpr int IDS_SOURCE = 552;
constexpr int CoarseScale = 4095; // 16 steps
constexpr int FineScale = 1023;   // 64 steps
constexpr int RecLeftFader = 25;
constexpr int RecRightFader = 26;
constexpr int MicFader = 22;
constexpr int MonoMuteKey = 40;
constexpr int MonoLabel = 1008;
constexpr int MonoFader = 28;
constexpr int BassFader = 1166;
constexpr int TrebleFader = 1167;
constexpr int WidthFader = 1168;
constexpr int EfxSwitchKey = 1070;

// The keys of sources 0 to 3 and their clickable labels.
const int SourceKeys[] = {7017, 7019, 7018, 7020};
const int SourceLabels[] = {10, 11, 12, 13};

struct Channel {
    int left, right; // faders; right 0 for a single fader
    int muteKey;     // 0 for none
    int label;
    DWORD MixerControls::*volume; // null: the level of the recording source
    DWORD MixerControls::*mute;
    int scale;
};

const Channel Channels[] = {
    {23, 24, 8, 1013, &MixerControls::MasterVolume, &MixerControls::MasterMute, CoarseScale},
    {16, 17, 4, 1012, &MixerControls::WaveVolume, &MixerControls::WaveMute, FineScale},
    {18, 19, 5, 1011, &MixerControls::FmVolume, &MixerControls::FmMute, FineScale},
    {14, 15, 3, 1010, &MixerControls::AuxVolume, &MixerControls::AuxMute, CoarseScale},
    {20, 21, 6, 1009, &MixerControls::LineVolume, &MixerControls::LineMute, CoarseScale},
    {29, 30, 41, 1014, &MixerControls::SoftSynthVolume, &MixerControls::SoftSynthMute, CoarseScale},
    {MicFader, 0, 7, 1007, &MixerControls::MicVolume, &MixerControls::MicMute, CoarseScale},
    {MonoFader, 0, MonoMuteKey, MonoLabel, &MixerControls::MonoInVolume, &MixerControls::MonoInMute,
     CoarseScale},
    {RecLeftFader, RecRightFader, 0, 1022, nullptr, nullptr, CoarseScale},
    {LoopFader, 0, LoopKey, 0, &MixerControls::LoopVolume, &MixerControls::LoopMute, FineScale},
};

const ControlPlace MixerPlaces[] = {
    {25, 147, 22, 17, 48},     {26, 166, 22, 19, 48},          {22, 200, 22, 19, 48},
    {20, 234, 22, 17, 48},     {21, 253, 22, 19, 48},          {14, 279, 22, 17, 48},
    {15, 298, 22, 19, 48},     {18, 324, 22, 17, 48},          {19, 343, 22, 19, 48},
    {16, 369, 22, 17, 48},     {17, 388, 22, 19, 48},          {29, 414, 22, 17, 48},
    {30, 433, 22, 19, 48},     {28, 466, 22, 19, 48},          {23, 499, 22, 17, 48},
    {24, 518, 22, 19, 48},     {IDC_POWER, 19, 18, 46, 18},    {LockKey, 19, 48, 46, 18},
    {LoopKey, 91, 71, 44, 11}, {SourceCaption, 97, 4, 53, 16}, {10, 110, 18, 40, 10},
    {11, 110, 28, 40, 10},     {12, 110, 38, 40, 10},          {13, 110, 48, 40, 10},
    {7017, 96, 20, 13, 7},     {7019, 96, 30, 13, 7},          {7018, 96, 40, 13, 7},
    {7020, 96, 50, 13, 7},     {1022, 151, 4, 33, 10},         {1007, 186, 4, 39, 16},
    {1009, 226, 4, 45, 16},    {1010, 274, 4, 37, 16},         {1011, 316, 4, 44, 16},
    {1012, 356, 4, 48, 16},    {1014, 402, 4, 49, 16},         {1008, 451, 4, 39, 16},
    {1013, 489, 4, 61, 16},    {7, 188, 71, 44, 11},           {6, 232, 71, 44, 11},
    {3, 276, 71, 44, 11},      {5, 322, 71, 44, 11},           {4, 362, 71, 44, 11},
    {41, 408, 71, 44, 11},     {40, 455, 71, 44, 11},          {8, 491, 71, 44, 11},
};

// What a missing control hides, and which source label then reads "----".
struct MissingRule {
    DWORD MixerControls::*slot;
    int windows[4];
    int deadLabel;
};

const MissingRule MissingRules[] = {
    {&MixerControls::MasterVolume, {8, 1013, 23, 24}, 0},
    {&MixerControls::FmVolume, {5, 1011, 18, 19}, 0},
    {&MixerControls::WaveVolume, {4, 1012, 16, 17}, 0},
    {&MixerControls::SoftSynthVolume, {41, 1014, 29, 30}, 0},
    {&MixerControls::MicVolume, {7, 1007, 22, 0}, 0},
    {&MixerControls::AuxVolume, {3, 1010, 14, 15}, 0},
    {&MixerControls::RecCdLevel, {3, 1010, 14, 15}, 10},
    {&MixerControls::RecLineLevel, {6, 1009, 20, 21}, 12},
    {&MixerControls::RecMicLevel, {0, 0, 0, 0}, 11},
    {&MixerControls::RecLoopLevel, {0, 0, 0, 0}, 13},
};

DWORD LastPolledMaster; // kept while the panel is closed
HBRUSH MixerPanelBrush; // behind the panel's static texts

// The panel's controls in the order of MixerPlaces, found once when the
// panel places them, so that filling and following it looks none up again.
HWND MixerHandles[std::size(MixerPlaces)];
HWND HandlesPanel;

// The index of a control in MixerPlaces, the table's size for none.
size_t PlaceOf(int id) {
    size_t i = 0;
    while (i < std::size(MixerPlaces) && MixerPlaces[i].id != id)
        ++i;
    return i;
}

HWND Control(HWND window, int id) {
    size_t place = PlaceOf(id);
    if (window == HandlesPanel && window != nullptr && place < std::size(MixerPlaces))
        return MixerHandles[place];
    return GetDlgItem(window, id);
}

DWORD VolumeOf(const Channel &channel) {
    return channel.volume != nullptr ? MixerControlMap.*channel.volume
                                     : RecordLevelOf(RecordSource);
}

DWORD MuteOf(const Channel &channel) {
    return channel.mute != nullptr ? MixerControlMap.*channel.mute : EmptyMixerSlot;
}

const Channel *ChannelOfFader(int id) {
    for (const Channel &channel : Channels)
        if (channel.left == id || (channel.right != 0 && channel.right == id))
            return &channel;
    return nullptr;
}

const Channel *ChannelOfMuteKey(int key) {
    for (const Channel &channel : Channels)
        if (channel.muteKey != 0 && channel.muteKey == key)
            return &channel;
    return nullptr;
}

const Channel *ChannelOfVolume(DWORD control) {
    if (control == EmptyMixerSlot)
        return nullptr;
    for (const Channel &channel : Channels)
        if (VolumeOf(channel) == control)
            return &channel;
    return nullptr;
}

const Channel *ChannelOfMute(DWORD control) {
    if (control == EmptyMixerSlot)
        return nullptr;
    for (const Channel &channel : Channels)
        if (MuteOf(channel) == control)
            return &channel;
    return nullptr;
}

// The control whose short window handle a notification of a key carries.
int KeyNamed(HWND panel, LPARAM lParam) {
    if (panel == HandlesPanel)
        for (size_t i = 0; i < std::size(MixerPlaces); ++i)
            if (MixerHandles[i] != nullptr &&
                LOWORD(reinterpret_cast<DWORD_PTR>(MixerHandles[i])) == LOWORD(lParam))
                return MixerPlaces[i].id;
    for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (LOWORD(reinterpret_cast<DWORD_PTR>(child)) == LOWORD(lParam))
            return GetDlgCtrlID(child);
    return 0;
}

LPARAM ShortHandleOf(HWND panel, int id) {
    return LOWORD(reinterpret_cast<DWORD_PTR>(Control(panel, id)));
}

void SetFader(HWND window, int id, DWORD value) {
    SendMessageA(Control(window, id), SVM_SETPOS, 0, MAKELPARAM(0, LOWORD(value)));
}

int FaderValue(HWND window, int id) {
    return LOWORD(SendMessageA(Control(window, id), SVM_GETPOS, 0, 0));
}

void Light(HWND window, int id, bool on) {
    SwitchControl(Control(window, id), on);
}

void Show(HWND window, int id, bool shown) {
    if (HWND control = Control(window, id))
        ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

// ---- what the panel shows ----

// A channel's faders from the device: the right one first, a single fader
// and a one-channel record level from channel 0.
void ShowLevel(HWND window, const Channel &channel, DWORD level) {
    bool oneChannel = VolumeOf(channel) == MixerControlMap.RecMicLevel;
    if (channel.right != 0)
        SetFader(window, channel.right,
                 (oneChannel ? LOWORD(level) : HIWORD(level)) / channel.scale);
    SetFader(window, channel.left, LOWORD(level) / channel.scale);
}

// A latched mute key and lit faders while the channel sounds.
void ShowMute(HWND panel, const Channel &channel, DWORD muted) {
    Light(panel, channel.muteKey, muted == 0);
    if (channel.muteKey == LoopKey)
        return;
    Light(panel, channel.left, muted == 0);
    if (channel.right != 0)
        Light(panel, channel.right, muted == 0);
}

// The source keys, key 9 and the loop mute for a selected source.
void ShowSourceKeys(HWND panel, int source) {
    for (int i = 0; i < 4; ++i)
        Light(panel, SourceKeys[i], i == source);
    if (source == RecordFromLoop)
        SendMessageA(panel, WM_COMMAND, NOTIFY_UNLATCHED, ShortHandleOf(panel, LoopKey));
    Show(panel, LoopKey, source != RecordFromLoop);
}

void SelectSource(HWND panel, int source) {
    ShowSourceKeys(panel, source);
    // The WAVE panel switches the device's selector.
    if (WavePanel != nullptr && source >= 0 && source <= RecordFromLoop)
        SendMessageA(WavePanel, WM_COMMAND, IDC_RECSOURCE, MAKELPARAM(0, source));
}

// ---- opening ----

// Marks, in the order of MixerPlaces, the windows of the channels that the
// device does not have, and of the mono input where it is switched off.
void MarkMissingChannels(bool (&missing)[std::size(MixerPlaces)]) {
    auto mark = [&missing](int id) {
        if (size_t place = PlaceOf(id); place < std::size(MixerPlaces))
            missing[place] = true;
    };
    for (const MissingRule &rule : MissingRules)
        if (!MixerControlExists(MixerControlMap.*rule.slot))
            for (int id : rule.windows)
                if (id != 0)
                    mark(id);
    if (!MixerControlExists(MixerControlMap.MonoInVolume) || MonoInOption == 0)
        for (int id : {MonoMuteKey, MonoLabel, MonoFader})
            mark(id);
}

// Places the controls and hides the missing channels' in the same pass.
void PlaceControls(HWND panel) {
    bool missing[std::size(MixerPlaces)] = {};
    MarkMissingChannels(missing);
    PlaceControls(panel, MixerPlaces, std::size(MixerPlaces), TRUE, MixerHandles, missing);
    HandlesPanel = panel;
    if (ShellGeneration != 95 && LanguageCode != LanguageJapanese)
        return;
    BOOL redraw = IsWindowVisible(panel);
    for (int id :
         {1022, 1007, 1008, 1010, 1009, 1011, 1012, 1014, 1013, 10, 11, 12, 13, SourceCaption})
        SendMessageA(Control(panel, id), WM_SETFONT, reinterpret_cast<WPARAM>(MixerFont), redraw);
}

// The source labels of the record levels that the device does not have.
void LabelMissingSources(HWND panel) {
    for (const MissingRule &rule : MissingRules)
        if (rule.deadLabel != 0 && !MixerControlExists(MixerControlMap.*rule.slot))
            SetWindowTextA(Control(panel, rule.deadLabel), "----");
}

void SetRanges(HWND panel) {
    for (int id = 14; id <= 30; ++id) {
        bool fine = id == 16 || id == 17 || id == 18 || id == 19 || id == LoopFader;
        SendMessageA(Control(panel, id), SVM_SETRANGE, 0, MAKELPARAM(0, fine ? 64 : 16));
    }
}

void ShowDevice(HWND panel) {
    for (const Channel &channel : Channels)
        if (channel.left != LoopFader)
            ShowLevel(panel, channel, ReadLevel(VolumeOf(channel)));
    SetFader(panel, LoopFader, LoopFaderPosition);
    for (const Channel &channel : Channels)
        if (channel.muteKey != 0 && channel.muteKey != LoopKey)
            ShowMute(panel, channel, ReadSwitch(MuteOf(channel)));
}

BOOL OnInitDialog(HWND panel) {
    ApplyControlNames(panel, NamedPanel::Mixer);
    PlaceControls(panel);
    SetWindowTextA(Control(panel, SourceCaption), Text(IDS_SOURCE));
    Light(panel, RecLeftFader, true);
    Light(panel, RecRightFader, true);
    LabelMissingSources(panel);
    MixerPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    if (LockOption == 1)
        Light(panel, LockKey, true);
    SetRanges(panel);
    Light(panel, LoopKey, ReadSwitch(MixerControlMap.LoopMute) == 0);
    RecordSource = ReadRecordSource();
    SelectSource(panel, RecordSource);
    ShowDevice(panel);
    if (SetTimer(panel, MasterPollTimer, MasterPollMs, nullptr) == 0)
        MessageBoxA(panel, Text(IDS_CANT_GET_TIMER), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

// ---- the user ----

void OnFaderMoved(HWND panel, HWND slider) {
    int id = GetDlgCtrlID(slider);
    const Channel *channel = ChannelOfFader(id);
    if (channel == nullptr)
        return;
    DWORD slot = VolumeOf(*channel);
    bool linked = channel->right != 0 && (LockOption == 1 || slot == MixerControlMap.RecMicLevel);
    int partner = id == channel->left ? channel->right : channel->left;
    if (linked)
        SendMessageA(Control(panel, partner), SVM_MOVEBY,
                     static_cast<WPARAM>(GetWindowLongA(slider, SVL_VALUESTEP)),
                     GetWindowLongA(slider, SVL_PIXELSTEP));
    DWORD left = static_cast<DWORD>(FaderValue(panel, channel->left)) * channel->scale;
    DWORD right = channel->right != 0
                      ? static_cast<DWORD>(FaderValue(panel, channel->right)) * channel->scale
                      : 0;
    WriteLevel(slot, MAKELONG(left, right));
    if (WavePanel == nullptr || (id != RecLeftFader && id != RecRightFader && id != MicFader))
        return;
    // The WAVE panel keeps hidden twins of the record and microphone faders.
    SetFader(WavePanel, id, static_cast<DWORD>(FaderValue(panel, id)));
    if (linked)
        SetFader(WavePanel, partner, static_cast<DWORD>(FaderValue(panel, partner)));
}

void OnKeyLatch(HWND panel, LPARAM lParam, bool latched) {
    int key = KeyNamed(panel, lParam);
    if (key == LockKey) {
        LockOption = latched ? 1 : 0;
        return;
    }
    if (const Channel *channel = ChannelOfMuteKey(key))
        WriteSwitch(MuteOf(*channel), !latched); // a latched key sounds
}

void ClosePanel(HWND panel) {
    RemovePanel(panel, PanelSlotHeight);
    DestroyWindow(panel);
    MixerPanel = nullptr;
    SetLauncherKey(IDC_SHOW_MIXER, false);
}

int SourceOfCommand(int id, int code) {
    for (int i = 0; i < 4; ++i)
        if (id == SourceKeys[i] || (id == SourceLabels[i] && code == STN_CLICKED))
            return i;
    return -1;
}

BOOL OnCommand(HWND panel, WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    switch (id) {
    case NOTIFY_LATCHED: OnKeyLatch(panel, lParam, true); return TRUE;
    case NOTIFY_UNLATCHED: OnKeyLatch(panel, lParam, false); return TRUE;
    case IDC_POWER: ClosePanel(panel); return TRUE;
    default: break;
    }
    int source = SourceOfCommand(id, HIWORD(wParam));
    if (source >= 0)
        SelectSource(panel, source);
    return TRUE;
}

// Wine's own mixer tells nobody of a change: the master level is polled so
// that its faders follow whatever sets it.
void OnPollTimer() {
    DWORD level = ReadLevel(MixerControlMap.MasterVolume);
    if (level == LastPolledMaster)
        return;
    LastPolledMaster = level;
    SendMessageA(MainWindow, MM_MIXM_CONTROL_CHANGE, 0,
                 static_cast<LPARAM>(MixerControlMap.MasterVolume));
}

BOOL OnDestroy(HWND panel) {
    KillTimer(panel, MasterPollTimer);
    DeleteObject(MixerPanelBrush);
    MixerPanelBrush = nullptr;
    HandlesPanel = nullptr;
    return FALSE;
}

// ---- the tracker ----

struct PickedFader {
    HWND window;
    int id;
    int scale;
};

// The 3D window's fader of a tone or 3D control, 0 for none.
int EfxFaderOf(DWORD control) {
    const MixerControls &map = MixerControlMap;
    if (control == map.ToneBass)
        return BassFader;
    if (control == map.ToneTreble)
        return TrebleFader;
    if (control == map.EfxWide)
        return WidthFader;
    return 0;
}

void ShowEfxSwitch(DWORD value) {
    Light(EfxWindow, EfxSwitchKey, value != 1);
    Light(EfxWindow, WidthFader, value == 0);
}

// The recording selector changed: the source keys and the WAVE panel's
// indicators follow, and the record pair shows the new source's level.
const Channel *FollowRecordSource() {
    RecordSource = ReadRecordSource();
    if (WavePanel != nullptr)
        SelectSourceIndicator(WavePanel, SourceIndicatorOf(RecordSource));
    if (MixerPanel == nullptr)
        return nullptr;
    ShowSourceKeys(MixerPanel, RecordSource);
    return ChannelOfFader(RecLeftFader);
}

} // namespace

INT_PTR CALLBACK MixerPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(panel);
    case WM_PAINT: PaintPanel(panel, MixerBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(MixerPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(MixerPanelBrush);
    case WM_COMMAND: return OnCommand(panel, wParam, lParam);
    case SVM_POSCHANGED:
        if (LOWORD(wParam) == SVN_CHANGED)
            OnFaderMoved(panel, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == MasterPollTimer)
            OnPollTimer();
        return TRUE;
    case WM_DESTROY: return OnDestroy(panel);
    default: return FALSE;
    }
}

void TrackMixerChange(DWORD control) {
    const Channel *shown = MixerPanel != nullptr ? ChannelOfVolume(control) : nullptr;
    int efxFader = EfxWindow != nullptr ? EfxFaderOf(control) : 0;
    if (shown == nullptr && efxFader == 0) {
        if (control == MixerControlMap.RecSelector) {
            shown = FollowRecordSource();
            control = RecordLevelOf(RecordSource);
        } else {
            DWORD value = ReadSwitch(control);
            const Channel *muted = MixerPanel != nullptr ? ChannelOfMute(control) : nullptr;
            if (muted != nullptr)
                ShowMute(MixerPanel, *muted, value);
            if (control == MixerControlMap.EfxSwitch && EfxWindow != nullptr)
                ShowEfxSwitch(value);
        }
    }
    if (shown == nullptr && efxFader == 0)
        return;
    DWORD level = ReadLevel(control);
    if (shown != nullptr)
        ShowLevel(MixerPanel, *shown, level);
    if (efxFader != 0)
        SetFader(EfxWindow, efxFader, LOWORD(level) / CoarseScale);
}
