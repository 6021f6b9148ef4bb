// One table of every named control: panel, control id, the string of its
// name, and whether Tab reaches it. Within a panel the rows are in reading
// order, which is the order of Tab.
#include "shell/control_names.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"

#include <cstring>

namespace {

constexpr bool Key = true;    // a key or fader: Tab reaches it
constexpr bool Shown = false; // a light or a list: named only

constexpr int CdDoor = 1014;
constexpr int CdNameKey = 4038;
constexpr int CdRepeat = 4034;
constexpr int EntryList = 1061;
constexpr int NameSize = 128;

struct ControlName {
    NamedPanel panel;
    int id;
    int name;
    bool tabStop;
};

using P = NamedPanel;

const ControlName ControlNames[] = {
    // The launcher bar, left to right; the VIDEO key stays hidden.
    {P::Launcher, IDC_SHOW_WAVE, IDS_NAME_WAVE_PANEL, Key},
    {P::Launcher, IDC_SHOW_MIDI, IDS_NAME_MIDI_PANEL, Key},
    {P::Launcher, IDC_SHOW_CD, IDS_NAME_CD_PANEL, Key},
    {P::Launcher, IDC_SHOW_MIXER, IDS_NAME_MIXER_PANEL, Key},
    {P::Launcher, IDC_SHOW_PLAYLIST, IDS_NAME_PLAYLIST_PANEL, Key},
    {P::Launcher, IDC_CONFIG, IDS_NAME_CONFIGURATION, Key},
    {P::Launcher, IDC_EDIT_PLAYLIST, IDS_NAME_PLAYLIST_EDITOR, Key},
    {P::Launcher, IDC_EFX, IDS_NAME_EFX_WINDOW, Key},
    {P::Launcher, IDC_SHOW_VIDEO, IDS_NAME_VIDEO_PANEL, Key},

    // CD: the left keys, the transport, the right keys.
    {P::Cd, IDC_POWER, IDS_NAME_POWER, Key},
    {P::Cd, CdDoor, IDS_NAME_EJECT, Key},
    {P::Cd, IDC_REWSKIP, IDS_NAME_PREVIOUS_TRACK, Key},
    {P::Cd, IDC_REW, IDS_NAME_REWIND, Key},
    {P::Cd, IDC_STOP, IDS_NAME_STOP, Key},
    {P::Cd, IDC_PLAY, IDS_NAME_PLAY, Key},
    {P::Cd, IDC_PAUSE, IDS_NAME_PAUSE, Key},
    {P::Cd, IDC_FF, IDS_NAME_FAST_FORWARD, Key},
    {P::Cd, IDC_FFSKIP, IDS_NAME_NEXT_TRACK, Key},
    {P::Cd, CdNameKey, IDS_NAME_NAME_CD, Key},
    {P::Cd, CdRepeat, IDS_NAME_REPEAT, Key},

    {P::Midi, IDC_POWER, IDS_NAME_POWER, Key},
    {P::Midi, IDC_OPEN, IDS_NAME_OPEN, Key},
    {P::Midi, IDC_REWSKIP, IDS_NAME_BACK_TO_START, Key},
    {P::Midi, IDC_REW, IDS_NAME_REWIND, Key},
    {P::Midi, IDC_STOP, IDS_NAME_STOP, Key},
    {P::Midi, IDC_PLAY, IDS_NAME_PLAY, Key},
    {P::Midi, IDC_PAUSE, IDS_NAME_PAUSE, Key},
    {P::Midi, IDC_FF, IDS_NAME_FAST_FORWARD, Key},
    {P::Midi, IDC_FFSKIP, IDS_NAME_NEXT_TRACK, Key},

    // WAVE: the lock key and the faders mirror the mixer and stay hidden.
    {P::Wave, IDC_POWER, IDS_NAME_POWER, Key},
    {P::Wave, IDC_OPEN, IDS_NAME_OPEN, Key},
    {P::Wave, IDC_REWSKIP, IDS_NAME_BACK_TO_START, Key},
    {P::Wave, IDC_REW, IDS_NAME_REWIND, Key},
    {P::Wave, IDC_STOP, IDS_NAME_STOP, Key},
    {P::Wave, IDC_PLAY, IDS_NAME_PLAY, Key},
    {P::Wave, IDC_PAUSE, IDS_NAME_PAUSE, Key},
    {P::Wave, IDC_FF, IDS_NAME_FAST_FORWARD, Key},
    {P::Wave, IDC_RECORD, IDS_NAME_RECORD, Key},
    {P::Wave, IDC_RECSOURCE, IDS_NAME_NEXT_SOURCE, Key},
    {P::Wave, IDC_WAVELOCK, IDS_NAME_LOCK, Key},
    {P::Wave, 25, IDS_NAME_REC_LEFT, Key},
    {P::Wave, 26, IDS_NAME_REC_RIGHT, Key},
    {P::Wave, 22, IDS_NAME_MIC_VOLUME, Key},
    {P::Wave, 4018, IDS_NAME_SOURCE_CD, Shown},
    {P::Wave, 4020, IDS_NAME_SOURCE_MIC, Shown},
    {P::Wave, 4016, IDS_NAME_SOURCE_LINE, Shown},
    {P::Wave, 4022, IDS_NAME_SOURCE_LOOP, Shown},

    {P::Video, IDC_POWER, IDS_NAME_POWER, Key},
    {P::Video, IDC_VIDEOWINDOW, IDS_NAME_OWN_WINDOW, Key},
    {P::Video, IDC_OPEN, IDS_NAME_OPEN, Key},
    {P::Video, IDC_REWSKIP, IDS_NAME_BACK_TO_START, Key},
    {P::Video, IDC_REW, IDS_NAME_REWIND, Key},
    {P::Video, IDC_STOP, IDS_NAME_STOP, Key},
    {P::Video, IDC_PLAY, IDS_NAME_PLAY, Key},
    {P::Video, IDC_PAUSE, IDS_NAME_PAUSE, Key},
    {P::Video, IDC_FF, IDS_NAME_FAST_FORWARD, Key},
    {P::Video, IDC_FFSKIP, IDS_NAME_NEXT_TRACK, Key},

    {P::Playlist, IDC_POWER, IDS_NAME_POWER, Key},
    {P::Playlist, IDC_REWSKIP, IDS_NAME_PREVIOUS_TRACK, Key},
    {P::Playlist, IDC_REW, IDS_NAME_REWIND, Key},
    {P::Playlist, IDC_STOP, IDS_NAME_STOP, Key},
    {P::Playlist, IDC_PLAY, IDS_NAME_PLAY, Key},
    {P::Playlist, IDC_PAUSE, IDS_NAME_PAUSE, Key},
    {P::Playlist, IDC_FF, IDS_NAME_FAST_FORWARD, Key},
    {P::Playlist, IDC_FFSKIP, IDS_NAME_NEXT_TRACK, Key},
    {P::Playlist, EntryList, IDS_NAME_ENTRIES, Shown},
    {P::Playlist, 113, IDS_NAME_PLAYING_WAVE, Shown},
    {P::Playlist, 4012, IDS_NAME_PLAYING_MIDI, Shown},
    {P::Playlist, 4009, IDS_NAME_PLAYING_CD, Shown},
    {P::Playlist, 4045, IDS_NAME_PLAYING_VIDEO, Shown},

    // Mixer: the left keys, the sources, then channel by channel its faders
    // and its mute key.
    {P::Mixer, IDC_POWER, IDS_NAME_POWER, Key},
    {P::Mixer, 1030, IDS_NAME_LOCK, Key},
    {P::Mixer, 7017, IDS_NAME_SOURCE_CD, Key},
    {P::Mixer, 7019, IDS_NAME_SOURCE_MIC, Key},
    {P::Mixer, 7018, IDS_NAME_SOURCE_LINE, Key},
    {P::Mixer, 7020, IDS_NAME_SOURCE_LOOP, Key},
    {P::Mixer, 9, IDS_NAME_MUTE_LOOP, Key},
    {P::Mixer, 25, IDS_NAME_REC_LEFT, Key},
    {P::Mixer, 26, IDS_NAME_REC_RIGHT, Key},
    {P::Mixer, 22, IDS_NAME_MIC_VOLUME, Key},
    {P::Mixer, 7, IDS_NAME_MUTE_MIC, Key},
    {P::Mixer, 20, IDS_NAME_LINE_LEFT, Key},
    {P::Mixer, 21, IDS_NAME_LINE_RIGHT, Key},
    {P::Mixer, 6, IDS_NAME_MUTE_LINE, Key},
    {P::Mixer, 14, IDS_NAME_CD_LEFT, Key},
    {P::Mixer, 15, IDS_NAME_CD_RIGHT, Key},
    {P::Mixer, 3, IDS_NAME_MUTE_CD, Key},
    {P::Mixer, 18, IDS_NAME_SYNTH_LEFT, Key},
    {P::Mixer, 19, IDS_NAME_SYNTH_RIGHT, Key},
    {P::Mixer, 5, IDS_NAME_MUTE_SYNTH, Key},
    {P::Mixer, 16, IDS_NAME_WAVE_LEFT, Key},
    {P::Mixer, 17, IDS_NAME_WAVE_RIGHT, Key},
    {P::Mixer, 4, IDS_NAME_MUTE_WAVE, Key},
    {P::Mixer, 29, IDS_NAME_SOFT_SYNTH_LEFT, Key},
    {P::Mixer, 30, IDS_NAME_SOFT_SYNTH_RIGHT, Key},
    {P::Mixer, 41, IDS_NAME_MUTE_SOFT_SYNTH, Key},
    {P::Mixer, 28, IDS_NAME_MONO_VOLUME, Key},
    {P::Mixer, 40, IDS_NAME_MUTE_MONO, Key},
    {P::Mixer, 23, IDS_NAME_MASTER_LEFT, Key},
    {P::Mixer, 24, IDS_NAME_MASTER_RIGHT, Key},
    {P::Mixer, 8, IDS_NAME_MUTE_MASTER, Key},
    {P::Mixer, 27, IDS_NAME_LOOP_VOLUME, Key},

    // The 3D window: the presets, MANUAL, its faders, the 3D switch.
    {P::Efx, 1161, IDS_NAME_HALL1, Key},
    {P::Efx, 1162, IDS_NAME_HALL2, Key},
    {P::Efx, 1163, IDS_NAME_CHURCH, Key},
    {P::Efx, 1164, IDS_NAME_DISCO, Key},
    {P::Efx, 1165, IDS_NAME_MANUAL, Key},
    {P::Efx, 1167, IDS_NAME_TREBLE, Key},
    {P::Efx, 1166, IDS_NAME_BASS, Key},
    {P::Efx, 1168, IDS_NAME_WIDTH, Key},
    {P::Efx, 1070, IDS_NAME_EFX_SWITCH, Key},
};

// The panel a window is, by the station's handles; false for any other.
bool NamedPanelOf(HWND window, NamedPanel *which) {
    const struct {
        HWND panel;
        NamedPanel which;
    } panels[] = {
        {LauncherBar, P::Launcher}, {CdPanel, P::Cd},       {MidiPanel, P::Midi},
        {WavePanel, P::Wave},       {VideoPanel, P::Video}, {PlaylistPanel, P::Playlist},
        {MixerPanel, P::Mixer},     {EfxWindow, P::Efx},
    };
    for (const auto &panel : panels)
        if (window != nullptr && panel.panel == window) {
            *which = panel.which;
            return true;
        }
    return false;
}

} // namespace

void ApplyControlNames(HWND panel, NamedPanel which) {
    for (const ControlName &row : ControlNames) {
        if (row.panel != which)
            continue;
        HWND control = GetDlgItem(panel, row.id);
        char name[NameSize];
        if (control == nullptr || LoadStringA(LibraryInstance, row.name, name, sizeof name) <= 0)
            continue;
        char shown[NameSize] = "";
        SendMessageA(control, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
        if (std::strcmp(shown, name) != 0)
            SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    }
}

int TabStopsOf(HWND panel, int (&ids)[MaxTabStops]) {
    NamedPanel which;
    if (!NamedPanelOf(panel, &which))
        return 0;
    int count = 0;
    for (const ControlName &row : ControlNames)
        if (row.panel == which && row.tabStop && count < MaxTabStops)
            ids[count++] = row.id;
    return count;
}
